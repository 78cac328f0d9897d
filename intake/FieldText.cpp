#include "intake/FieldText.h"

#include <cstdio>
#include <ctime>

namespace zv {

double leadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  double value = 0;
  bool digits = false;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    value = value * 10 + (text[i++] - '0');
    digits = true;
  }
  if (i < text.size() && text[i] == '.') {
    ++i;
    double scale = 0.1;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      value += (text[i++] - '0') * scale;
      scale /= 10;
      digits = true;
    }
  }
  if (!digits) return 0;
  return negative ? -value : value;
}

bool isSingleN(std::string_view text) { return text == "n" || text == "N"; }

bool allDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

std::string upperAscii(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

std::string dateText(int year, int month, int day) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", month % 100, day % 100, year % 10000);
  return buf;
}

std::string todayText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return dateText(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

}  // namespace zv
