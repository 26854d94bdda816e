#include "xbase/fault_env.h"

namespace kardo::xbase {

namespace {

class FaultFile final : public File {
 public:
  FaultFile(FaultEnv& env, std::unique_ptr<File> f) : env_(env), f_(std::move(f)) {}
  Status read_at(uint64_t off, void* buf, size_t n, size_t* got) override { return f_->read_at(off, buf, n, got); }
  Status write_at(uint64_t off, const void* buf, size_t n) override {
    if (Status s = env_.step("write " + path()); !s) return s;
    return f_->write_at(off, buf, n);
  }
  Result<uint64_t> size() override { return f_->size(); }
  Status truncate(uint64_t size) override {
    if (Status s = env_.step("truncate " + path()); !s) return s;
    return f_->truncate(size);
  }
  Status sync() override {
    if (Status s = env_.step("sync " + path()); !s) return s;
    return f_->sync();
  }
  Status lock(uint64_t off, uint64_t len, bool exclusive) override { return f_->lock(off, len, exclusive); }
  Status unlock(uint64_t off, uint64_t len) override { return f_->unlock(off, len); }
  const std::string& path() const override { return f_->path(); }
  Result<FileId> id() override { return f_->id(); }

 private:
  FaultEnv& env_;
  std::unique_ptr<File> f_;
};

}  // namespace

Status FaultEnv::step(const std::string& what) {
  long n = ++steps_;
  if (on_step) on_step(n, what);
  if (fail_at_ > 0 && (n == fail_at_ || (crash_ && n > fail_at_)))
    return Status(Code::IO, what + ": failed (injected fault at step " + std::to_string(n) + ")");
  return {};
}

Result<std::unique_ptr<File>> FaultEnv::open(const std::string& path, OpenMode mode) {
  auto f = base_.open(path, mode);
  if (!f) return f.status();
  return std::unique_ptr<File>(new FaultFile(*this, std::move(*f)));
}

Status FaultEnv::rename(const std::string& from, const std::string& to) {
  if (Status s = step("rename " + from + " to " + to); !s) return s;
  return base_.rename(from, to);
}

Status FaultEnv::remove(const std::string& path) {
  if (Status s = step("remove " + path); !s) return s;
  return base_.remove(path);
}

}  // namespace kardo::xbase
