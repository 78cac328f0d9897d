#include "report/TextFiles.h"

#include <algorithm>

#include "scoring/ReportData.h"
#include "scoring/ReportTables.h"

namespace zv {
namespace {

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

// The lines of an installation file, or nullopt when it cannot be read.
std::optional<std::vector<std::string>> readLines(FileSystem& fs, const std::string& dir, const std::string& name,
                                                  std::vector<DataProblem>& problems) {
  const auto bytes = readInstallationFile(fs, dir, name, problems);
  if (!bytes) return std::nullopt;
  return splitLines(*bytes);
}

int lineNumber(std::size_t index) { return static_cast<int>(index) + 1; }

}  // namespace

const std::vector<std::string>& subRangeWords(int scale) {
  static const std::vector<std::string> plain = {"LOW", "MEDIUM-LOW", "MEDIUM-HIGH", "PROBLEM", "MAXIMUM-LOW", "MAXIMUM-HIGH"};
  static const std::vector<std::string> substance = {"LOW",          "MEDIUM-LOW", "MEDIUM-HIGH", "PROBLEM-LOW",
                                                     "PROBLEM-HIGH", "SEVERE",     "MAXIMUM"};
  return scale == 2 || scale == 3 ? substance : plain;
}

std::vector<std::vector<std::string>> ReadParagraphFile(FileSystem& fs, const std::string& programDir, int scale,
                                                        std::vector<DataProblem>& problems) {
  const std::string name = paragraphFileName(scale);
  const std::size_t first = problems.size();
  const auto& words = subRangeWords(scale);
  std::vector<std::vector<std::string>> paragraphs(words.size());
  const auto lines = readLines(fs, programDir, name, problems);
  if (!lines) return paragraphs;
  FileProblems p(name, problems);
  std::vector<bool> printed(lines->size(), false);
  for (std::size_t w = 0; w < words.size(); ++w) {
    const std::string& word = words[w];
    const auto at = std::find(lines->begin(), lines->end(), word);
    if (at == lines->end()) {
      const auto near = std::find_if(lines->begin(), lines->end(), [&](const std::string& l) {
        const auto from = l.find_first_not_of(" \t");
        return from != std::string::npos && l.substr(from, l.find_last_not_of(" \t") - from + 1) == word;
      });
      if (near != lines->end())
        p.fault(lineNumber(static_cast<std::size_t>(near - lines->begin())),
                "the sub-range line " + quoted(word) + " has blanks around the word; it must stand alone on its line");
      else
        p.fault(0, "no line " + quoted(word) + ": the paragraph of this sub-range is missing");
      continue;
    }
    const std::size_t wordIndex = static_cast<std::size_t>(at - lines->begin());
    std::size_t i = wordIndex + 1;
    std::string runsInto;
    for (; i < lines->size() && (*lines)[i] != "END"; ++i) {
      if (runsInto.empty() && std::find(words.begin(), words.end(), (*lines)[i]) != words.end()) runsInto = (*lines)[i];
      paragraphs[w].push_back((*lines)[i]);
      printed[i] = true;
    }
    if (i == lines->size())
      p.fault(lineNumber(wordIndex), "the paragraph " + quoted(word) + " is not closed by a line \"END\"");
    else if (!runsInto.empty())
      p.fault(lineNumber(wordIndex), "the paragraph " + quoted(word) + " runs into the sub-range line " +
                                         quoted(runsInto) + "; a line \"END\" is missing before it");
    else if (paragraphs[w].empty())
      p.fault(lineNumber(wordIndex), "the paragraph " + quoted(word) + " is empty");
  }
  for (std::size_t i = 0; i < lines->size(); ++i)
    if (printed[i] && !(*lines)[i].empty()) p.text(lineNumber(i), (*lines)[i], kMaxBodyLine, "paragraph line", true);
  sortByLine(problems, first);
  return paragraphs;
}

std::vector<std::string> ReadInvalidText(FileSystem& fs, const std::string& programDir, std::vector<DataProblem>& problems) {
  const std::size_t first = problems.size();
  const auto lines = readLines(fs, programDir, "ZVINVAL.TXT", problems);
  if (!lines) return {};
  FileProblems p("ZVINVAL.TXT", problems);
  const auto end = std::find(lines->begin(), lines->end(), "END");
  std::vector<std::string> text(lines->begin(), end);
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!text[i].empty()) p.text(lineNumber(i), text[i], kMaxBodyLine, "line", true);
  if (end == lines->end()) p.fault(lineNumber(lines->size()), "file ends without the line \"END\"");
  sortByLine(problems, first);
  return text;
}

std::pair<std::string, std::string> ReadFootLines(FileSystem& fs, const std::string& programDir,
                                                  std::vector<DataProblem>& problems) {
  const std::size_t first = problems.size();
  auto lines = readLines(fs, programDir, "ZVFOOT.TXT", problems);
  if (!lines) return {};
  FileProblems p("ZVFOOT.TXT", problems);
  if (lines->size() < 2)
    p.fault(lineNumber(lines->size()),
            "file ends early: notice line " + std::to_string(lines->size() + 1) + " of 2 expected");
  if (!lines->empty()) p.text(1, (*lines)[0], kMaxBodyLine, "notice line 1", true);
  if (lines->size() >= 2) p.text(2, (*lines)[1], kMaxSecondFootLine, "notice line 2", true);
  for (std::size_t i = 2; i < lines->size(); ++i)
    if ((*lines)[i].find_first_not_of(" \t") != std::string::npos)
      p.warn(lineNumber(i), "only the first two lines are printed; this line never shows");
  sortByLine(problems, first);
  lines->resize(std::max<std::size_t>(lines->size(), 2));
  return {(*lines)[0], (*lines)[1]};
}

const std::vector<std::string>& ReportTexts::paragraph(int scale, std::string_view subRange) const {
  static const std::vector<std::string> none;
  if (scale < 1 || scale > 6) return none;
  const auto& words = subRangeWords(scale);
  const auto w = static_cast<std::size_t>(std::find(words.begin(), words.end(), subRange) - words.begin());
  const auto& file = paragraphs[static_cast<std::size_t>(scale)];
  return w < file.size() ? file[w] : none;
}

ReportTexts ReadReportTexts(FileSystem& fs, const std::string& programDir, std::vector<DataProblem>& problems) {
  ReportTexts t;
  for (int s = 1; s <= 6; ++s) t.paragraphs[static_cast<std::size_t>(s)] = ReadParagraphFile(fs, programDir, s, problems);
  t.invalidText = ReadInvalidText(fs, programDir, problems);
  t.footLines = ReadFootLines(fs, programDir, problems);
  return t;
}

}  // namespace zv
