#pragma once
#include <string>

namespace zv {

// Scrambles (restore = false) or restores (restore = true) a Windows-1252
// text in place: blanks stay; other bytes move by +7 (even) or +3 (odd) when
// scrambling, and back by -7 (odd) or -3 (even) when restoring. Codes wrap
// modulo 256, so the two directions are exact inverses for every byte.
void Encrypt(std::string& text, bool restore);

}  // namespace zv
