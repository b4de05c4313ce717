#pragma once
// The command line's arguments into Settings, or what to print and the exit code instead.

#include <QStringList>
#include <optional>
#include <string>

#include "CommandTable.h"
#include "Settings.h"

namespace cli {

struct Parsed {
    std::optional<Settings> settings;  // set when a command is to run
    int exitCode = 0;                  // otherwise: 0 after help or version, 2 on a usage error
    std::string text;                  // what to print instead: help, version or the error
    const Command* command = nullptr;  // the one to run
};

// arguments[0] is the program's name.
Parsed ParseArguments(const QStringList& arguments);

}  // namespace cli
