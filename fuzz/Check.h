#pragma once
// A broken invariant stops the fuzzer with the condition named, so the crash report says what
// went wrong and not only where.

#include <cstdio>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            __builtin_trap();                                                                      \
        }                                                                                          \
    } while (0)
