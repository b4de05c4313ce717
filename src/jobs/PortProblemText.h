#pragma once
// Why a port did not open, in the operator's words, with what to do about it.

#include <cstdint>
#include <string>

#include "OpenProblem.h"

namespace jobs {

std::string PortProblemText(const std::string& port, const serial::OpenDiagnosis& diagnosis);
// The same for a COM name ("COM2") whose port did not open with this error.
std::string PortProblemText(const std::string& port, std::int32_t openError);

}  // namespace jobs
