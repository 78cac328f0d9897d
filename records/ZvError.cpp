#include "records/ZvError.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace zv {

ZvError::ZvError(ErrorKind kind, int number, std::string description, std::string path)
    : std::runtime_error(path.empty() ? description : path + ": " + description),
      kind_(kind), number_(number), description_(std::move(description)), path_(std::move(path)) {}

ZvError ZvError::fromErrno(int err, const std::string& path) {
  ErrorKind kind = ErrorKind::Other;
  switch (err) {
    case ENODEV: case ENXIO: case ENOMEDIUM: case ENOTCONN: case ESTALE:
      kind = ErrorKind::DriveNotReady; break;
    case ENOENT: {
      // A missing folder is a path fault, a missing file in a folder a file fault.
      const auto parent = std::filesystem::path(path).parent_path();
      std::error_code ec;
      kind = (parent.empty() || std::filesystem::is_directory(parent, ec))
                 ? ErrorKind::FileNotFound : ErrorKind::PathNotFound;
      break;
    }
    case ENOTDIR: kind = ErrorKind::PathNotFound; break;
    case EROFS: case EACCES: case EPERM: kind = ErrorKind::WriteProtected; break;
    case EIO: kind = ErrorKind::DeviceIO; break;
    case ENOSPC: case EDQUOT: kind = ErrorKind::DiskFull; break;
    default: break;
  }
  return ZvError(kind, err, std::strerror(err), path);
}

}  // namespace zv
