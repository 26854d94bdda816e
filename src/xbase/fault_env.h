// An Env for tests that passes everything to another Env and can fail the Nth write step,
// so a test can interrupt a whole-file rewrite at each of its steps and check what is left.
#pragma once

#include <functional>
#include <string>

#include "xbase/file.h"

namespace kardo::xbase {

class FaultEnv final : public Env {
 public:
  explicit FaultEnv(Env& base) : base_(base) {}

  // Write steps are write_at, truncate and sync of any file opened here, and rename and
  // remove. Step `step` (1-based) fails with Code::IO; with `crash`, every step after it
  // fails too, as if the machine had stopped there. 0 fails nothing.
  void fail_at(long step, bool crash = true) {
    fail_at_ = step;
    crash_ = crash;
  }
  long steps() const { return steps_; }  // write steps seen so far
  void reset_steps() { steps_ = 0; }
  // Called before every write step with its number and a description ("write x.dbf").
  std::function<void(long step, const std::string& what)> on_step;

  Status step(const std::string& what);

  Result<std::unique_ptr<File>> open(const std::string& path, OpenMode mode) override;
  Status rename(const std::string& from, const std::string& to) override;
  Status remove(const std::string& path) override;
  bool exists(const std::string& path) override { return base_.exists(path); }
  std::string resolve_case(const std::string& path) override { return base_.resolve_case(path); }
  Status sync_folder(const std::string& folder) override { return base_.sync_folder(folder); }
  Result<FileId> id(const std::string& path) override { return base_.id(path); }

 private:
  Env& base_;
  long fail_at_ = 0;
  bool crash_ = true;
  long steps_ = 0;
};

}  // namespace kardo::xbase
