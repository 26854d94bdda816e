// The operating system behind one seam. Tables and indexes reach files only through an
// Env, so tests can put a fault (a write that fails, a crash between two steps) there.
//
// Locks are open-file-description byte-range locks (F_OFD_SETLK): they belong to the open
// file, not the process, so two opens in one process conflict as two processes do, and
// they work over NFS and SMB mounts that honour locks.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/status.h"

namespace kardo::xbase {

using base::Code;
using base::Result;
using base::Status;

// Which file an open refers to (device and inode on POSIX), so a table can notice that the
// name it opened was renamed over (by another process's pack) before it took its lock.
struct FileId {
  uint64_t device = 0, inode = 0;
  friend bool operator==(const FileId&, const FileId&) = default;
};

class File {
 public:
  virtual ~File() = default;
  // Reads up to n bytes at off; *got tells how many (fewer at the end of the file).
  virtual Status read_at(uint64_t off, void* buf, size_t n, size_t* got) = 0;
  virtual Status write_at(uint64_t off, const void* buf, size_t n) = 0;
  virtual Result<uint64_t> size() = 0;
  virtual Status truncate(uint64_t size) = 0;
  virtual Status sync() = 0;
  // A byte-range lock, refused at once (Code::LOCKED) when another open holds a
  // conflicting one; shared locks may overlap each other.
  virtual Status lock(uint64_t off, uint64_t len, bool exclusive) = 0;
  virtual Status unlock(uint64_t off, uint64_t len) = 0;
  virtual const std::string& path() const = 0;
  // {} when the environment cannot tell.
  virtual Result<FileId> id() { return FileId{}; }
};

enum class OpenMode {
  READ,          // existing file, read only
  READ_WRITE,    // existing file
  CREATE_NEW,    // O_CREAT | O_EXCL: fails with Code::EXISTS when the file is there
  CREATE_TRUNC,  // create or empty (temporary files)
};

class Env {
 public:
  virtual ~Env() = default;
  static Env& posix();

  virtual Result<std::unique_ptr<File>> open(const std::string& path, OpenMode mode) = 0;
  // Atomic replace of `to` by `from` (both in one folder).
  virtual Status rename(const std::string& from, const std::string& to) = 0;
  virtual Status remove(const std::string& path) = 0;
  virtual bool exists(const std::string& path) = 0;
  // The path of an existing file whose name matches `path` case-insensitively in the
  // last component ("IMP0919.DBF" finds "imp0919.dbf"); `path` itself when none exists.
  virtual std::string resolve_case(const std::string& path) = 0;
  virtual Status sync_folder(const std::string& folder) = 0;
  // The identity of the file at `path` now ({} when the environment cannot tell).
  virtual Result<FileId> id(const std::string& path) {
    (void)path;
    return FileId{};
  }
};

// Status for an errno value, naming the path: not found, path not found, too many open
// files and access denied told apart.
Status status_from_errno(int err, const std::string& path);

}  // namespace kardo::xbase
