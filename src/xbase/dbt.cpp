// DBT memo files, dBase III style.
//
//   block 0 (512 bytes)   bytes 0-3: the next free block (little-endian); bytes 4-5: the
//                         block size, 512; the rest zero
//   block n               a memo: its text, then 0x1A 0x1A, the rest of the last block
//                         zero-filled; a memo takes as many consecutive blocks as it needs
//
// The memo field in the DBF record holds the first block's number as right-aligned digits
// (blank when the record has no memo). Text is stored as the table's bytes (code page 850,
// lines ending in CR LF). Old text is never rewritten in place: a changed memo goes to new
// blocks at the end, and the space of the old one is left until the file is rebuilt.
#include "xbase/dbt.h"

#include <cstring>

#include "xbase/dbf.h"
#include "xbase/lock.h"

namespace kardo::xbase {

namespace {
constexpr size_t kMaxMemo = 64u << 20;  // a larger "memo" is a broken pointer, not text
}

Result<std::unique_ptr<MemoFile>> MemoFile::open(Env& env, const std::string& path, bool read_only) {
  auto f = env.open(path, read_only ? OpenMode::READ : OpenMode::READ_WRITE);
  if (!f) return f.status();
  auto size = (*f)->size();
  if (!size) return size.status();
  if (*size < kBlock)
    return Status(Code::DAMAGED, (*f)->path() + ": memo file shorter than its header (" + std::to_string(*size) + " bytes)");
  return std::unique_ptr<MemoFile>(new MemoFile(std::move(*f)));
}

Result<std::unique_ptr<MemoFile>> MemoFile::create(Env& env, const std::string& path) {
  auto f = env.open(path, OpenMode::CREATE_TRUNC);
  if (!f) return f.status();
  char head[kBlock] = {};
  dbf::put32(head, 1);
  head[4] = char(kBlock & 0xFF);
  head[5] = char(kBlock >> 8);
  if (Status s = (*f)->write_at(0, head, kBlock); !s) return s;
  return std::unique_ptr<MemoFile>(new MemoFile(std::move(*f)));
}

Result<std::string> MemoFile::read(uint32_t block) {
  auto size = file_->size();
  if (!size) return size.status();
  uint64_t off = uint64_t(block) * kBlock;
  if (block == 0 || off >= *size)
    return Status(Code::DAMAGED, file_->path() + ": memo block " + std::to_string(block) + " lies beyond the file");
  std::string text;
  char buf[8 * kBlock];
  bool mark = false;  // the previous chunk ended in 0x1A
  while (off < *size) {
    size_t got = 0;
    if (Status s = file_->read_at(off, buf, sizeof buf, &got); !s) return s;
    if (got == 0) break;
    for (size_t i = 0; i < got; ++i) {
      if (buf[i] == dbf::kEof && (mark || (i + 1 < got && buf[i + 1] == dbf::kEof))) {
        if (mark) text.pop_back();
        return text;
      }
      mark = false;
      text.push_back(buf[i]);
    }
    mark = buf[got - 1] == dbf::kEof;
    if (text.size() > kMaxMemo) return Status(Code::DAMAGED, file_->path() + ": memo at block " + std::to_string(block) + " has no end");
    off += got;
  }
  if (mark) text.pop_back();
  return text;
}

Result<uint32_t> MemoFile::write(std::string_view text, bool shared) {
  if (shared)
    if (Status s = lock::brief(*file_, kAllocLockOffset); !s) return s;
  auto release = [&](Status s) {
    if (shared) file_->unlock(kAllocLockOffset, 1);
    return s;
  };
  char head[4];
  size_t got = 0;
  if (Status s = file_->read_at(0, head, 4, &got); !s) return release(s);
  if (got < 4) return release(Status(Code::DAMAGED, file_->path() + ": memo header cut short"));
  uint32_t next = dbf::get32(head);
  auto size = file_->size();
  if (!size) return release(size.status());
  // A next-free pointer inside the used part would make us write over memos; trust the
  // file's length instead.
  uint64_t end_block = (*size + kBlock - 1) / kBlock;
  if (next == 0 || next < end_block) next = uint32_t(end_block);
  size_t used = text.size() + 2;
  size_t blocks = (used + kBlock - 1) / kBlock;
  std::string out(blocks * kBlock, '\0');
  std::memcpy(out.data(), text.data(), text.size());
  out[text.size()] = dbf::kEof;
  out[text.size() + 1] = dbf::kEof;
  if (Status s = file_->write_at(uint64_t(next) * kBlock, out.data(), out.size()); !s) return release(s);
  dbf::put32(head, uint32_t(next + blocks));
  if (Status s = file_->write_at(0, head, 4); !s) return release(s);
  release({});
  return next;
}

}  // namespace kardo::xbase
