#pragma once
// The one exception type of the core. Platform errors (errno) are mapped to
// a kind once, where they happen; screens choose their messages by kind.
#include <stdexcept>
#include <string>

namespace zv {

enum class ErrorKind {
  DriveNotReady,   // no such device or medium
  FileNotFound,
  PathNotFound,
  WriteProtected,  // read-only file system, access denied
  DeviceIO,
  DiskFull,
  BadData,         // installation or client data that breaks its layout
  FileChanged,     // the client file on disk is not the one that was read
  Other,
};

class ZvError : public std::runtime_error {
 public:
  ZvError(ErrorKind kind, int number, std::string description, std::string path = {});

  // Maps an errno value, as reported for `path`, to its kind.
  static ZvError fromErrno(int err, const std::string& path);

  ErrorKind kind() const { return kind_; }
  int number() const { return number_; }  // errno, or 0 for data faults
  const std::string& description() const { return description_; }
  const std::string& path() const { return path_; }

 private:
  ErrorKind kind_;
  int number_;
  std::string description_;
  std::string path_;
};

}  // namespace zv
