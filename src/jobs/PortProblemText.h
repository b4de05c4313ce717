#pragma once
// Why a port did not open, in the operator's words, with what to do about it.

#include <string>

#include "OpenProblem.h"

namespace jobs {

std::string PortProblemText(const std::string& port, const serial::OpenDiagnosis& diagnosis);

}  // namespace jobs
