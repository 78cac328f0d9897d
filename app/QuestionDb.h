#pragma once
// The question database ZV.db (SQLite) with exactly the operations the
// system needs of it: a workspace created once with the engine defaults,
// open, table names in stored order, recordsets that step one row at a time,
// fields by name (NULL reads as empty), Edit/Update, Close.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace zv {

class Recordset {
 public:
  bool IsBOF() const { return pos_ < 0; }
  bool IsEOF() const { return pos_ >= static_cast<int>(rows_.size()); }
  void MoveNext() { if (!IsEOF()) ++pos_; }
  void MovePrevious() { if (!IsBOF()) --pos_; }
  void MoveFirst() { pos_ = 0; }
  void MoveLast() { pos_ = static_cast<int>(rows_.size()) - 1; }
  int RecordCount() const { return static_cast<int>(rows_.size()); }

  // The current row's field; NULL gives "". Throws ZvError for an unknown
  // field or when there is no current row.
  std::string field(const std::string& name) const;
  bool isNull(const std::string& name) const;
  long long fieldInt(const std::string& name) const;

  // Edit, set fields, Update: stores the current row's new values.
  void Edit();
  void setField(const std::string& name, const std::string& value);
  void Update();
  void Close() { rows_.clear(); pos_ = 0; }

 private:
  friend class Database;
  struct Row {
    long long rowid;
    std::vector<std::optional<std::string>> values;
  };
  int column(const std::string& name) const;
  const Row& current() const;

  sqlite3* db_ = nullptr;
  std::string table_;
  std::vector<std::string> columns_;
  std::vector<Row> rows_;
  int pos_ = 0;
  bool editing_ = false;
  std::vector<std::pair<int, std::string>> pending_;
};

class Database {
 public:
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  Database(Database&&) noexcept;
  ~Database();

  std::vector<std::string> TableNames() const;  // in stored order
  // "Select * from [T]": rows in ascending ID order.
  Recordset SelectAll(const std::string& table) const;
  // A table recordset: rows in stored order.
  Recordset OpenTable(const std::string& table) const;
  void Close();
  // Updates between BeginTrans and CommitTrans are stored together; Rollback
  // drops them. Throw ZvError when the engine refuses.
  void BeginTrans();
  void CommitTrans();
  void Rollback();
  bool exclusive() const { return exclusive_; }

 private:
  friend class Workspace;
  Database(sqlite3* db, std::string path, bool exclusive) : db_(db), path_(std::move(path)), exclusive_(exclusive) {}
  Recordset query(const std::string& table, const std::string& order) const;
  sqlite3* db_;
  std::string path_;
  bool exclusive_;
};

// One per run, created at start-up with the engine defaults.
class Workspace {
 public:
  Workspace(std::string defaultUser, std::string defaultPassword, std::string iniPath);
  static Workspace standard(const std::string& iniPath) { return Workspace("KLVTest", "qumfiro", iniPath); }

  // Throws ZvError: FileNotFound for a missing file, BadData for a file that
  // is not a question database.
  Database OpenDatabase(const std::string& path, bool exclusive = false, bool forWriting = false) const;

  const std::string& defaultUser() const { return user_; }
  const std::string& iniPath() const { return iniPath_; }

 private:
  std::string user_;
  std::string password_;
  std::string iniPath_;
};

}  // namespace zv
