#pragma once
// A run's outcome as the command line states it: a few Russian words and an exit code.

#include <string>

#include "Exchanges.h"
#include "Job.h"

namespace cli {

std::string ExchangeText(const jobs::ExchangeOutcome& outcome);
int ExitCodeOf(const jobs::ExchangeOutcome& outcome);
int ExitCodeOf(const jobs::Report& report);

std::string ReadoutText(scale::ReadoutOutcome outcome);
int ExitCodeOf(scale::ReadoutOutcome outcome);

}  // namespace cli
