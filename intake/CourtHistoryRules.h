#pragma once
// The rules of the court history screen without the screen: the fourteen
// fields with their labels, help and error texts, the rule run when a field
// is left with Enter or Tab, the emptiness test of accepting, and the copying
// between the client record and the fields.
#include <array>
#include <string>
#include <string_view>

#include "records/ClientRecord.h"

namespace zv {

using CourtValues = std::array<std::string, kCourtFieldCount>;  // UTF-8 screen texts

const char* courtLabel(int field);
const char* courtHelp(int field);
const char* courtErrorMessage(int field);
// Characters the field takes on screen (the record keeps 2 of them).
int courtMaxLength(int field);

inline constexpr const char* kCourtErrorTitle = "Data Entry Error";
inline constexpr const char* kCourtAcceptHelp = "If information is correct press Enter or press Tab to change an entry.";
inline constexpr const char* kCourtCancelHelp = "Cancel information input and return to Main Menu.";

// Leaving a field with Enter or Tab: the text is trimmed; a single "n"
// becomes "N"; fields 2 to 13 take a single "0"; otherwise the leading number
// must lie in the field's range. A refused field is emptied.
struct CourtEnterResult {
  bool accepted;
  std::string text;
};
CourtEnterResult courtEnterRule(int field, std::string_view text);

// The first field that is empty (blanks only count as empty), or -1.
int firstEmptyCourtField(const CourtValues& values);

// The fourteen stored values exactly as stored (2 characters each).
CourtValues GetCourtData(const ClientRecord& r);
// The fourteen texts into the record, each cut or padded to 2 characters.
void SaveCourtData(ClientRecord& r, const CourtValues& values);

}  // namespace zv
