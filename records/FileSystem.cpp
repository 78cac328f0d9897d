#include "records/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

void RealFileSystem::replaceAll(const std::string& path, const std::string& bytes) { replace(path, bytes, true); }

void RealFileSystem::replaceAllUnsynced(const std::string& path, const std::string& bytes) {
  replace(path, bytes, false);
}

void RealFileSystem::replace(const std::string& path, const std::string& bytes, bool sync) {
  const std::string temp = path + ".part";
  {
    Fd fd(temp, O_WRONLY | O_CREAT | O_TRUNC);
    try {
      writeFully(fd.get(), 0, bytes, temp);
      if (sync && ::fsync(fd.get()) != 0) fail(temp);
      fd.close(temp);
    } catch (...) {
      ::unlink(temp.c_str());
      throw;
    }
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    throw ZvError::fromErrno(err, path);
  }
}

void RealFileSystem::remove(const std::string& path) {
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) fail(path);
}

void RealFileSystem::makeDirectories(const std::string& path) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  if (ec) throw ZvError::fromErrno(ec.value(), path);
}

void FaultyFileSystem::check(const char* operation, const std::string& path) {
  for (auto it = faults_.begin(); it != faults_.end(); ++it) {
    if (it->operation != operation) continue;
    if (!it->pathContains.empty() && path.find(it->pathContains) == std::string::npos) continue;
    const int err = it->err;
    if (it->times > 0 && --it->times == 0) faults_.erase(it);
    ++failures_;
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
void FaultyFileSystem::replaceAll(const std::string& p, const std::string& b) {
  check("replace", p);
  inner_.replaceAll(p, b);
}
void FaultyFileSystem::replaceAllUnsynced(const std::string& p, const std::string& b) {
  check("replace", p);
  inner_.replaceAllUnsynced(p, b);
}
void FaultyFileSystem::remove(const std::string& p) { check("remove", p); inner_.remove(p); }
void FaultyFileSystem::makeDirectories(const std::string& p) { check("mkdir", p); inner_.makeDirectories(p); }

std::string joinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

}  // namespace zv
