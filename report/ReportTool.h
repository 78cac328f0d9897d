#pragma once
// The command-line report tool (zvreport) as a function, so that its
// arguments, messages and exit codes are tested without a process.
#include <iosfwd>
#include <string>
#include <vector>

#include "records/FileSystem.h"

namespace zv {

// Exit codes of the report tool.
inline constexpr int kToolOk = 0;
inline constexpr int kToolFailed = 1;     // no client file, no such client, installation or disk fault
inline constexpr int kToolBadUsage = 2;   // wrong arguments

// args excludes the program name. Usage goes to `out` for --help; every
// failure is one line on `err`.
int RunReportTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, FileSystem& fs);

}  // namespace zv
