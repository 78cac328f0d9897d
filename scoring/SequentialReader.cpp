#include "scoring/SequentialReader.h"

#include <algorithm>
#include <charconv>

namespace zv {

SequentialReader::SequentialReader(std::string fileName, std::string bytes, std::vector<DataProblem>& problems)
    : file_(std::move(fileName)), bytes_(std::move(bytes)), problems_(problems) {}

void SequentialReader::fault(int line, const std::string& what) {
  problems_.push_back({file_, line, what});
}

void SequentialReader::layoutFault(int line, const std::string& what) {
  fault(line, atEndOfData() ? what : what + " (the rest of the file is not checked)");
  throw Stopped{};
}

bool SequentialReader::atLineEnd() const {
  return pos_ < bytes_.size() && (bytes_[pos_] == '\r' || bytes_[pos_] == '\n');
}

void SequentialReader::consumeLineEnd() {
  if (pos_ >= bytes_.size()) return;
  if (bytes_[pos_] == '\r' && pos_ + 1 < bytes_.size() && bytes_[pos_ + 1] == '\n') ++pos_;
  ++pos_;
  ++line_;
  lineStart_ = pos_;
}

bool SequentialReader::atEndOfData() const {
  return std::all_of(bytes_.begin() + static_cast<std::ptrdiff_t>(pos_), bytes_.end(),
                     [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

std::string SequentialReader::field(const std::string& what) {
  while (pos_ < bytes_.size() && (bytes_[pos_] == ' ' || bytes_[pos_] == '\t')) ++pos_;
  if (pos_ >= bytes_.size()) layoutFault(line_, "file ends early: " + what + " expected");
  lastLine_ = line_;
  if (atLineEnd()) {
    // The classic reader would take this as an empty value; in an
    // installation file it always means a value went missing.
    const bool blankLine = std::all_of(bytes_.begin() + static_cast<std::ptrdiff_t>(lineStart_),
                                       bytes_.begin() + static_cast<std::ptrdiff_t>(pos_),
                                       [](char c) { return c == ' ' || c == '\t'; });
    layoutFault(line_, (blankLine ? "blank line where " : "empty field where ") + what + " was expected");
  }
  std::string value;
  if (bytes_[pos_] == '"') {
    ++pos_;
    const std::size_t start = pos_;
    while (pos_ < bytes_.size() && bytes_[pos_] != '"' && bytes_[pos_] != '\r' && bytes_[pos_] != '\n') ++pos_;
    value = bytes_.substr(start, pos_ - start);
    if (pos_ >= bytes_.size() || bytes_[pos_] != '"') layoutFault(line_, "missing closing quote in " + what);
    ++pos_;
    while (pos_ < bytes_.size() && (bytes_[pos_] == ' ' || bytes_[pos_] == '\t')) ++pos_;
    if (pos_ < bytes_.size() && bytes_[pos_] != ',' && !atLineEnd())
      layoutFault(line_, "unexpected text after the quoted " + what);
  } else {
    const std::size_t start = pos_;
    while (pos_ < bytes_.size() && bytes_[pos_] != ',' && !atLineEnd()) ++pos_;
    value = bytes_.substr(start, pos_ - start);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.pop_back();
    if (value.empty()) layoutFault(line_, "empty field where " + what + " was expected");
  }
  if (pos_ < bytes_.size()) {
    if (bytes_[pos_] == ',') ++pos_;
    else consumeLineEnd();
  }
  return value;
}

int SequentialReader::integer(const std::string& what, int low, int high) {
  const std::string text = field(what);
  const int line = lastLine_;
  if (text.empty()) layoutFault(line, what + " is not a whole number: \"\"");  // a quoted ""
  long long value = 0;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (*first == '+' && text.size() > 1 && text[1] != '-') ++first;
  const auto [end, ec] = std::from_chars(first, last, value);
  if (ec == std::errc::result_out_of_range || (ec == std::errc() && end == last && (value < -32768 || value > 32767)))
    layoutFault(line, what + " is too large: " + text);
  if (ec != std::errc() || end != last || first == last)
    layoutFault(line, what + " is not a whole number: \"" + text + "\"");
  if (value < low || value > high) {
    fault(line, what + " is " + std::to_string(value) + "; it must be " + std::to_string(low) + " to " +
                    std::to_string(high));
    return static_cast<int>(std::clamp<long long>(value, low, high));
  }
  return static_cast<int>(value);
}

std::string SequentialReader::line(const std::string& what) {
  if (pos_ >= bytes_.size()) layoutFault(line_, "file ends early: " + what + " expected");
  lastLine_ = line_;
  const std::size_t start = pos_;
  while (pos_ < bytes_.size() && !atLineEnd()) ++pos_;
  std::string text = bytes_.substr(start, pos_ - start);
  consumeLineEnd();
  return text;
}

}  // namespace zv
