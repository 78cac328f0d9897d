#pragma once
// The section structure of the 162-item test.
#include <array>

namespace zv {

// Last item of each section: section k runs from SectionEnd[k-1]+1 to SectionEnd[k].
using SectionEnds = std::array<int, 4>;
inline constexpr SectionEnds kSectionEnds = {0, 105, 139, 162};

// Section (1..3) of item 1..162.
constexpr int sectionOf(int item, const SectionEnds& ends = kSectionEnds) {
  return item <= ends[1] ? 1 : item <= ends[2] ? 2 : 3;
}

}  // namespace zv
