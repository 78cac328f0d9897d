#pragma once
// Reading installation text files the way the classic sequential file input
// reads them: comma-separated fields (Input #) and whole lines (Line Input #)
// from one stream, so a field read consumes its delimiter and a following
// line read starts where the field read stopped.
//
// Faults are described as "FILE:LINE: what is wrong". A reader either throws
// ZvError(BadData) at the first fault (the report path) or collects every
// fault and reads on (the installation checker).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zv {

struct DataProblem {
  std::string file;  // base name, e.g. "ZVB.TXT"
  int line = 0;      // 1-based; 0 when the fault concerns the whole file
  std::string what;
  std::string text() const;  // "FILE:LINE: what"
};

// The lines of a text file without their line ends. CR LF, LF and a lone CR
// each end a line; a last line without a line end still counts.
std::vector<std::string> splitLines(std::string_view bytes);

// The last component of a path ("/x/ZVB.TXT" gives "ZVB.TXT").
std::string baseName(const std::string& path);

class SequentialReader {
 public:
  // Thrown in collecting mode when reading cannot go on in step: the file
  // ended, or a value is missing or malformed so that every later value
  // would be read in the wrong place. Bounds faults do not stop reading.
  struct Stopped {};

  // problems == nullptr: every fault throws ZvError(BadData, 0, "FILE:LINE: what").
  SequentialReader(std::string fileName, std::string bytes, std::vector<DataProblem>* problems = nullptr);

  // One field: leading blanks skipped, quotes removed, the comma or line end
  // after it consumed. `what` names the expected value in fault messages.
  std::string field(const std::string& what);
  // One field holding a decimal integer within [low, high]. In collecting
  // mode a value outside the bounds is reported and the nearest bound returned.
  int integer(const std::string& what, int low, int high);
  // One whole line, read without splitting, its line end consumed.
  std::string line(const std::string& what);

  // The 1-based line the next read starts on.
  int lineNumber() const { return line_; }
  // The line on which the last value read started.
  int lastValueLine() const { return lastLine_; }
  // True when only blanks and line ends remain.
  bool atEndOfData() const;

  // Reports a fault: throws, or records it and returns.
  void fault(int line, const std::string& what);
  // Reports a fault after which the values are out of step: throws ZvError,
  // or records it and throws Stopped.
  [[noreturn]] void layoutFault(int line, const std::string& what);
  const std::string& fileName() const { return file_; }

 private:
  bool atLineEnd() const;
  void consumeLineEnd();

  std::string file_;
  std::string bytes_;
  std::vector<DataProblem>* problems_;
  std::size_t pos_ = 0;
  std::size_t lineStart_ = 0;
  int line_ = 1;
  int lastLine_ = 0;
};

}  // namespace zv
