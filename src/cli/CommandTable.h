#pragma once
// The command line's commands, one row each in a table, and the arguments read through it:
// dispatch, the help and the check of options know of a command only what its row says.

#include <QStringList>
#include <optional>
#include <string>

#include "Output.h"
#include "Settings.h"

namespace cli {

struct Parsed {
    std::optional<Settings> settings;  // set when a command is to run
    int exitCode = 0;                  // otherwise: 0 after help or version, 2 on a usage error
    std::string text;                  // what to print instead: help, version or the error
    int (*run)(const Settings& settings, Output& output) = nullptr;  // the command's
};

// arguments[0] is the program's name.
Parsed ParseArguments(const QStringList& arguments);

}  // namespace cli
