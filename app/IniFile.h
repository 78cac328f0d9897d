#pragma once
// Initialisation-file reading and writing with the behaviour of the classic
// profile functions: section and key names match without regard to case, a
// missing file or key yields the default, values are trimmed, and writing
// one key keeps every other line of the file as it was.
#include <string>

#include "records/FileSystem.h"

namespace zv {

class IniFile {
 public:
  IniFile(FileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}

  // The value as the profile function puts it into a buffer of `bufferSize`
  // characters: at most bufferSize - 1 characters survive.
  std::string read(const std::string& section, const std::string& key, const std::string& def,
                   std::size_t bufferSize) const;
  // Creates the file, the section or the key as needed. Throws ZvError.
  void write(const std::string& section, const std::string& key, const std::string& value);
  // Removes the key (the section stays); nothing is written when it is missing.
  void remove(const std::string& section, const std::string& key);

  const std::string& path() const { return path_; }

 private:
  void update(const std::string& section, const std::string& key, const std::string* value);
  FileSystem& fs_;
  std::string path_;
};

}  // namespace zv
