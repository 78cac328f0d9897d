#include "records/ClientRecord.h"

#include <algorithm>

#include "records/Cp1252.h"

namespace zv {
namespace {

constexpr std::array<FieldLayout, kFieldCount> kLayout = {{
    {0, 25}, {25, 10}, {35, 3}, {38, 1}, {39, 1}, {40, 2}, {42, 1}, {43, 10}, {53, 10},
    {63, 2}, {65, 2}, {67, 2}, {69, 2}, {71, 2}, {73, 2}, {75, 2}, {77, 2}, {79, 2},
    {81, 2}, {83, 2}, {85, 2}, {87, 2}, {89, 2}, {91, 162}, {253, 1}, {254, 1},
}};

}  // namespace

FieldLayout layoutOf(Field f) { return kLayout[static_cast<std::size_t>(f)]; }

Field courtField(int index) { return static_cast<Field>(static_cast<int>(Field::FirstArrest) + index); }

ClientRecord ClientRecord::fromBytes(std::string_view bytes) {
  ClientRecord r;
  std::copy_n(bytes.begin(), std::min(bytes.size(), kRecordSize), r.bytes_.begin());
  return r;
}

std::string ClientRecord::raw(Field f) const {
  const auto l = layoutOf(f);
  return {bytes_.data() + l.offset, l.width};
}

void ClientRecord::setRaw(Field f, std::string_view value) {
  const auto l = layoutOf(f);
  const std::size_t n = std::min(value.size(), l.width);
  std::copy_n(value.begin(), n, bytes_.begin() + static_cast<std::ptrdiff_t>(l.offset));
  std::fill_n(bytes_.begin() + static_cast<std::ptrdiff_t>(l.offset + n), l.width - n, ' ');
}

std::string ClientRecord::text(Field f) const { return cp1252::toUtf8(raw(f)); }

bool ClientRecord::setText(Field f, std::string_view utf8) {
  bool lossless = true;
  setRaw(f, cp1252::fromUtf8(utf8, &lossless));
  return lossless;
}

std::string ClientRecord::trimmed(Field f) const { return trimBlanks(raw(f)); }

std::string trimBlanks(std::string_view s) {
  const auto b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  const auto e = s.find_last_not_of(' ');
  return std::string(s.substr(b, e - b + 1));
}

std::string trimRight(std::string_view s) {
  const auto e = s.find_last_not_of(' ');
  if (e == std::string_view::npos) return {};
  return std::string(s.substr(0, e + 1));
}

}  // namespace zv
