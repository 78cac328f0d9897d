#pragma once
// Shared helpers for core tests: a fresh temporary folder per test.
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "app/SystemState.h"
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

// A program folder and a data location of their own, on the real file system
// behind injectable faults, with the system state and a scripted prompter.
struct Office {
  TempDir program, data;
  zv::RealFileSystem real;
  zv::FaultyFileSystem fs{real};
  zv::ScriptedPrompter prompter;
  zv::SystemState state{fs, prompter, program.path()};
  Office() { state.dataLocation = data.path(); }
};

inline std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A client record built field by field (Windows-1252 bytes).
struct TestClient {
  std::string name = "Doe, Jan\xE9";
  std::string id = "123-45";
  std::string age = "34";
  std::string gender = "1";
  std::string race = "1";
  std::string education = "12";
  std::string marital = "2";
  std::string dateOfBirth = "01/02/1990";
  std::string dateTested = "03/04/2024";
  std::vector<std::string> court = std::vector<std::string>(14, "0");
  std::string responses = std::string(162, '0');

  void answer(int item, int code) { responses[static_cast<std::size_t>(item - 1)] = static_cast<char>('0' + code); }
  void answer(int from, int to, int code) {
    for (int i = from; i <= to; ++i) answer(i, code);
  }

  zv::ClientRecord record() const {
    using zv::Field;
    zv::ClientRecord r;
    for (auto [f, v] : {std::pair{Field::Name, name}, {Field::SSN, id}, {Field::Age, age}, {Field::Gender, gender},
                        {Field::Race, race}, {Field::Education, education}, {Field::Marital, marital},
                        {Field::DateOfBirth, dateOfBirth}, {Field::DateTested, dateTested}, {Field::Responses, responses},
                        {Field::EditCount, std::string("0")}, {Field::NameDeleted, std::string("0")}})
      r.setRaw(f, v);
    for (int k = 0; k < 14; ++k) r.setRaw(zv::courtField(k), court[static_cast<std::size_t>(k)]);
    return r;
  }
};

// A table holding `clients` in slots 1..n, the last one current unless told.
inline zv::ClientTable tableOf(const std::vector<TestClient>& clients, int current = 0) {
  zv::ClientTable t;
  for (std::size_t i = 0; i < clients.size(); ++i) t.slot[i + 1] = clients[i].record();
  t.RecordCount = static_cast<std::int16_t>(clients.size());
  t.CurrentRecord = static_cast<std::int16_t>(current > 0 ? current : static_cast<int>(clients.size()));
  return t;
}

// A client record of this name with every item answered 1.
inline zv::ClientRecord namedClient(const std::string& name) {
  zv::ClientRecord r;
  r.setRaw(zv::Field::Name, name);
  r.setRaw(zv::Field::Responses, std::string(162, '1'));
  return r;
}

// A client file of such records.
inline std::string clientsBytes(const std::vector<std::string>& names) {
  std::string bytes;
  for (const auto& n : names) bytes += namedClient(n).bytes();
  return bytes;
}

// "Client 1" to "Client n".
inline std::vector<std::string> clientNames(int n) {
  std::vector<std::string> names;
  for (int i = 1; i <= n; ++i) names.push_back("Client " + std::to_string(i));
  return names;
}

inline std::string storedClientsBytes(int n) { return clientsBytes(clientNames(n)); }

// A table's RecordCount and CurrentRecord.
inline std::vector<int> recordCounts(const zv::ClientTable& t) { return {t.RecordCount, t.CurrentRecord}; }

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
