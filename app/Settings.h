#pragma once
// The settings of zv.ini beside the program, read and written by the rules of
// the profile functions (see IniFile).
#include <string>

#include "app/IniFile.h"

namespace zv {

class Settings {
 public:
  Settings(FileSystem& fs, std::string programDir);

  // "Settings/NumLock": on when the value (10-character buffer) begins with "Tru".
  bool readNumLock() const;
  void writeNumLock(bool on);
  // "Path/FilePath" (50-character buffer); missing: the folder "data" inside
  // the program folder, so a fresh installation starts without a question.
  std::string readFilePath() const;
  // Remembers the location; one longer than kMaxPathLength removes the key.
  void writeFilePath(const std::string& location);
  // "Path/SndPath"; missing: the folder "sounds" inside the program folder.
  std::string readSndPath() const;
  // "Options/SystemDB": the workgroup file named to the database engine.
  void writeSystemDB();
  // "Options/ScanDevice": where answer sheets are scanned from: empty, the
  // first scanner found; a scanner's device name; or "file", an image file.
  std::string readScanDevice() const;
  void writeScanDevice(const std::string& device);
  // "Options/ScanOptions": the scanner's own options, "name=value;name=value".
  std::string readScanOptions() const;

  std::string defaultDataLocation() const;
  const std::string& programDir() const { return programDir_; }
  const std::string& iniPath() const { return ini_.path(); }

  // The longest data-location path the 50-character buffer can give back.
  static constexpr std::size_t kMaxPathLength = 49;

 private:
  std::string readPath(const std::string& key, const std::string& def) const;
  std::string programDir_;
  IniFile ini_;
};

}  // namespace zv
