// DBT memo files. Private to xbase (table.cpp uses it).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "xbase/file.h"

namespace kardo::xbase {

class MemoFile {
 public:
  static constexpr uint32_t kBlock = 512;
  // Where writers serialise the allocation of new blocks between processes.
  static constexpr uint64_t kAllocLockOffset = 0x7FFFFFFE;

  // Opens an existing memo file; DAMAGED when it is shorter than its header block.
  static Result<std::unique_ptr<MemoFile>> open(Env& env, const std::string& path, bool read_only);
  // Creates (or empties) a memo file holding no memo.
  static Result<std::unique_ptr<MemoFile>> create(Env& env, const std::string& path);

  // The text of the memo starting at `block`. DAMAGED when the block lies beyond the file;
  // a memo without its end mark is read up to the end of the file.
  Result<std::string> read(uint32_t block);
  // Writes `text` into new blocks at the end of the file and returns the first one. Old
  // memos are never overwritten: the record points at the new text only once it is written,
  // so a crash in between leaves the old memo in place. With `shared`, the allocation is
  // serialised with other processes through a lock on the file.
  Result<uint32_t> write(std::string_view text, bool shared);

  File& file() { return *file_; }

 private:
  explicit MemoFile(std::unique_ptr<File> f) : file_(std::move(f)) {}
  std::unique_ptr<File> file_;
};

}  // namespace kardo::xbase
