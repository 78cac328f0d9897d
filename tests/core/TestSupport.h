#pragma once
// Shared helpers for core tests: a fresh temporary folder per test.
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "records/ClientRecord.h"
#include "records/ClientTable.h"
#include "ui/Prompter.h"

namespace zv {

// Message boxes compare whole: text, title, buttons and icon.
inline bool operator==(const ScriptedPrompter::Asked& a, const ScriptedPrompter::Asked& b) {
  return a.text == b.text && a.title == b.title && a.buttons == b.buttons && a.icon == b.icon;
}
inline void PrintTo(const ScriptedPrompter::Asked& a, std::ostream* os) {
  *os << "{\"" << a.text << "\", \"" << a.title << "\", buttons " << static_cast<int>(a.buttons) << ", icon "
      << static_cast<int>(a.icon) << "}";
}

}  // namespace zv

namespace zvtest {

using Asked = zv::ScriptedPrompter::Asked;
using AskedList = std::vector<Asked>;
using Texts = std::vector<std::string>;

// The texts of every message box asked so far.
inline Texts askedTexts(const zv::ScriptedPrompter& p) {
  Texts v;
  for (const auto& a : p.asked) v.push_back(a.text);
  return v;
}

class TempDir {
 public:
  TempDir() {
    std::string templ = (std::filesystem::temp_directory_path() / "zvtest-XXXXXX").string();
    path_ = ::mkdtemp(templ.data());
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A client file of n stored records named "Client 1".. with every item answered 1.
inline std::string storedClientsBytes(int n) {
  std::string bytes;
  for (int i = 1; i <= n; ++i) {
    zv::ClientRecord r;
    r.setRaw(zv::Field::Name, "Client " + std::to_string(i));
    r.setRaw(zv::Field::Responses, std::string(162, '1'));
    bytes += r.bytes();
  }
  return bytes;
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// Writes slots 1..RecordCount of a table made in memory as a client file.
inline void writeTable(const std::string& path, const zv::ClientTable& t) {
  std::string bytes;
  for (int n = 1; n <= t.RecordCount; ++n) bytes += t.slot[static_cast<std::size_t>(n)].bytes();
  writeBytes(path, bytes);
}

}  // namespace zvtest
