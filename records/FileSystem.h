#pragma once
// The file operations the system uses, behind an interface so that tests can
// inject the faults of a removed drive, a write-protected disk or a full one.
// Every failure is thrown as ZvError with its errno mapped once.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "records/ZvError.h"

namespace zv {

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual bool exists(const std::string& path) = 0;
  virtual bool isDirectory(const std::string& path) = 0;
  virtual std::uint64_t size(const std::string& path) = 0;
  virtual std::string readAll(const std::string& path) = 0;
  // Creates the file empty when it is missing; never truncates.
  virtual void ensureFile(const std::string& path) = 0;
  // Writes `bytes` at `offset`, creating the file when missing, and returns
  // only once the data has reached the disk (flush and fsync).
  virtual void writeAt(const std::string& path, std::uint64_t offset, const std::string& bytes) = 0;
  // Creates or empties the file and writes `bytes`; with `sync` it returns
  // only once they have reached the disk.
  virtual void writeFile(const std::string& path, const std::string& bytes, bool sync) = 0;
  virtual void rename(const std::string& from, const std::string& to) = 0;
  // Forces a folder's entries (after a rename) to disk.
  virtual void syncFolder(const std::string& folder) = 0;
  virtual void remove(const std::string& path) = 0;
  virtual void makeDirectories(const std::string& path) = 0;

  // Replaces the whole file through a temporary file in the same folder:
  // write, fsync, rename over the file, fsync the folder. Readers, and a
  // power cut at any step, see the old or the new content, never a mixture.
  virtual void replaceAll(const std::string& path, const std::string& bytes) { replace(path, bytes, true); }
  // The same replacement without forcing anything to disk: for files that
  // are made again on demand (reports), where speed matters more.
  virtual void replaceAllUnsynced(const std::string& path, const std::string& bytes) { replace(path, bytes, false); }
  void copy(const std::string& from, const std::string& to) { replaceAll(to, readAll(from)); }

  // The temporary name a replacement writes first.
  static std::string temporaryFor(const std::string& path) { return path + ".part"; }

 private:
  void replace(const std::string& path, const std::string& bytes, bool sync);
};

// The machine's own file system.
class RealFileSystem : public FileSystem {
 public:
  bool exists(const std::string& path) override;
  bool isDirectory(const std::string& path) override;
  std::uint64_t size(const std::string& path) override;
  std::string readAll(const std::string& path) override;
  void ensureFile(const std::string& path) override;
  void writeAt(const std::string& path, std::uint64_t offset, const std::string& bytes) override;
  void writeFile(const std::string& path, const std::string& bytes, bool sync) override;
  void rename(const std::string& from, const std::string& to) override;
  void syncFolder(const std::string& folder) override;
  void remove(const std::string& path) override;
  void makeDirectories(const std::string& path) override;
};

// Passes every call to a real file system unless a fault is armed for it.
// A fault names the operation ("read", "write", "size", "exists", "ensure",
// "replace", "rename", "syncdir", "remove", "mkdir") and errno; `times` < 0
// keeps it armed. A "write" fault with `tornAfter` >= 0 first writes that many
// bytes, as a power cut in the middle of the write would leave them.
class FaultyFileSystem : public FileSystem {
 public:
  struct Fault {
    std::string operation;
    std::string pathContains;  // empty: any path
    int err = 0;
    int times = 1;
    long tornAfter = -1;
  };
  explicit FaultyFileSystem(FileSystem& inner) : inner_(inner) {}
  void arm(Fault f) { faults_.push_back(std::move(f)); }
  void clear() { faults_.clear(); }
  int failures() const { return failures_; }

  bool exists(const std::string& path) override;
  bool isDirectory(const std::string& path) override;
  std::uint64_t size(const std::string& path) override;
  std::string readAll(const std::string& path) override;
  void ensureFile(const std::string& path) override;
  void writeAt(const std::string& path, std::uint64_t offset, const std::string& bytes) override;
  void writeFile(const std::string& path, const std::string& bytes, bool sync) override;
  void rename(const std::string& from, const std::string& to) override;
  void syncFolder(const std::string& folder) override;
  void remove(const std::string& path) override;
  void makeDirectories(const std::string& path) override;
  void replaceAll(const std::string& path, const std::string& bytes) override;
  void replaceAllUnsynced(const std::string& path, const std::string& bytes) override;

 private:
  // Throws the armed fault for the operation; a torn write's byte count is
  // handed back instead of thrown at once.
  void check(const char* operation, const std::string& path, long* tornAfter = nullptr);
  FileSystem& inner_;
  std::vector<Fault> faults_;
  int failures_ = 0;
};

// Joins a folder and a file name with one separator.
std::string joinPath(const std::string& folder, const std::string& name);

}  // namespace zv
