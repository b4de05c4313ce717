#pragma once
// What the command line's exit status says. Several ports end with the highest of their codes.

namespace cli {

enum ExitCode : int {
    kDone = 0,
    kDifferent = 1,   // a compare found differences, or --changed-only could not trust what a
                      // scale is known to hold (nothing sent)
    kUsage = 2,       // the command line is wrong
    kBadFile = 3,     // a list file that cannot be used (nothing sent), or an output not written
    kNoPort = 4,      // the port cannot be opened
    kLinkFailed = 5,  // no answer, a stall, a hang-up
    kRefused = 6,     // the scale refused a command or a record
    kHub = 7,         // the hub cannot be reached, refuses the credentials or answers with an
                      // error (sync: nothing sent to any scale then)
    kStopped = 130,   // SIGINT or SIGTERM, after the record under way
};

inline int Worst(int a, int b) {
    return a > b ? a : b;
}

}  // namespace cli
