#include "intake/CourtHistoryRules.h"

#include "intake/FieldText.h"

namespace zv {
namespace {

constexpr std::array<const char*, kCourtFieldCount> kLabels = {
    "Age at first arrest:",
    "Age at first conviction:",
    "Number of felony arrests:",
    "Number of times on probation:",
    "Number of probation revocations:",
    "Number of times on parole:",
    "Number of parole revocations:",
    "Total number of times arrested:",
    "Number of times sentenced to jail:",
    "Number of times sentenced to prison:",
    "Number of alcohol-related arrests:",
    "Number of drug-related arrests:",
    "Number of DUI or DWI arrests:",
    "Number of months employed:",
};

std::size_t at(int field) { return static_cast<std::size_t>(field); }

}  // namespace

const char* courtLabel(int field) { return kLabels.at(at(field)); }

const char* courtHelp(int field) {
  if (field <= 1) return "Enter age in number of years or N for Not Available, then press Enter.";
  if (field <= 12) return "Type a value 0 to 99 or N for Not Available, then press Enter.";
  return "Type a value 0 to 12 or N for Not Available, then press Enter.";
}

const char* courtErrorMessage(int field) {
  if (field <= 1) return "Enter age in number of years or N for not available. Press Enter to continue.";
  if (field <= 3) return "Enter a number from 0 to 99 or N for not available. Press Enter to continue.";
  if (field <= 12) return "Enter a number from 0 to 99 or N for Not Available. Press Enter to continue.";
  return "Enter a number from 0 to 12 or N for Not Available. Press Enter to continue.";
}

int courtMaxLength(int field) { return field == 13 ? 3 : 2; }

CourtEnterResult courtEnterRule(int field, std::string_view text) {
  const std::string t = trimBlanks(text);
  if (isSingleN(t)) return {true, "N"};
  if (field >= 2 && t == "0") return {true, t};
  const double v = leadingNumber(t);
  bool inRange;
  if (field <= 1) inRange = v > 4 && v <= 99;
  else if (field <= 12) inRange = v > 0 && v <= 99;
  else inRange = v > 0 && v <= 12;
  if (inRange) return {true, t};
  return {false, ""};
}

int firstEmptyCourtField(const CourtValues& values) {
  for (int i = 0; i < kCourtFieldCount; ++i)
    if (trimBlanks(values[at(i)]).empty()) return i;
  return -1;
}

CourtValues GetCourtData(const ClientRecord& r) {
  CourtValues v;
  for (int i = 0; i < kCourtFieldCount; ++i) v[at(i)] = r.text(courtField(i));
  return v;
}

void SaveCourtData(ClientRecord& r, const CourtValues& values) {
  for (int i = 0; i < kCourtFieldCount; ++i) r.setText(courtField(i), values[at(i)]);
}

}  // namespace zv
