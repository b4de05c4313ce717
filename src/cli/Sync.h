#pragma once
// sync: the store's side of the chain's hub. Each pass delivers the receipts kept from earlier
// passes, asks for every list of the store's scales with a conditional GET, loads what changed
// (checked whole first; a changed-only load with the check of five records, or the whole list
// when the scale's contents are not known), PUTs a receipt per attempt and the store's status.
// A hub that fails before the loads stops the pass with nothing sent.

#include "Output.h"
#include "Settings.h"

namespace cli {

int RunSync(const Settings& settings, Output& output);

}  // namespace cli
