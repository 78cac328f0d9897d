#pragma once
// Display tables that turn the demographic codes of a record into text,
// each entry blank-padded to its table's width.
#include <string>

namespace zv {

struct CodeTables {
  static constexpr int kGenderWidth = 6;
  static constexpr int kMaritalWidth = 9;
  static constexpr int kRaceWidth = 15;
  // A code outside its table gives the code-0 text "N/A", padded.
  static std::string gender(int code);
  static std::string marital(int code);
  static std::string race(int code);
};

// The code digit of a one-character field; a blank or non-digit gives -1.
int codeDigit(const std::string& field);

}  // namespace zv
