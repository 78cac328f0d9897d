#pragma once
// Reading the scoring and report tables of an installation (ZVRPT.TXT and
// ZVB.TXT in the program folder). The report and the installation checker use
// the same parsers, so an office that edits its files gets the same messages.
#include <string>

#include "records/FileSystem.h"
#include "scoring/ReportTables.h"

namespace zv {

// Throws ZvError: the platform error for a missing or unreadable file, or
// ErrorKind::BadData with the description "FILE:LINE: what is wrong" (FILE is
// the file's name, LINE 1-based) for a file that ends early or breaks a bound.
ReportTables LoadReportTables(FileSystem& fs, const std::string& programDir);

// The paragraph file of scale 1..6: ZVVA.TXT, ZVAL.TXT, ZVDG.TXT, ZVAS.TXT, ZVVI.TXT, ZVSC.TXT.
std::string paragraphFileName(int scale);

}  // namespace zv
