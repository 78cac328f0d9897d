#include "records/CodeTables.h"

#include <array>
#include <string_view>

namespace zv {
namespace {

std::string padded(std::string_view text, std::size_t width) {
  std::string s(text);
  s.resize(width, ' ');
  return s;
}

template <std::size_t N>
std::string lookup(const std::array<std::string_view, N>& table, int code, std::size_t width) {
  if (code < 0 || static_cast<std::size_t>(code) >= N || table[static_cast<std::size_t>(code)].empty())
    return padded(table[0], width);
  return padded(table[static_cast<std::size_t>(code)], width);
}

constexpr std::array<std::string_view, 3> kGender = {"N/A", "Male", "Female"};
constexpr std::array<std::string_view, 6> kMarital = {"N/A", "Single", "Married", "Divorced", "Seperated", "Widowed"};
constexpr std::array<std::string_view, 7> kRace = {"N/A", "Caucasian", "Black", "Hispanic", "Asian",
                                                   "Native American", "Other"};

}  // namespace

std::string CodeTables::gender(int code) { return lookup(kGender, code, kGenderWidth); }
std::string CodeTables::marital(int code) { return lookup(kMarital, code, kMaritalWidth); }
std::string CodeTables::race(int code) { return lookup(kRace, code, kRaceWidth); }

int codeDigit(const std::string& field) {
  for (char c : field) {
    if (c == ' ') continue;
    return (c >= '0' && c <= '9') ? c - '0' : -1;
  }
  return -1;
}

}  // namespace zv
