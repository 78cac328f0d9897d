#pragma once
// Small text helpers shared by the client information and court history
// rules. Screen texts are UTF-8; the tests here only look at ASCII.
#include <string>
#include <string_view>

namespace zv {

// The leading number of a text, as a decimal number: an optional sign, digits
// and an optional fraction; leading blanks are skipped. No digits give 0.
double leadingNumber(std::string_view text);

// True when the text is one "n" or "N".
bool isSingleN(std::string_view text);

// True when the text is not empty and holds only the digits 0 to 9.
bool allDigits(std::string_view text);

// ASCII letters in upper case; other characters unchanged.
std::string upperAscii(std::string_view text);

// The date as the system writes it: "mm/dd/yyyy".
std::string dateText(int year, int month, int day);
// Today's local date as "mm/dd/yyyy".
std::string todayText();

}  // namespace zv
