#pragma once
// One client as stored: 255 bytes of Windows-1252 text in 26 fixed-width,
// blank-padded fields. The record keeps the stored bytes themselves, so a
// record read from disk is written back byte for byte.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace zv {

enum class Field {
  Name, SSN, Age, Gender, Race, Education, Marital, DateOfBirth, DateTested,
  FirstArrest, FirstConviction, FelonyArrests, TimesProbation, ProbationRevocation,
  TimesParole, ParoleRevocation, TimeArrest, TimesJail, TimesPrison,
  AlcoholArrests, DrugArrests, DUIArrests, PercentEmployed,
  Responses, EditCount, NameDeleted,
};

struct FieldLayout {
  std::size_t offset;
  std::size_t width;
};

constexpr std::size_t kRecordSize = 255;
constexpr int kFieldCount = 26;
constexpr int kItemCount = 162;
constexpr int kCourtFieldCount = 14;

FieldLayout layoutOf(Field f);
// The fourteen court-history fields in record order (index 0 = FirstArrest).
Field courtField(int index);

class ClientRecord {
 public:
  ClientRecord() { clear(); }
  static ClientRecord fromBytes(std::string_view bytes);  // shorter input is blank-filled

  void clear() { bytes_.fill(' '); }
  std::string bytes() const { return {bytes_.data(), bytes_.size()}; }

  // The stored bytes of a field, blank padding included.
  std::string raw(Field f) const;
  // Stores Windows-1252 bytes, blank-padded or cut to the field's width.
  void setRaw(Field f, std::string_view bytes);

  // The same field as UTF-8 text for screens, padding included.
  std::string text(Field f) const;
  // Stores UTF-8 text; returns false when a character had no Windows-1252 byte.
  bool setText(Field f, std::string_view utf8);

  // The field with leading and trailing blanks removed (Windows-1252 bytes).
  std::string trimmed(Field f) const;

  bool operator==(const ClientRecord&) const = default;

 private:
  std::array<char, kRecordSize> bytes_{};
};

std::string trimBlanks(std::string_view s);
std::string trimRight(std::string_view s);

}  // namespace zv
