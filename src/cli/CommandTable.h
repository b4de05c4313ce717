#pragma once
// The command line's commands, one row each: what dispatch, the help and the check of options
// know of a command is read from here.

#include <QStringList>
#include <optional>
#include <string>
#include <vector>

#include "Output.h"
#include "Settings.h"

namespace cli {

using Problem = std::optional<std::string>;  // what is wrong, in the user's words

struct Command {
    const char* name;
    const char* summary;  // its line in the program's help
    const char* page;     // help COMMAND; none for help itself
    // The long names of the options it takes besides --help and --version.
    std::vector<QString> options;
    // The words after the options are read (the name first) into the settings, and the checks
    // between its options.
    Problem (*operands)(const QStringList& words, Settings& settings);
    int (*run)(const Settings& settings, Output& output);
};

// A command with a page of its own; nothing for help or an unknown name.
const Command* CommandNamed(const std::string& name);
const Command& HelpCommand();

// The page of one command, or the program's help for an empty or unknown name.
std::string HelpText(const std::string& command);

}  // namespace cli
