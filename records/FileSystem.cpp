#include "records/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <filesystem>
#include <vector>

namespace zv {
namespace {

[[noreturn]] void fail(const std::string& path) { throw ZvError::fromErrno(errno, path); }

class Fd {
 public:
  Fd(const std::string& path, int flags, mode_t mode = 0644) : fd_(::open(path.c_str(), flags | O_CLOEXEC, mode)) {
    if (fd_ < 0) fail(path);
  }
  ~Fd() { if (fd_ >= 0) ::close(fd_); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  // Closing reports a deferred write error (NFS, USB) instead of hiding it.
  void close(const std::string& path) {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) fail(path);
  }

 private:
  int fd_;
};

void writeFully(int fd, std::uint64_t offset, const std::string& bytes, const std::string& path) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(path);
    }
    done += static_cast<std::size_t>(n);
  }
}

}  // namespace

bool RealFileSystem::exists(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) return true;
  if (errno == ENOENT || errno == ENOTDIR) return false;
  fail(path);
}

bool RealFileSystem::isDirectory(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::uint64_t RealFileSystem::size(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) fail(path);
  return static_cast<std::uint64_t>(st.st_size);
}

std::string RealFileSystem::readAll(const std::string& path) {
  Fd fd(path, O_RDONLY);
  std::string out;
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(path);
    }
    if (n == 0) break;
    out.append(buf, static_cast<std::size_t>(n));
  }
  return out;
}

void RealFileSystem::ensureFile(const std::string& path) {
  Fd fd(path, O_WRONLY | O_CREAT);
  fd.close(path);
}

void RealFileSystem::writeAt(const std::string& path, std::uint64_t offset, const std::string& bytes) {
  Fd fd(path, O_WRONLY | O_CREAT);
  writeFully(fd.get(), offset, bytes, path);
  if (::fsync(fd.get()) != 0) fail(path);
  fd.close(path);
}

void RealFileSystem::writeFile(const std::string& path, const std::string& bytes, bool sync) {
  Fd fd(path, O_WRONLY | O_CREAT | O_TRUNC);
  writeFully(fd.get(), 0, bytes, path);
  if (sync && ::fsync(fd.get()) != 0) fail(path);
  fd.close(path);
}

void RealFileSystem::rename(const std::string& from, const std::string& to) {
  if (::rename(from.c_str(), to.c_str()) != 0) fail(to);
}

void RealFileSystem::syncFolder(const std::string& folder) {
  Fd fd(folder.empty() ? "." : folder, O_RDONLY | O_DIRECTORY);
  // Some file systems (network shares) cannot sync a folder; the rename is made all the same.
  if (::fsync(fd.get()) != 0 && errno != EINVAL && errno != ENOTSUP) fail(folder);
}

void RealFileSystem::remove(const std::string& path) {
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) fail(path);
}

void RealFileSystem::makeDirectories(const std::string& path) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  if (ec) throw ZvError::fromErrno(ec.value(), path);
}

void FaultyFileSystem::check(const char* operation, const std::string& path, long* tornAfter) {
  for (auto it = faults_.begin(); it != faults_.end(); ++it) {
    if (it->operation != operation) continue;
    if (!it->pathContains.empty() && path.find(it->pathContains) == std::string::npos) continue;
    const int err = it->err;
    const long torn = it->tornAfter;
    if (it->times > 0 && --it->times == 0) faults_.erase(it);
    ++failures_;
    if (tornAfter && torn >= 0) {
      *tornAfter = torn;
      return;
    }
    throw ZvError::fromErrno(err, path);
  }
}

bool FaultyFileSystem::exists(const std::string& p) { check("exists", p); return inner_.exists(p); }
bool FaultyFileSystem::isDirectory(const std::string& p) { check("exists", p); return inner_.isDirectory(p); }
std::uint64_t FaultyFileSystem::size(const std::string& p) { check("size", p); return inner_.size(p); }
std::string FaultyFileSystem::readAll(const std::string& p) { check("read", p); return inner_.readAll(p); }
void FaultyFileSystem::ensureFile(const std::string& p) { check("ensure", p); inner_.ensureFile(p); }
void FaultyFileSystem::writeAt(const std::string& p, std::uint64_t o, const std::string& b) {
  check("write", p);
  inner_.writeAt(p, o, b);
}
void FaultyFileSystem::writeFile(const std::string& p, const std::string& b, bool sync) {
  long torn = -1;
  check("write", p, &torn);
  if (torn < 0) return inner_.writeFile(p, b, sync);
  inner_.writeFile(p, b.substr(0, std::min<std::size_t>(b.size(), static_cast<std::size_t>(torn))), sync);
  throw ZvError::fromErrno(EIO, p);
}
void FaultyFileSystem::rename(const std::string& f, const std::string& t) { check("rename", t); inner_.rename(f, t); }
void FaultyFileSystem::syncFolder(const std::string& d) { check("syncdir", d); inner_.syncFolder(d); }
// The steps of a replacement go through this object, so each can fail on its own.
void FaultyFileSystem::replaceAll(const std::string& p, const std::string& b) {
  check("replace", p);
  FileSystem::replaceAll(p, b);
}
void FaultyFileSystem::replaceAllUnsynced(const std::string& p, const std::string& b) {
  check("replace", p);
  FileSystem::replaceAllUnsynced(p, b);
}
void FaultyFileSystem::remove(const std::string& p) { check("remove", p); inner_.remove(p); }
void FaultyFileSystem::makeDirectories(const std::string& p) { check("mkdir", p); inner_.makeDirectories(p); }

void FileSystem::replace(const std::string& path, const std::string& bytes, bool sync) {
  const std::string temp = temporaryFor(path);
  try {
    writeFile(temp, bytes, sync);
    rename(temp, path);
  } catch (const ZvError&) {
    try {
      remove(temp);
    } catch (const ZvError&) {
      // The leftover temporary file is emptied by the next replacement.
    }
    throw;
  }
  if (sync) syncFolder(std::filesystem::path(path).parent_path().string());
}

std::string joinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

}  // namespace zv
