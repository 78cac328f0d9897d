#pragma once
// Reading installation text files the way the classic sequential file input
// reads them: comma-separated fields (Input #) and whole lines (Line Input #)
// from one stream, so a field read consumes its delimiter and a following
// line read starts where the field read stopped.
//
// Faults are collected as "FILE:LINE: what is wrong"; a fault after which
// the values would be read out of step stops the reading of the file.
#include <string>
#include <vector>

#include "scoring/DataProblem.h"

namespace zv {

class SequentialReader {
 public:
  // Thrown when reading cannot go on in step: the file ended, or a value is
  // missing or malformed so that every later value would be read in the
  // wrong place. Bounds faults do not stop reading.
  struct Stopped {};

  SequentialReader(std::string fileName, std::string bytes, std::vector<DataProblem>& problems);

  // One field: leading blanks skipped, quotes removed, the comma or line end
  // after it consumed. `what` names the expected value in fault messages.
  std::string field(const std::string& what);
  // One field holding a decimal integer within [low, high]. A value outside
  // the bounds is reported and the nearest bound returned.
  int integer(const std::string& what, int low, int high);
  // One whole line, read without splitting, its line end consumed.
  std::string line(const std::string& what);

  // The 1-based line the next read starts on.
  int lineNumber() const { return line_; }
  // The line on which the last value read started.
  int lastValueLine() const { return lastLine_; }
  // True when only blanks and line ends remain.
  bool atEndOfData() const;

  // Records a fault.
  void fault(int line, const std::string& what);
  // Records a fault after which the values are out of step; throws Stopped.
  [[noreturn]] void layoutFault(int line, const std::string& what);
  const std::string& fileName() const { return file_; }

 private:
  bool atLineEnd() const;
  void consumeLineEnd();

  std::string file_;
  std::string bytes_;
  std::vector<DataProblem>& problems_;
  std::size_t pos_ = 0;
  std::size_t lineStart_ = 0;
  int line_ = 1;
  int lastLine_ = 0;
};

}  // namespace zv
