// Builds the question database ZV.db from the reviewable text of data/questions:
// every FILE.tsv becomes the table FILE (tables stored in name order). The
// first line names the columns; "ID" is the integer key; columns named in
// the "#integer:" comment line hold whole numbers, those named in a "#real:"
// line floating-point numbers; an empty cell is NULL; lines starting with "#"
// are comments.
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> splitTabs(const std::string& line) {
  std::vector<std::string> cells;
  std::string::size_type start = 0;
  for (;;) {
    const auto tab = line.find('\t', start);
    cells.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  return cells;
}

std::string quoteName(const std::string& name) { return "\"" + name + "\""; }

bool exec(sqlite3* db, const std::string& sql) {
  char* err = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
    std::cerr << "zvmkdb: " << (err ? err : "error") << " in: " << sql << "\n";
    sqlite3_free(err);
    return false;
  }
  return true;
}

bool loadTable(sqlite3* db, const fs::path& file) {
  const std::string table = file.stem().string();
  std::ifstream in(file, std::ios::binary);
  std::string line;
  std::vector<std::string> columns;
  std::set<std::string> integers = {"ID"};
  std::set<std::string> reals;
  int lineNo = 0;
  sqlite3_stmt* insert = nullptr;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    for (auto [tag, set] : {std::pair{"#integer:", &integers}, std::pair{"#real:", &reals}}) {
      if (line.rfind(tag, 0) != 0) continue;
      std::istringstream names(line.substr(std::string(tag).size()));
      for (std::string n; names >> n;) set->insert(n);
      line.clear();
    }
    if (line.empty() || line[0] == '#') continue;
    auto cells = splitTabs(line);
    if (columns.empty()) {
      columns = cells;
      std::string sql = "CREATE TABLE " + quoteName(table) + " (";
      for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i) sql += ", ";
        const std::string& c = columns[i];
        sql += quoteName(c) + (c == "ID" ? " INTEGER PRIMARY KEY" : integers.count(c) ? " INTEGER" : reals.count(c) ? " REAL" : " TEXT");
      }
      if (!exec(db, sql + ")")) return false;
      std::string ins = "INSERT INTO " + quoteName(table) + " VALUES (";
      for (std::size_t i = 0; i < columns.size(); ++i) ins += i ? ", ?" : "?";
      if (sqlite3_prepare_v2(db, (ins + ")").c_str(), -1, &insert, nullptr) != SQLITE_OK) return false;
      continue;
    }
    if (cells.size() > columns.size()) {
      std::cerr << file.string() << ":" << lineNo << ": " << cells.size() << " cells for " << columns.size() << " columns\n";
      return false;
    }
    sqlite3_reset(insert);
    sqlite3_clear_bindings(insert);
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (cells[i].empty()) continue;
      if (integers.count(columns[i])) sqlite3_bind_int64(insert, static_cast<int>(i + 1), std::stoll(cells[i]));
      else if (reals.count(columns[i])) sqlite3_bind_double(insert, static_cast<int>(i + 1), std::stod(cells[i]));
      else sqlite3_bind_text(insert, static_cast<int>(i + 1), cells[i].c_str(), -1, SQLITE_TRANSIENT);
    }
    if (sqlite3_step(insert) != SQLITE_DONE) {
      std::cerr << file.string() << ":" << lineNo << ": " << sqlite3_errmsg(db) << "\n";
      sqlite3_finalize(insert);
      return false;
    }
  }
  sqlite3_finalize(insert);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: zvmkdb TEXT_FOLDER OUTPUT.db\n";
    return 2;
  }
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(argv[1]))
    if (e.path().extension() == ".tsv") files.push_back(e.path());
  std::sort(files.begin(), files.end());
  const std::string out = argv[2];
  const std::string temp = out + ".part";
  fs::remove(temp);
  sqlite3* db = nullptr;
  if (sqlite3_open(temp.c_str(), &db) != SQLITE_OK) {
    std::cerr << "zvmkdb: cannot create " << temp << "\n";
    return 1;
  }
  bool ok = exec(db, "BEGIN");
  for (const auto& f : files) ok = ok && loadTable(db, f);
  ok = ok && exec(db, "COMMIT");
  sqlite3_close(db);
  if (!ok) {
    fs::remove(temp);
    return 1;
  }
  fs::rename(temp, out);
  return 0;
}
