// The command line of setup32-check: its options, and the whole command as
// main runs it, with its reports and its exit status.
#pragma once

#include <ostream>
#include <string>

#include "check/check.h"
#include "check/report.h"

namespace setup32::check {

struct CommandLine {
    CheckOptions options;
    bool help = false;
    bool json = false;
    PlanDetail detail = PlanDetail::Summary;
};

// Reads the arguments after the program's name; false, with the reason in
// `whyNot`, for an argument the command does not take. A list of platforms
// or languages is names separated by commas, or "all"; an empty name in it
// ("nt40,") is refused.
bool ParseArguments(int argc, const char* const* argv, CommandLine& command, std::string& whyNot);

// Runs the command: the report on `out`, a reason on `err`. Returns the
// exit status: 0 nothing found or notes only, 1 warnings, 2 errors, 3 the
// check could not run.
int RunCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace setup32::check
