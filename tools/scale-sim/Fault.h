#pragma once
// Faults the scale can be told to make at a chosen exchange and step.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "Exchange.h"

namespace sim {

enum class Action {
    Silence,  // send nothing at this step; the exchange is abandoned
    Byte,     // send `byte` in place of the answer (Ready, Accept, Closing)
    Refuse,   // answer the number check with 0 (NumberCheck)
    Stall,    // stop after `afterBytes` record bytes: for good, or for `stallMs` (Record)
    HangUp,   // close the line after `afterBytes` record bytes (Record)
};

struct Fault {
    Kind kind = Kind::Any;
    // The n-th exchange of `kind` since the fault was injected, 1 first; 0 matches every one.
    // At Step::Ready the command is not known yet, so there `kind` must be Any, which counts
    // request bytes.
    int occurrence = 0;
    // The item number the PC sent (PLU, message or request number); 0 matches any. Usable only
    // from Step::NumberCheck on.
    int number = 0;
    Step step = Step::Ready;
    Action action = Action::Silence;
    std::uint8_t byte = 0x15;
    std::size_t afterBytes = 0;
    int stallMs = 0;
    bool persistent = false;  // otherwise it fires once
};

// A scale without messages: no answer at all to the command byte 0x00.
Fault NoMessages();

// Throws std::invalid_argument for a fault that could never fire as described.
void CheckFault(const Fault& fault);

// The injected faults with their counters. Not thread-safe; the owner locks.
class FaultBook {
  public:
    void Add(const Fault& fault);
    void Clear() { entries_.clear(); }
    // A new exchange of this kind has begun (Kind::Any: a request byte arrived).
    void Count(Kind kind);
    // The fault to make at this step, if any; a one-shot fault is used up.
    std::optional<Fault> Take(Kind kind, Step step, int number);

  private:
    struct Entry {
        Fault fault;
        int seen = 0;
        bool used = false;
    };
    std::vector<Entry> entries_;
};

}  // namespace sim
