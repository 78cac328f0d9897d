#include "app/Settings.h"

#include "records/ClientRecord.h"

namespace zv {

Settings::Settings(FileSystem& fs, std::string programDir)
    : programDir_(std::move(programDir)), ini_(fs, joinPath(programDir_, "zv.ini")) {}

bool Settings::readNumLock() const { return ini_.read("Settings", "NumLock", "True", 10).rfind("Tru", 0) == 0; }

void Settings::writeNumLock(bool on) { ini_.write("Settings", "NumLock", on ? "True" : "False"); }

std::string Settings::readPath(const std::string& key, const std::string& def) const {
  return trimBlanks(ini_.read("Path", key, def, 50));
}

std::string Settings::readFilePath() const { return readPath("FilePath", defaultDataLocation()); }

void Settings::writeFilePath(const std::string& location) {
  // A path the 50-character buffer cannot give back is not stored; without
  // the key the default location is used, which is the only long path a
  // location can have (the drive dialog refuses longer ones).
  if (location.size() > kMaxPathLength) ini_.remove("Path", "FilePath");
  else ini_.write("Path", "FilePath", location);
}

std::string Settings::readSndPath() const { return readPath("SndPath", joinPath(programDir_, "sounds")); }

void Settings::writeSystemDB() { ini_.write("Options", "SystemDB", joinPath(programDir_, "kelvor.mda")); }

std::string Settings::readScanDevice() const { return ini_.read("Options", "ScanDevice", "", 256); }

void Settings::writeScanDevice(const std::string& device) { ini_.write("Options", "ScanDevice", device); }

std::string Settings::readScanOptions() const { return ini_.read("Options", "ScanOptions", "", 1024); }

std::string Settings::defaultDataLocation() const { return joinPath(programDir_, "data"); }

}  // namespace zv
