#pragma once
// Reading the scoring and report tables of an installation (ZVRPT.TXT and
// ZVB.TXT in the program folder) and checking every value against the layout
// and bounds the report relies on. The report and the installation checker
// both read the tables here, so they agree on every fault and its message.
#include <string>
#include <vector>

#include "records/FileSystem.h"
#include "scoring/DataProblem.h"
#include "scoring/ReportTables.h"

namespace zv {

// Reads both files, appending every problem: a file that cannot be read
// ("FILE:0: cannot be read: ..."), a file that ends early or has a value out
// of step (reading of that file stops there), text after the last value,
// values outside their bounds, texts that do not fit the report, keys of the
// wrong length, norms outside 0 to 99 or falling, stress cuts that do not
// ascend or do not cover every ratio, items listed twice. ZVRPT.TXT's
// problems come first, each file's in line order.
ReportTables ReadReportTables(FileSystem& fs, const std::string& programDir, std::vector<DataProblem>& problems);

// The paragraph file of scale 1..6: ZVVA.TXT, ZVAL.TXT, ZVDG.TXT, ZVAS.TXT, ZVVI.TXT, ZVSC.TXT.
std::string paragraphFileName(int scale);

}  // namespace zv
