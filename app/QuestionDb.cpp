#include "app/QuestionDb.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cerrno>

#include "records/ZvError.h"

namespace zv {
namespace {

[[noreturn]] void dbFault(sqlite3* db, const std::string& what) {
  throw ZvError(ErrorKind::BadData, 0, what + (db ? std::string(": ") + sqlite3_errmsg(db) : std::string()));
}

std::string quoteName(const std::string& name) {
  std::string q = "\"";
  for (char c : name) {
    if (c == '"') q += '"';
    q += c;
  }
  return q + "\"";
}

}  // namespace

int Recordset::column(const std::string& name) const {
  for (std::size_t i = 0; i < columns_.size(); ++i)
    if (sqlite3_stricmp(columns_[i].c_str(), name.c_str()) == 0) return static_cast<int>(i);
  throw ZvError(ErrorKind::BadData, 0, "Item not found in this collection: field " + name + " of table " + table_);
}

const Recordset::Row& Recordset::current() const {
  if (IsBOF() || IsEOF()) throw ZvError(ErrorKind::BadData, 0, "No current record in table " + table_);
  return rows_[static_cast<std::size_t>(pos_)];
}

std::string Recordset::field(const std::string& name) const {
  const auto& v = current().values[static_cast<std::size_t>(column(name))];
  return v ? *v : std::string();
}

bool Recordset::isNull(const std::string& name) const {
  return !current().values[static_cast<std::size_t>(column(name))].has_value();
}

long long Recordset::fieldInt(const std::string& name) const {
  const std::string s = field(name);
  try {
    return std::stoll(s);
  } catch (...) {
    return 0;
  }
}

void Recordset::Edit() {
  current();
  editing_ = true;
  pending_.clear();
}

void Recordset::setField(const std::string& name, const std::string& value) {
  if (!editing_) throw ZvError(ErrorKind::BadData, 0, "Update or CancelUpdate without AddNew or Edit");
  pending_.emplace_back(column(name), value);
}

void Recordset::Update() {
  if (!editing_) throw ZvError(ErrorKind::BadData, 0, "Update or CancelUpdate without AddNew or Edit");
  auto& row = rows_[static_cast<std::size_t>(pos_)];
  for (const auto& [col, value] : pending_) {
    const std::string sql = "UPDATE " + quoteName(table_) + " SET " + quoteName(columns_[static_cast<std::size_t>(col)]) +
                            " = ? WHERE rowid = ?";
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) dbFault(db_, "Cannot update " + table_);
    // Numbers stay numbers, so that reading them back gives the same text.
    char* end = nullptr;
    const long long n = std::strtoll(value.c_str(), &end, 10);
    if (!value.empty() && end && *end == '\0') sqlite3_bind_int64(st, 1, n);
    else sqlite3_bind_text(st, 1, value.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int64(st, 2, row.rowid);
    const int rc = sqlite3_step(st);
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) dbFault(db_, "Cannot update " + table_);
    row.values[static_cast<std::size_t>(col)] = value;
  }
  pending_.clear();
  editing_ = false;
}

Database::Database(Database&& o) noexcept : db_(o.db_), path_(std::move(o.path_)), exclusive_(o.exclusive_) {
  o.db_ = nullptr;
}

Database::~Database() { Close(); }

void Database::Close() {
  if (db_) sqlite3_close(db_);
  db_ = nullptr;
}

void Database::BeginTrans() {
  if (sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
    dbFault(db_, "Cannot start a transaction on " + path_);
}

void Database::CommitTrans() {
  if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
    dbFault(db_, "Cannot store the changes to " + path_);
}

void Database::Rollback() { sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr); }

std::vector<std::string> Database::TableNames() const {
  std::vector<std::string> names;
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db_, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid", -1, &st,
                         nullptr) != SQLITE_OK)
    dbFault(db_, "Cannot list the tables of " + path_);
  while (sqlite3_step(st) == SQLITE_ROW) names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
  sqlite3_finalize(st);
  return names;
}

Recordset Database::query(const std::string& table, const std::string& order) const {
  if (!db_) throw ZvError(ErrorKind::BadData, 0, "The question database is closed");
  Recordset rs;
  rs.db_ = db_;
  rs.table_ = table;
  const std::string sql = "SELECT rowid, * FROM " + quoteName(table) + " ORDER BY " + order;
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
    dbFault(db_, "Cannot find table '" + table + "' in " + path_);
  const int n = sqlite3_column_count(st);
  for (int c = 1; c < n; ++c) rs.columns_.emplace_back(sqlite3_column_name(st, c));
  int rc;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    Recordset::Row row;
    row.rowid = sqlite3_column_int64(st, 0);
    for (int c = 1; c < n; ++c) {
      if (sqlite3_column_type(st, c) == SQLITE_NULL) row.values.emplace_back(std::nullopt);
      else row.values.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
    }
    rs.rows_.push_back(std::move(row));
  }
  sqlite3_finalize(st);
  if (rc != SQLITE_DONE) dbFault(db_, "Cannot read table '" + table + "' of " + path_);
  return rs;
}

Recordset Database::SelectAll(const std::string& table) const { return query(table, "ID"); }

Recordset Database::OpenTable(const std::string& table) const { return query(table, "rowid"); }

Workspace::Workspace(std::string defaultUser, std::string defaultPassword, std::string iniPath)
    : user_(std::move(defaultUser)), password_(std::move(defaultPassword)), iniPath_(std::move(iniPath)) {}

Database Workspace::OpenDatabase(const std::string& path, bool exclusive, bool forWriting) const {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) throw ZvError::fromErrno(errno, path);
  sqlite3* db = nullptr;
  const int flags = forWriting ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
  if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
    const std::string msg = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    throw ZvError(ErrorKind::BadData, 0, "Cannot open the question database: " + msg, path);
  }
  if (exclusive) sqlite3_exec(db, "PRAGMA locking_mode = EXCLUSIVE", nullptr, nullptr, nullptr);
  // A file that is not a database fails here rather than at the first read.
  if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK) {
    const std::string msg = sqlite3_errmsg(db);
    sqlite3_close(db);
    throw ZvError(ErrorKind::BadData, 0, "Cannot open the question database: " + msg, path);
  }
  return Database(db, path, exclusive);
}

}  // namespace zv
