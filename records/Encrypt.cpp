#include "records/Encrypt.h"

namespace zv {

void Encrypt(std::string& text, bool restore) {
  for (char& ch : text) {
    if (ch == ' ') continue;
    const int code = static_cast<unsigned char>(ch);
    int out;
    if (!restore) out = code + ((code % 2 == 0) ? 7 : 3);
    else out = code - ((code % 2 != 0) ? 7 : 3);
    ch = static_cast<char>(static_cast<unsigned char>((out % 256 + 256) % 256));
  }
}

}  // namespace zv
