#pragma once
// download --changed-only, and keeping each scale's known contents after a run.

#include <vector>

#include "ListFile.h"
#include "Output.h"
#include "PortRun.h"
#include "Settings.h"

namespace cli {

// What a load does when the known contents cannot be trusted: refuse, or send the whole list,
// saying it is --full-if-unknown that asks for it, or without a word of a flag, as sync does.
enum class Untrusted { Refuse, WholeByFlag, Whole };

// One port's changed-only load: only the rows that differ from what the scale is known to hold,
// once the scale has shown it still holds it.
PortResult SendChangesToPort(Untrusted untrusted, const PortName& port, scale::Link& link,
                             const ListFile& list, Output& output);

// Why a changed-only load cannot take a list of this kind as asked; nothing when it can.
std::optional<std::string> ChangesProblem(const Settings& settings, tables::ListKind kind);

}  // namespace cli
