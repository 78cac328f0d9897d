#pragma once
// The plain text files of an installation that the report prints line by
// line: the six scale paragraph files, ZVINVAL.TXT and ZVFOOT.TXT. Lines are
// Windows-1252 bytes without their line end. Each reader appends the file's
// problems in line order; the report and the installation checker both read
// the files here.
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "records/FileSystem.h"
#include "scoring/DataProblem.h"

namespace zv {

// The sub-range words that key the paragraphs of scale 1..6.
const std::vector<std::string>& subRangeWords(int scale);

// The paragraph of every sub-range word of the scale's file (in the order of
// subRangeWords): the lines after the line holding just the word, up to the
// line "END". Faults: a word missing (or with blanks around it), a paragraph
// without its END or running into the next sub-range word, an empty
// paragraph, texts that are empty, UTF-8 or hold control characters. A line
// wider than 71 characters is a warning: the report prints it whole.
std::vector<std::vector<std::string>> ReadParagraphFile(FileSystem& fs, const std::string& programDir, int scale,
                                                        std::vector<DataProblem>& problems);

// Every line before the line "END" of ZVINVAL.TXT.
std::vector<std::string> ReadInvalidText(FileSystem& fs, const std::string& programDir, std::vector<DataProblem>& problems);

// The two page-foot notice lines of ZVFOOT.TXT; a further line is a warning.
std::pair<std::string, std::string> ReadFootLines(FileSystem& fs, const std::string& programDir,
                                                  std::vector<DataProblem>& problems);

// All the texts above, as one report uses them.
struct ReportTexts {
  std::array<std::vector<std::vector<std::string>>, 7> paragraphs;  // scale 1..6, by sub-range word
  std::vector<std::string> invalidText;
  std::pair<std::string, std::string> footLines;

  // The paragraph of `subRange` on scale 1..6 (empty when it was not read).
  const std::vector<std::string>& paragraph(int scale, std::string_view subRange) const;
};

ReportTexts ReadReportTexts(FileSystem& fs, const std::string& programDir, std::vector<DataProblem>& problems);

}  // namespace zv
