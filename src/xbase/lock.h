// Lock offsets of a DBF and its index and memo files. Private to xbase; the scheme is
// described in README.md.
#pragma once

#include <cstdint>

#include "xbase/file.h"

namespace kardo::xbase::lock {

// Held for the whole time a table is open: shared by shared opens, exclusive by an
// exclusive open, so an exclusive open is refused while anyone has the table open and
// the other way round. Beyond every other lock of both schemes.
constexpr uint64_t kOpen = 0x7FFFFFFF;

// One byte of an index or memo file, held exclusively while a writer changes it.
constexpr uint64_t kIndexFile = 0x7FFFFFFE;

// The record, file and append locks of a table. Byte 28 of the header picks the scheme:
// 0x01 (own-name CDX) or 0x00.
struct Scheme {
  bool cdx = false;
  uint64_t header_length = 0;
  uint64_t record_length = 0;

  uint64_t record(uint32_t recno) const {
    if (cdx) return 0x7FFFFFFEull - recno;
    return 0x40000000ull + header_length + uint64_t(recno - 1) * record_length;
  }
  uint64_t file_offset() const { return cdx ? 0x7FFFFFFEull - 0x07FFFFFFull : 0x40000001ull; }
  uint64_t file_length() const { return cdx ? 0x07FFFFFFull : 0x3FFFFFFDull; }
  uint64_t append() const { return cdx ? 0x7FFFFFFEull : 0x40000000ull; }
};

// Takes a lock that other processes hold only for the few writes of one change (append
// reservation, index and memo updates): retried for a short while before LOCKED, so that
// busy writers do not refuse each other. Locks that callers wait for (open, record, file)
// are never retried here.
Status brief(File& f, uint64_t off, uint64_t len = 1);

}  // namespace kardo::xbase::lock
