#pragma once
// Shared helpers for core tests: a fresh temporary folder per test.
#include <filesystem>
#include <fstream>
#include <string>

#include "records/ClientRecord.h"
#include "records/ClientTable.h"

namespace zvtest {

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
