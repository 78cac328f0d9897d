#include "scoring/DataProblem.h"

#include <algorithm>

namespace zv {
namespace {

// A Windows-1252 file saved as UTF-8 shows up as lead bytes followed by
// continuation bytes, which our texts never hold.
bool looksUtf8(const std::string& text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const auto next = static_cast<unsigned char>(text[i + 1]);
    if (lead >= 0xC2 && lead <= 0xF4 && next >= 0x80 && next <= 0xBF) return true;
  }
  return false;
}

// Control characters would reach the printer as page or line breaks; the
// line ends (CR LF, LF, a lone CR) are not among them.
void controlCharacters(std::string_view bytes, FileProblems& out) {
  int line = 1;
  bool reported = false;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      ++line;
      reported = false;
    } else if ((c < 0x20 || c == 0x7F) && !reported) {
      out.fault(line, "control character " + byteHex(c));
      reported = true;
    }
  }
}

}  // namespace

std::string DataProblem::text() const {
  return file + ":" + std::to_string(line) + ": " + (warning ? "warning: " : "") + what;
}

void throwFirstFault(const std::vector<DataProblem>& problems) {
  const auto fault = std::find_if(problems.begin(), problems.end(), [](const DataProblem& p) { return !p.warning; });
  if (fault == problems.end()) return;
  if (fault->cause) throw *fault->cause;
  throw ZvError(ErrorKind::BadData, 0, fault->text());
}

void FileProblems::text(int line, const std::string& text, std::size_t width, const std::string& what,
                        bool widePrintsWhole) {
  if (text.empty()) fault(line, what + " is empty");
  if (text.size() > width) {
    const std::string length = what + " is " + std::to_string(text.size()) + " characters long; ";
    if (widePrintsWhole) warn(line, length + "it runs past column 78 of the report");
    else fault(line, length + "at most " + std::to_string(width) + " fit the report");
  }
  if (looksUtf8(text)) fault(line, what + " looks UTF-8 encoded; installation files are Windows-1252");
}

std::optional<std::string> readInstallationFile(FileSystem& fs, const std::string& dir, const std::string& name,
                                                std::vector<DataProblem>& problems) {
  try {
    std::string bytes = fs.readAll(joinPath(dir, name));
    FileProblems p(name, problems);
    controlCharacters(bytes, p);
    return bytes;
  } catch (const ZvError& e) {
    problems.push_back({name, 0, "cannot be read: " + e.description(), false, e});
    return std::nullopt;
  }
}

void sortByLine(std::vector<DataProblem>& problems, std::size_t first) {
  std::stable_sort(problems.begin() + static_cast<std::ptrdiff_t>(first), problems.end(),
                   [](const DataProblem& a, const DataProblem& b) { return a.line < b.line; });
}

std::string byteHex(unsigned char c) {
  const char* digits = "0123456789ABCDEF";
  return std::string("0x") + digits[c >> 4] + digits[c & 15];
}

std::vector<std::string> splitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(bytes.substr(start, i - start));
      i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
  return lines;
}

std::string baseName(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace zv
