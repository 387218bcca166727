// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace glyphmoor::tools {

enum ExitCode : int { ExitSuccess = 0, ExitDataError = 1, ExitUsageError = 2 };

// The glyphmoor-data command line: `args` without the program name. Reports
// go to `out`, problems to `err`.
int RunDataTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace glyphmoor::tools
