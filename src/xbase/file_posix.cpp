#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "xbase/file.h"

namespace kardo::xbase {
namespace {

class PosixFile final : public File {
 public:
  PosixFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~PosixFile() override { ::close(fd_); }

  Status read_at(uint64_t off, void* buf, size_t n, size_t* got) override {
    size_t done = 0;
    while (done < n) {
      ssize_t r = ::pread(fd_, static_cast<char*>(buf) + done, n - done, off_t(off + done));
      if (r < 0) {
        if (errno == EINTR) continue;
        return status_from_errno(errno, path_);
      }
      if (r == 0) break;
      done += size_t(r);
    }
    *got = done;
    return {};
  }

  Status write_at(uint64_t off, const void* buf, size_t n) override {
    size_t done = 0;
    while (done < n) {
      ssize_t r = ::pwrite(fd_, static_cast<const char*>(buf) + done, n - done, off_t(off + done));
      if (r < 0) {
        if (errno == EINTR) continue;
        return status_from_errno(errno, path_);
      }
      done += size_t(r);
    }
    return {};
  }

  Result<uint64_t> size() override {
    struct stat st;
    if (::fstat(fd_, &st) != 0) return status_from_errno(errno, path_);
    return uint64_t(st.st_size);
  }

  Status truncate(uint64_t size) override {
    if (::ftruncate(fd_, off_t(size)) != 0) return status_from_errno(errno, path_);
    return {};
  }

  Status sync() override {
    if (::fdatasync(fd_) != 0) return status_from_errno(errno, path_);
    return {};
  }

  Status lock(uint64_t off, uint64_t len, bool exclusive) override { return set_lock(off, len, exclusive ? F_WRLCK : F_RDLCK); }
  Status unlock(uint64_t off, uint64_t len) override { return set_lock(off, len, F_UNLCK); }
  const std::string& path() const override { return path_; }

  Result<FileId> id() override {
    struct stat st;
    if (::fstat(fd_, &st) != 0) return status_from_errno(errno, path_);
    return FileId{uint64_t(st.st_dev), uint64_t(st.st_ino)};
  }

 private:
  Status set_lock(uint64_t off, uint64_t len, short type) {
    struct flock fl;
    std::memset(&fl, 0, sizeof fl);
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = off_t(off);
    fl.l_len = off_t(len);
    while (::fcntl(fd_, F_OFD_SETLK, &fl) != 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EACCES) return Status(Code::LOCKED, path_ + ": locked by another user");
      return status_from_errno(errno, path_);
    }
    return {};
  }

  int fd_;
  std::string path_;
};

class PosixEnv final : public Env {
 public:
  Result<std::unique_ptr<File>> open(const std::string& path, OpenMode mode) override {
    int flags = O_CLOEXEC;
    switch (mode) {
      case OpenMode::READ: flags |= O_RDONLY; break;
      case OpenMode::READ_WRITE: flags |= O_RDWR; break;
      case OpenMode::CREATE_NEW: flags |= O_RDWR | O_CREAT | O_EXCL; break;
      case OpenMode::CREATE_TRUNC: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
    }
    std::string actual = (mode == OpenMode::READ || mode == OpenMode::READ_WRITE) ? resolve_case(path) : path;
    // Without access-time updates where the file is ours: a table's reads follow its writes
    // all the time, and each would otherwise dirty the inode again.
    int fd = ::open(actual.c_str(), flags | O_NOATIME, 0666);
    if (fd < 0 && errno == EPERM) fd = ::open(actual.c_str(), flags, 0666);
    if (fd < 0) return status_from_errno(errno, actual);
    return std::unique_ptr<File>(new PosixFile(fd, actual));
  }

  Status rename(const std::string& from, const std::string& to) override {
    if (::rename(from.c_str(), to.c_str()) != 0) return status_from_errno(errno, from);
    return {};
  }

  Status remove(const std::string& path) override {
    if (::unlink(resolve_case(path).c_str()) != 0) return status_from_errno(errno, path);
    return {};
  }

  bool exists(const std::string& path) override {
    struct stat st;
    return ::stat(resolve_case(path).c_str(), &st) == 0;
  }

  std::string resolve_case(const std::string& path) override {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) return path;
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return path;
    std::string found;
    while (dirent* e = ::readdir(dir)) {
      if (::strcasecmp(e->d_name, name.c_str()) == 0) {
        found = e->d_name;
        break;
      }
    }
    ::closedir(dir);
    if (found.empty()) return path;
    return slash == std::string::npos ? found : path.substr(0, slash + 1) + found;
  }

  Result<FileId> id(const std::string& path) override {
    struct stat st;
    std::string actual = resolve_case(path);
    if (::stat(actual.c_str(), &st) != 0) return status_from_errno(errno, actual);
    return FileId{uint64_t(st.st_dev), uint64_t(st.st_ino)};
  }

  Status sync_folder(const std::string& folder) override {
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return status_from_errno(errno, folder);
    int r = ::fsync(fd);
    int err = errno;
    ::close(fd);
    if (r != 0) return status_from_errno(err, folder);
    return {};
  }
};

}  // namespace

Env& Env::posix() {
  static PosixEnv env;
  return env;
}

Status status_from_errno(int err, const std::string& path) {
  switch (err) {
    case ENOENT: {
      size_t slash = path.rfind('/');
      struct stat st;
      if (slash != std::string::npos && slash > 0 && ::stat(path.substr(0, slash).c_str(), &st) != 0)
        return Status(Code::PATH_NOT_FOUND, path + ": path not found");
      return Status(Code::NOT_FOUND, path + ": file not found");
    }
    case ENOTDIR: return Status(Code::PATH_NOT_FOUND, path + ": path not found");
    case EMFILE:
    case ENFILE: return Status(Code::TOO_MANY_OPEN_FILES, path + ": too many open files");
    case EACCES:
    case EPERM:
    case EROFS: return Status(Code::ACCESS_DENIED, path + ": access denied");
    case EEXIST: return Status(Code::EXISTS, path + ": already exists");
    default: return Status(Code::IO, path + ": " + std::strerror(err));
  }
}

}  // namespace kardo::xbase
