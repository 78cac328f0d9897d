#pragma once
// Toolkit-free screen routines shared by every screen.
#include "testing/TestSections.h"

namespace zv {

constexpr bool Between(int v, int low, int high) { return low <= v && v <= high; }

inline void InitSectionEnds(SectionEnds& ends) { ends = kSectionEnds; }

// Twips to pixels at a given resolution (1440 twips to the inch).
constexpr int twipsToPixels(int twips, double dpi) { return static_cast<int>(twips * dpi / 1440.0 + (twips >= 0 ? 0.5 : -0.5)); }

// Colours are written &H00BBGGRR; this gives 0xRRGGBB.
constexpr unsigned bgrToRgb(unsigned bgr) {
  return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

inline constexpr unsigned kPanelNormal = 0xFF0000;     // &HFF0000, blue
inline constexpr unsigned kPanelHighlight = 0xFFFF00;  // &HFFFF00, light blue

}  // namespace zv
