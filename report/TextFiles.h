#pragma once
// The plain text files of an installation that the report reads line by line:
// the six scale paragraph files, ZVINVAL.TXT and ZVFOOT.TXT. Lines are
// Windows-1252 bytes without their line end (CR LF or LF).
#include <string>
#include <utility>
#include <vector>

#include "records/FileSystem.h"

namespace zv {

// The lines after the line equal to `subRange`, up to the line "END".
// Throws ZvError(BadData, "FILE:LINE: what is wrong") when the sub-range line
// or the closing "END" is missing; the platform error for a missing file.
std::vector<std::string> ReadParagraph(FileSystem& fs, const std::string& path, const std::string& subRange);

// Every line before the line "END" of ZVINVAL.TXT.
std::vector<std::string> ReadInvalidText(FileSystem& fs, const std::string& path);

// The two page-foot notice lines of ZVFOOT.TXT (first and second line).
std::pair<std::string, std::string> ReadFootLines(FileSystem& fs, const std::string& path);

}  // namespace zv
