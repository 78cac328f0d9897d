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
  // Replaces the whole file; readers see the old or the new content, never a part.
  virtual void replaceAll(const std::string& path, const std::string& bytes) = 0;
  // The same replacement without forcing the data to disk first: for files
  // that are made again on demand (reports), where speed matters more.
  virtual void replaceAllUnsynced(const std::string& path, const std::string& bytes) { replaceAll(path, bytes); }
  virtual void remove(const std::string& path) = 0;
  virtual void makeDirectories(const std::string& path) = 0;
  void copy(const std::string& from, const std::string& to) { replaceAll(to, readAll(from)); }
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
  void replaceAll(const std::string& path, const std::string& bytes) override;
  void replaceAllUnsynced(const std::string& path, const std::string& bytes) override;
  void remove(const std::string& path) override;
  void makeDirectories(const std::string& path) override;

 private:
  void replace(const std::string& path, const std::string& bytes, bool sync);
};

// Passes every call to a real file system unless a fault is armed for it.
// A fault names the operation ("read", "write", "size", "exists", "ensure",
// "replace", "remove", "mkdir") and errno; `times` < 0 keeps it armed.
class FaultyFileSystem : public FileSystem {
 public:
  struct Fault {
    std::string operation;
    std::string pathContains;  // empty: any path
    int err = 0;
    int times = 1;
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
  void replaceAll(const std::string& path, const std::string& bytes) override;
  void replaceAllUnsynced(const std::string& path, const std::string& bytes) override;
  void remove(const std::string& path) override;
  void makeDirectories(const std::string& path) override;

 private:
  void check(const char* operation, const std::string& path);
  FileSystem& inner_;
  std::vector<Fault> faults_;
  int failures_ = 0;
};

// Joins a folder and a file name with one separator.
std::string joinPath(const std::string& folder, const std::string& name);

}  // namespace zv
