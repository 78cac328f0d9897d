#include "report/TextFiles.h"

#include "records/ZvError.h"
#include "scoring/SequentialReader.h"

namespace zv {
namespace {

[[noreturn]] void bad(const std::string& path, int line, const std::string& what) {
  throw ZvError(ErrorKind::BadData, 0, DataProblem{baseName(path), line, what}.text());
}

}  // namespace

std::vector<std::string> ReadParagraph(FileSystem& fs, const std::string& path, const std::string& subRange) {
  const auto lines = splitLines(fs.readAll(path));
  std::size_t i = 0;
  while (i < lines.size() && lines[i] != subRange) ++i;
  if (i == lines.size()) bad(path, 0, "no line \"" + subRange + "\": the paragraph of this sub-range is missing");
  const int wordLine = static_cast<int>(i) + 1;
  std::vector<std::string> paragraph;
  for (++i; i < lines.size(); ++i) {
    if (lines[i] == "END") return paragraph;
    paragraph.push_back(lines[i]);
  }
  bad(path, wordLine, "the paragraph \"" + subRange + "\" is not closed by a line \"END\"");
}

std::vector<std::string> ReadInvalidText(FileSystem& fs, const std::string& path) {
  const auto lines = splitLines(fs.readAll(path));
  std::vector<std::string> text;
  for (const auto& line : lines) {
    if (line == "END") return text;
    text.push_back(line);
  }
  bad(path, static_cast<int>(lines.size()) + 1, "file ends without the line \"END\"");
}

std::pair<std::string, std::string> ReadFootLines(FileSystem& fs, const std::string& path) {
  const auto lines = splitLines(fs.readAll(path));
  if (lines.size() < 2)
    bad(path, static_cast<int>(lines.size()) + 1,
        "file ends early: notice line " + std::to_string(lines.size() + 1) + " of 2 expected");
  return {lines[0], lines[1]};
}

}  // namespace zv
