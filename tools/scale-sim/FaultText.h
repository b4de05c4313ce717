#pragma once
// Faults written on the command line:
//   KIND[@OCCURRENCE][#NUMBER]:STEP:ACTION[=ARG][:always]
//   KIND    any, readout, plu, msg, upload
//   STEP    ready, accept, check, record, closing
//   ACTION  silence | byte=HH (hex) | refuse | stall=K[/MS] | hangup=K
// e.g. "any@5:ready:byte=15", "msg:accept:silence:always", "upload#3:record:stall=10".

#include <string>

#include "Fault.h"

namespace sim {

// Throws std::invalid_argument with the reason.
Fault ParseFault(const std::string& text);

}  // namespace sim
