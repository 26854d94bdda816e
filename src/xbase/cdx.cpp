// Compact compound index files (.cdx).
//
// The file is a sequence of 512-byte pages; every pointer is a byte offset from the start of the
// file. Integers are little-endian except the record numbers and child pointers of interior
// nodes, which are big-endian.
//
// Layout of the files written here (one tag per file, as the system keeps them):
//      0  header of the tag directory (1024 bytes)
//   1024  the tag directory: one exterior node listing the tags
//   1536  header of the tag (1024 bytes)
//   2560  the tag's nodes
//
// Header (1024 bytes; the tag directory and each tag have one):
//    0  u32 root node                4  u32 first free page (0 or -1: none)
//    8  u32 change counter, bumped by every writer
//   12  u16 key length (1..240; 10 for the directory, whose keys are the tag names)
//   14  u8  options: 0x01 unique, 0x08 has a FOR clause, 0x20 compact, 0x40 compound,
//           0x80 tag directory (0xE0 for the directory header, 0x60 for a tag)
//   15  u8  signature, 0x01
//   16  u16 header length (1024)     18  u16 page length (512)
//  502  u16 order (0 ascending, 1 descending)
//  504  u16 offset of the FOR expression in the pool    506 u16 its length with its NUL
//  508  u16 offset of the key expression in the pool    510 u16 its length with its NUL
//  512  expression pool: the key expression as text, NUL, the FOR expression, NUL
//
// Node (512 bytes):
//    0  u16 attributes: 0 interior, 1 root, 2 exterior (leaf); 3 = a leaf that is the root
//    2  u16 number of keys
//    4  u32 left sibling on the same level (-1: none)    8 u32 right sibling (-1: none)
// Interior node, from byte 12: entries of (key of key-length bytes, u32 BE record number,
// u32 BE child page); an entry's key and record number are those of the last entry below its
// child, so a search takes the first child whose entry is not below the searched one.
// Exterior node:
//   12  u16 free bytes of the node   14 u32 record number mask   18 u8 duplicate count mask
//   19  u8 trailing count mask       20 u8 bits of the record number  21 u8 bits of the duplicate
//   22  u8 bits of the trailing count   23 u8 bytes of one entry (N)
//   24  one N-byte little-endian integer per key: the record number in the low bits, then the
//       duplicate count (bytes shared with the previous key), then the trailing count (fill
//       bytes cut from the end: blanks for character keys, zeros for numeric and date keys).
//       The remaining bytes of each key are stored from the end of the node backwards: the
//       first key's bytes end at byte 512, the next key's end where the first one's begin.
//       A node's first key has no duplicate count. The widths are the node's own: written here
//       (as the other engine does) with counts of just enough bits for the key length and
//       three-byte entries while the record numbers fit in the rest, else four bytes, and
//       narrower counts only when even four bytes would not hold the record numbers.
//
// Keys are ordered by their bytes (unsigned), then by record number. Numeric and date keys
// are 8-byte IEEE doubles (a date as its Julian day number) made to sort as bytes (keyexpr.h).
//
// Free pages form a chain from byte 4 of the file's header, each freed page holding the
// offset of the next one in its first four bytes.
//
// Bytes 8..11 (change counter) of both headers are bumped by every flush, so that another
// process sees, by reading the two headers after taking its lock, whether its cached pages
// still hold; a file whose headers did not change is not read again.
#include "xbase/cdx.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <unordered_map>

namespace kardo::xbase {

namespace {

constexpr uint32_t kPage = 512;
constexpr uint32_t kHeader = 1024;
constexpr uint32_t kNone = 0xFFFFFFFF;
constexpr size_t kLeafHead = 24;
constexpr size_t kInteriorHead = 12;
constexpr int kMaxDepth = 64;  // 240-byte keys give two entries per interior node
constexpr int kMaxKey = 240;
constexpr size_t kCacheLimit = 20000;  // decoded pages kept between operations

uint16_t get16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t get32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint32_t get32be(const uint8_t* p) { return uint32_t(p[3]) | uint32_t(p[2]) << 8 | uint32_t(p[1]) << 16 | uint32_t(p[0]) << 24; }
void put16(uint8_t* p, uint32_t v) { p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); }
void put32(uint8_t* p, uint32_t v) { for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i)); }
void put32be(uint8_t* p, uint32_t v) { for (int i = 0; i < 4; ++i) p[3 - i] = uint8_t(v >> (8 * i)); }

int bits_for(uint64_t v) { return int(std::bit_width(v)); }

// The widths of an exterior node's entries: three bytes while they are enough (as other
// engines write them), four when the record numbers need more, and then fewer bits for the
// counts (a count is only an abbreviation: a smaller one stores more bytes).
struct LeafBits {
  int rec = 0, count = 0, bytes = 0;
  uint32_t count_mask() const { return (1u << count) - 1; }
  uint64_t rec_mask() const { return (uint64_t(1) << rec) - 1; }
};

LeafBits leaf_bits(int key_length, uint32_t max_recno) {
  int count = bits_for(uint64_t(key_length));
  int need = std::max(1, bits_for(max_recno));
  for (int bytes = 3; bytes <= 4; ++bytes)
    if (bytes * 8 - 2 * count >= need) return {bytes * 8 - 2 * count, count, bytes};
  count = (32 - need) / 2;
  return {32 - 2 * count, count, 4};
}

// Duplicate and trailing counts of `key` after `prev` (nullptr for a node's first key).
inline void compress(const char* prev, const char* key, int kl, char fill, uint32_t cap, int& dup, int& trail) {
  int t = 0;
  while (t < kl && key[kl - 1 - t] == fill) ++t;
  trail = std::min(t, int(cap));
  int d = 0;
  if (prev) {
    int limit = std::min(kl - trail, int(cap));
    while (d + 8 <= limit) {
      uint64_t a, b;
      std::memcpy(&a, prev + d, 8);
      std::memcpy(&b, key + d, 8);
      if (a != b) break;
      d += 8;
    }
    while (d < limit && prev[d] == key[d]) ++d;
  }
  dup = d;
}

// The bytes an exterior node needs after its 24-byte head, for n keys given by key_at(i)
// with record numbers rec_at(i).
template <class KeyAt, class RecAt>
size_t leaf_space(size_t n, KeyAt key_at, RecAt rec_at, int kl, char fill) {
  uint32_t maxrec = 0;
  for (size_t i = 0; i < n; ++i) maxrec = std::max(maxrec, rec_at(i));
  LeafBits b = leaf_bits(kl, maxrec);
  size_t total = n * size_t(b.bytes);
  const char* prev = nullptr;
  for (size_t i = 0; i < n; ++i) {
    const char* k = key_at(i);
    int dup, trail;
    compress(prev, k, kl, fill, b.count_mask(), dup, trail);
    total += size_t(kl - dup - trail);
    prev = k;
  }
  return total;
}

template <class KeyAt, class RecAt, class CountsAt>
void encode_leaf_with(uint8_t* page, size_t n, KeyAt key_at, RecAt rec_at, CountsAt counts_at, int kl, LeafBits b,
                      bool root, uint32_t left, uint32_t right);

template <class KeyAt, class RecAt>
void encode_leaf(uint8_t* page, size_t n, KeyAt key_at, RecAt rec_at, int kl, char fill, bool root, uint32_t left,
                 uint32_t right) {
  uint32_t maxrec = 0;
  for (size_t i = 0; i < n; ++i) maxrec = std::max(maxrec, rec_at(i));
  LeafBits b = leaf_bits(kl, maxrec);
  encode_leaf_with(
      page, n, key_at, rec_at,
      [&](size_t i, int& dup, int& trail) {
        compress(i ? key_at(i - 1) : nullptr, key_at(i), kl, fill, b.count_mask(), dup, trail);
      },
      kl, b, root, left, right);
}

// The same with the counts of each key given by counts_at(i, dup, trail), for widths b.
template <class KeyAt, class RecAt, class CountsAt>
void encode_leaf_with(uint8_t* page, size_t n, KeyAt key_at, RecAt rec_at, CountsAt counts_at, int kl, LeafBits b,
                      bool root, uint32_t left, uint32_t right) {
  std::memset(page, 0, kPage);
  put16(page + 0, root ? 3 : 2);
  put16(page + 2, uint32_t(n));
  put32(page + 4, left);
  put32(page + 8, right);
  put32(page + 14, uint32_t(b.rec_mask()));
  page[18] = uint8_t(b.count_mask());
  page[19] = uint8_t(b.count_mask());
  page[20] = uint8_t(b.rec);
  page[21] = uint8_t(b.count);
  page[22] = uint8_t(b.count);
  page[23] = uint8_t(b.bytes);
  size_t end = kPage;
  for (size_t i = 0; i < n; ++i) {
    const char* k = key_at(i);
    int dup, trail;
    counts_at(i, dup, trail);
    uint64_t v = uint64_t(rec_at(i)) | uint64_t(dup) << b.rec | uint64_t(trail) << (b.rec + b.count);
    std::memcpy(page + kLeafHead + i * size_t(b.bytes), &v, size_t(b.bytes));  // little-endian host
    size_t stored = size_t(kl - dup - trail);
    end -= stored;
    std::memcpy(page + end, k + dup, stored);
  }
  put16(page + 12, uint32_t(end - kLeafHead - n * size_t(b.bytes)));
}

template <class KeyAt, class RecAt, class KidAt>
void encode_interior(uint8_t* page, size_t n, KeyAt key_at, RecAt rec_at, KidAt kid_at, int kl, bool root,
                     uint32_t left, uint32_t right) {
  std::memset(page, 0, kPage);
  put16(page + 0, root ? 1 : 0);
  put16(page + 2, uint32_t(n));
  put32(page + 4, left);
  put32(page + 8, right);
  uint8_t* p = page + kInteriorHead;
  for (size_t i = 0; i < n; ++i) {
    std::memcpy(p, key_at(i), size_t(kl));
    put32be(p + kl, rec_at(i));
    put32be(p + kl + 4, kid_at(i));
    p += kl + 8;
  }
}

size_t interior_capacity(int kl) { return (kPage - kInteriorHead) / size_t(kl + 8); }

Status damaged(const std::string& path, const std::string& what) {
  return Status(Code::DAMAGED, path + ": index damaged: " + what);
}

std::string hex(uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%X", v);
  return buf;
}

// A decoded node.
struct Node {
  uint32_t offset = 0;
  bool leaf = true;
  bool dirty = false;
  uint32_t left = kNone, right = kNone;
  std::string keys;            // size() * key length bytes
  std::vector<uint32_t> recs;  // record numbers
  std::vector<uint32_t> kids;  // child pages (interior)

  size_t size() const { return recs.size(); }
  const char* key(size_t i, int kl) const { return keys.data() + i * size_t(kl); }
};

// memcmp for short keys, eight bytes at a time.
inline int key_compare(const char* a, const char* b, size_t n) {
  for (; n >= 8; a += 8, b += 8, n -= 8) {
    uint64_t x, y;
    std::memcpy(&x, a, 8);
    std::memcpy(&y, b, 8);
    if (x != y) return __builtin_bswap64(x) < __builtin_bswap64(y) ? -1 : 1;
  }
  for (; n; ++a, ++b, --n)
    if (*a != *b) return uint8_t(*a) < uint8_t(*b) ? -1 : 1;
  return 0;
}

// Decoded pages by page number.
class PageCache {
 public:
  Node* find(uint32_t off) const {
    size_t i = off / kPage;
    return i < slots_.size() ? slots_[i].get() : nullptr;
  }
  Node* put(std::unique_ptr<Node> n) {
    size_t i = n->offset / kPage;
    if (i >= slots_.size()) slots_.resize(i + 1 + slots_.size() / 2);
    if (!slots_[i]) ++count_;
    slots_[i] = std::move(n);
    return slots_[i].get();
  }
  void erase(uint32_t off) {
    size_t i = off / kPage;
    if (i < slots_.size() && slots_[i]) {
      slots_[i].reset();
      --count_;
    }
  }
  void clear() {
    slots_.clear();
    count_ = 0;
  }
  size_t size() const { return count_; }
  void drop_clean() {
    for (auto& n : slots_)
      if (n && !n->dirty) {
        n.reset();
        --count_;
      }
  }

 private:
  std::vector<std::unique_ptr<Node>> slots_;
  size_t count_ = 0;
};

// Compares entry i of a node with (key, recno).
inline int compare(const Node& n, size_t i, int kl, const char* key, uint32_t recno) {
  int c = key_compare(n.key(i, kl), key, size_t(kl));
  if (c) return c;
  return n.recs[i] < recno ? -1 : n.recs[i] > recno ? 1 : 0;
}

}  // namespace

struct CdxIndex::Impl {
  Env* env = nullptr;
  std::string path;
  std::unique_ptr<File> file;
  bool read_only = true;

  std::string tag, expression;
  char type = 'C';
  char fill = ' ';
  int kl = 0;
  uint32_t tag_offset = 0;
  uint32_t root = 0;
  uint32_t free_head = kNone;
  uint32_t counter = 0, tag_counter = 0;
  uint8_t file_head[16] = {}, tag_head[16] = {};  // as last read or written, to see others' changes
  std::vector<uint8_t> head_region;                // bytes 0 .. tag header + 16, when that is small
  uint64_t page_end = 0;                          // where the next new page goes
  bool header_dirty = false;

  PageCache cache;
  std::vector<uint32_t> dirty;                            // offsets of changed nodes
  std::vector<std::pair<uint32_t, uint32_t>> freed;       // pages freed since the last flush, and their next
  uint32_t hint_leaf = kNone;                             // where the last entry returned was
  size_t hint_pos = 0;

  Status fail(const std::string& what) const { return damaged(path, what); }

  // ---- pages -------------------------------------------------------------------------

  Status read_page(uint32_t off, uint8_t* buf) {
    size_t got = 0;
    Status s = file->read_at(off, buf, kPage, &got);
    if (!s) return s;
    if (got != kPage) return fail("page " + hex(off) + " is cut short");
    return Status();
  }

  bool valid_offset(uint32_t off) const {
    return off != kNone && off >= kHeader && off % kPage == 0 && uint64_t(off) + kPage <= page_end &&
           (off + kPage <= tag_offset || off >= tag_offset + kHeader);
  }

  // Decodes one node; every count and length is checked against the page, so that garbage
  // gives DAMAGED and never a read outside the buffer.
  Status decode(uint32_t off, const uint8_t* p, int key_length, char fill_byte, Node& n) const {
    uint16_t attr = get16(p);
    size_t count = get16(p + 2);
    n.offset = off;
    n.left = get32(p + 4);
    n.right = get32(p + 8);
    if (attr > 3) return fail("page " + hex(off) + " has unknown attributes " + std::to_string(attr));
    n.leaf = (attr & 2) != 0;
    size_t kl = size_t(key_length);
    n.keys.resize(count * kl);
    n.recs.resize(count);
    if (!n.leaf) {
      if (count == 0 || count > interior_capacity(key_length))
        return fail("interior page " + hex(off) + " holds " + std::to_string(count) + " keys");
      n.kids.resize(count);
      const uint8_t* e = p + kInteriorHead;
      for (size_t i = 0; i < count; ++i, e += kl + 8) {
        std::memcpy(&n.keys[i * kl], e, kl);
        n.recs[i] = get32be(e + kl);
        n.kids[i] = get32be(e + kl + 4);
        if (i && key_compare(&n.keys[(i - 1) * kl], &n.keys[i * kl], kl) > 0)
          return fail("keys out of order in page " + hex(off));
      }
      return Status();
    }
    n.kids.clear();
    uint32_t rmask = get32(p + 14);
    uint32_t dmask = p[18], tmask = p[19];
    int rbits = p[20], dbits = p[21], tbits = p[22], bytes = p[23];
    if (bytes < 1 || bytes > 8 || rbits + dbits + tbits > bytes * 8 || rbits > 32 || dbits > 8 || tbits > 8 ||
        kLeafHead + count * size_t(bytes) > kPage)
      return fail("page " + hex(off) + " has impossible entry widths");
    size_t end = kPage;
    size_t floor = kLeafHead + count * size_t(bytes);
    for (size_t i = 0; i < count; ++i) {
      uint64_t v = 0;
      for (int j = 0; j < bytes; ++j) v |= uint64_t(p[kLeafHead + i * size_t(bytes) + size_t(j)]) << (8 * j);
      uint32_t rec = uint32_t(v & rmask);
      size_t dup = size_t((v >> rbits) & dmask);
      size_t trail = size_t((v >> (rbits + dbits)) & tmask);
      if (dup + trail > kl || (i == 0 && dup != 0)) return fail("page " + hex(off) + " has a bad key count");
      size_t stored = kl - dup - trail;
      if (end < floor + stored) return fail("page " + hex(off) + " has keys beyond its entries");
      end -= stored;
      char* k = &n.keys[i * kl];
      if (dup) std::memcpy(k, k - kl, dup);
      std::memcpy(k + dup, p + end, stored);
      std::memset(k + dup + stored, fill_byte, trail);
      n.recs[i] = rec;
      if (rec == 0) return fail("page " + hex(off) + " has record number 0");
      if (i && key_compare(k - kl, k, kl) > 0) return fail("keys out of order in page " + hex(off));
    }
    return Status();
  }

  Result<Node*> load(uint32_t off) {
    if (Node* cached = cache.find(off)) return cached;
    if (!valid_offset(off)) return fail("pointer " + hex(off) + " outside the index pages");
    uint8_t buf[kPage];
    if (Status s = read_page(off, buf); !s) return s;
    auto n = std::make_unique<Node>();
    if (Status s = decode(off, buf, kl, fill, *n); !s) return s;
    return cache.put(std::move(n));
  }

  void mark(Node* n) {
    if (!n->dirty) {
      n->dirty = true;
      dirty.push_back(n->offset);
    }
  }

  void trim_cache() {
    if (cache.size() <= kCacheLimit) return;
    cache.drop_clean();
    hint_leaf = kNone;
  }

  void drop_cache() {
    cache.clear();
    dirty.clear();
    freed.clear();
    header_dirty = false;
    hint_leaf = kNone;
  }

  Result<Node*> new_node(bool leaf) {
    uint32_t off = kNone;
    if (free_head != kNone) {
      off = free_head;
      uint32_t next = kNone;
      auto f = std::find_if(freed.begin(), freed.end(), [&](auto& p) { return p.first == off; });
      if (f != freed.end()) {
        next = f->second;
        freed.erase(f);
      } else {
        uint8_t b[4];
        size_t got = 0;
        if (Status s = file->read_at(off, b, 4, &got); !s) return s;
        next = got == 4 ? get32(b) : kNone;
      }
      // A broken chain loses its pages, never reuses one in use.
      free_head = next == 0 || !valid_offset(next) || cache.find(next) ? kNone : next;
      header_dirty = true;
    } else {
      if (page_end + kPage > 0xFFFFFE00u) return Status(Code::DOES_NOT_FIT, path + ": index file full");
      off = uint32_t(page_end);
      page_end += kPage;
    }
    auto n = std::make_unique<Node>();
    n->offset = off;
    n->leaf = leaf;
    Node* raw = cache.put(std::move(n));
    mark(raw);
    return raw;
  }

  void free_node(Node* n) {
    uint32_t off = n->offset;
    cache.erase(off);
    freed.emplace_back(off, free_head);
    free_head = off;
    header_dirty = true;
  }

  // ---- header ------------------------------------------------------------------------

  Status read_heads(uint8_t* fh, uint8_t* th) {
    size_t got = 0;
    if (tag_offset + 16 <= 4096) {  // both in one read, as in the files written here
      head_region.resize(tag_offset + 16);
      if (Status s = file->read_at(0, head_region.data(), head_region.size(), &got); !s) return s;
      if (got != head_region.size()) return fail("header cut short");
      std::memcpy(fh, head_region.data(), 16);
      std::memcpy(th, head_region.data() + tag_offset, 16);
      return Status();
    }
    if (Status s = file->read_at(0, fh, 16, &got); !s) return s;
    if (got != 16) return fail("header cut short");
    if (Status s = file->read_at(tag_offset, th, 16, &got); !s) return s;
    if (got != 16) return fail("tag header cut short");
    return Status();
  }

  // Takes root, free list and counters from the header bytes just read.
  Status take_heads(const uint8_t* fh, const uint8_t* th) {
    if (get16(th + 12) != kl || th[15] != 0x01)
      return fail("the tag was rebuilt with another key by another program; open it again");
    std::memcpy(file_head, fh, 16);
    std::memcpy(tag_head, th, 16);
    Result<uint64_t> size = file->size();
    if (!size) return size.status();
    page_end = (*size + kPage - 1) / kPage * kPage;
    root = get32(th);
    counter = get32(fh + 8);
    tag_counter = get32(th + 8);
    uint32_t f = get32(fh + 4);
    free_head = f == 0 || !valid_offset(f) ? kNone : f;
    if (!valid_offset(root)) return fail("root page " + hex(root) + " outside the file");
    return Status();
  }

  Status write_heads() {
    put32(file_head + 4, free_head == kNone ? 0 : free_head);
    put32(file_head + 8, counter);
    put32(tag_head + 0, root);
    put32(tag_head + 8, tag_counter);
    if (head_region.size() == tag_offset + 16) {  // one write for both
      std::memcpy(head_region.data(), file_head, 12);
      std::memcpy(head_region.data() + tag_offset, tag_head, 12);
      return file->write_at(0, head_region.data(), head_region.size());
    }
    if (Status s = file->write_at(0, file_head, 12); !s) return s;
    return file->write_at(tag_offset, tag_head, 12);
  }

  // ---- search ------------------------------------------------------------------------

  struct Step {
    Node* node;
    size_t pos;  // child taken (interior) or entry position (leaf)
  };
  std::vector<Step> path_buffer;  // reused by each search

  // Walks from the root to a leaf. `before(node, i)` tells whether entry i lies before the
  // place searched; each level takes the first entry not before it (the last child when all
  // are). The leaf's position may be its size (everything before).
  template <class Before>
  Status descend(Before before, std::vector<Step>& path) {
    path.clear();
    uint32_t off = root;
    for (int depth = 0;; ++depth) {
      if (depth >= kMaxDepth) return fail("tree deeper than " + std::to_string(kMaxDepth) + " levels (a loop?)");
      Result<Node*> r = load(off);
      if (!r) return r.status();
      Node* n = *r;
      size_t lo = 0, hi = n->size();
      while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        if (before(*n, mid)) lo = mid + 1;
        else hi = mid;
      }
      if (n->leaf) {
        path.push_back({n, lo});
        return Status();
      }
      if (lo == n->size()) lo = n->size() - 1;
      path.push_back({n, lo});
      off = n->kids[lo];
    }
  }

  Status descend_entry(const char* key, uint32_t recno, bool after, std::vector<Step>& path) {
    int k = kl;
    if (after)
      return descend([&](const Node& n, size_t i) { return compare(n, i, k, key, recno) <= 0; }, path);
    return descend([&](const Node& n, size_t i) { return compare(n, i, k, key, recno) < 0; }, path);
  }

  // Order of an entry against (key of key-length bytes, recno).
  int order(const IndexEntry& e, const std::string& key, uint32_t recno) const {
    int c = std::memcmp(e.key.data(), key.data(), size_t(kl));
    if (c) return c;
    return e.recno < recno ? -1 : e.recno > recno ? 1 : 0;
  }

  IndexEntry entry(Node* n, size_t i) {
    hint_leaf = n->offset;
    hint_pos = i;
    return IndexEntry{std::string(n->key(i, kl), size_t(kl)), n->recs[i]};
  }

  // The first entry at or after position pos of leaf n, following right siblings.
  Result<std::optional<IndexEntry>> forward(Node* n, size_t pos) {
    for (uint64_t steps = 0; pos >= n->size(); ++steps) {
      if (n->right == kNone) return std::optional<IndexEntry>();
      if (steps > page_end / kPage) return fail("loop in the sibling pointers");
      Result<Node*> r = load(n->right);
      if (!r) return r.status();
      if (!(*r)->leaf) return fail("sibling of a leaf is not a leaf, page " + hex(n->right));
      n = *r;
      pos = 0;
    }
    return std::optional<IndexEntry>(entry(n, pos));
  }

  // The last entry before position pos of leaf n, following left siblings.
  Result<std::optional<IndexEntry>> backward(Node* n, size_t pos) {
    for (uint64_t steps = 0; pos == 0; ++steps) {
      if (n->left == kNone) return std::optional<IndexEntry>();
      if (steps > page_end / kPage) return fail("loop in the sibling pointers");
      Result<Node*> r = load(n->left);
      if (!r) return r.status();
      if (!(*r)->leaf) return fail("sibling of a leaf is not a leaf, page " + hex(n->left));
      n = *r;
      pos = n->size();
    }
    return std::optional<IndexEntry>(entry(n, pos - 1));
  }

  // Whether the last entry returned is `e`; then its leaf and position.
  bool at_hint(const IndexEntry& e, Node*& n, size_t& pos) {
    if (hint_leaf == kNone) return false;
    n = cache.find(hint_leaf);
    if (!n || !n->leaf) return false;
    pos = hint_pos;
    return pos < n->size() && e.key.size() == size_t(kl) && compare(*n, pos, kl, e.key.data(), e.recno) == 0;
  }

  // ---- changes -----------------------------------------------------------------------

  size_t node_space(const Node& n) const {
    return leaf_space(n.size(), [&](size_t i) { return n.key(i, kl); }, [&](size_t i) { return n.recs[i]; }, kl, fill);
  }
  // Whether entries [from, to) of node n would fit in a node of their own.
  bool fits_part(const Node& n, size_t from, size_t to) const {
    if (!n.leaf) return to - from <= interior_capacity(kl);
    return kLeafHead + leaf_space(
                           to - from, [&](size_t i) { return n.key(from + i, kl); },
                           [&](size_t i) { return n.recs[from + i]; }, kl, fill) <=
           kPage;
  }
  bool fits(const Node& n) const {
    if (n.leaf) return kLeafHead + node_space(n) <= kPage;
    return n.size() <= interior_capacity(kl);
  }

  static void insert_at(Node& n, size_t pos, const char* key, uint32_t recno, uint32_t kid, int kl) {
    n.keys.insert(pos * size_t(kl), key, size_t(kl));
    n.recs.insert(n.recs.begin() + long(pos), recno);
    if (!n.leaf) n.kids.insert(n.kids.begin() + long(pos), kid);
  }
  static void erase_at(Node& n, size_t pos, int kl) {
    n.keys.erase(pos * size_t(kl), size_t(kl));
    n.recs.erase(n.recs.begin() + long(pos));
    if (!n.leaf) n.kids.erase(n.kids.begin() + long(pos));
  }
  // Sets entry i of parent p to the last entry of child c.
  bool set_max(Node& p, size_t i, const Node& c) {
    const char* last = c.key(c.size() - 1, kl);
    uint32_t rec = c.recs.back();
    if (p.recs[i] == rec && std::memcmp(p.key(i, kl), last, size_t(kl)) == 0) return false;
    std::memcpy(&p.keys[i * size_t(kl)], last, size_t(kl));
    p.recs[i] = rec;
    mark(&p);
    return true;
  }

  // After node path[level] changed its last entry, carries that up the tree.
  void fix_up(std::vector<Step>& path, size_t level) {
    for (size_t l = level; l > 0; --l) {
      Node& parent = *path[l - 1].node;
      size_t i = path[l - 1].pos;
      if (!set_max(parent, i, *path[l].node) || i + 1 != parent.size()) return;
    }
  }

  // Splits the overfull node path[level]; the parent gets an entry for each new node.
  // `added` is the position of the entry that made it overfull (npos: none in particular).
  Status split(std::vector<Step>& path, size_t level, size_t added) {
    Node* n = path[level].node;
    const size_t count = n->size();
    // An entry added at the end of a node (keys arriving in order, or more duplicates of one
    // key) leaves the left part full, as a bulk build would: halving there would leave a trail
    // of nodes a third full and, where few entries fit in a node, a tree growing a level with
    // almost every insert. Otherwise halves.
    size_t cut = added + 1 == count ? count - 1 : count / 2;
    std::vector<size_t> cuts;  // where each new node starts
    auto suits = [&](size_t k) { return fits_part(*n, 0, k) && fits_part(*n, k, count); };
    if (suits(cut)) {
      cuts.push_back(cut);
    } else {
      // Keys compressed unevenly: the nearest cut that suits both parts.
      for (size_t d = 1; d < count && cuts.empty(); ++d) {
        if (cut > d && suits(cut - d)) cuts.push_back(cut - d);
        else if (cut + d < count && suits(cut + d)) cuts.push_back(cut + d);
      }
      // None (an entry with a large record number widens every entry of its node, and so
      // fewer fit): as many nodes as it takes, each filled in turn.
      if (cuts.empty()) {
        for (size_t from = 0;;) {
          size_t to = from + 1;
          while (to < count && fits_part(*n, from, to + 1)) ++to;
          if (to >= count) break;
          cuts.push_back(to);
          from = to;
        }
      }
    }
    if (cuts.empty()) return fail("a key does not fit in a page");
    return split_at(path, level, cuts);
  }

  // Moves entries [cuts[j], cuts[j+1]) of node path[level] into new nodes to its right.
  Status split_at(std::vector<Step>& path, size_t level, const std::vector<size_t>& cuts) {
    Node* n = path[level].node;
    const size_t count = n->size();
    std::vector<Node*> parts{n};
    for (size_t j = 0; j < cuts.size(); ++j) {
      Result<Node*> made = new_node(n->leaf);
      if (!made) return made.status();
      Node* r = *made;
      size_t from = cuts[j], to = j + 1 < cuts.size() ? cuts[j + 1] : count;
      r->keys.assign(n->keys, from * size_t(kl), (to - from) * size_t(kl));
      r->recs.assign(n->recs.begin() + long(from), n->recs.begin() + long(to));
      if (!n->leaf) r->kids.assign(n->kids.begin() + long(from), n->kids.begin() + long(to));
      parts.push_back(r);
    }
    n->keys.resize(cuts[0] * size_t(kl));
    n->recs.resize(cuts[0]);
    if (!n->leaf) n->kids.resize(cuts[0]);
    mark(n);
    uint32_t after = n->right;
    for (size_t j = 1; j < parts.size(); ++j) {
      parts[j]->left = parts[j - 1]->offset;
      parts[j - 1]->right = parts[j]->offset;
    }
    parts.back()->right = after;
    if (after != kNone) {
      Result<Node*> rr = load(after);
      if (!rr) return rr.status();
      (*rr)->left = parts.back()->offset;
      mark(*rr);
    }

    if (level == 0) {  // the root split: a new root above the parts
      Result<Node*> top = new_node(false);
      if (!top) return top.status();
      Node* t = *top;
      for (Node* part : parts) insert_at(*t, t->size(), part->key(part->size() - 1, kl), part->recs.back(), part->offset, kl);
      root = t->offset;
      header_dirty = true;
      if (fits(*t)) return Status();
      std::vector<Step> above{{t, 0}};
      return split(above, 0, std::string::npos);
    }
    Node* p = path[level - 1].node;
    size_t i = path[level - 1].pos;
    set_max(*p, i, *n);
    for (size_t j = 1; j < parts.size(); ++j)
      insert_at(*p, i + j, parts[j]->key(parts[j]->size() - 1, kl), parts[j]->recs.back(), parts[j]->offset, kl);
    mark(p);
    size_t last = i + parts.size() - 1;
    if (!fits(*p)) return split(path, level - 1, last);
    if (last + 1 == p->size()) fix_up(path, level - 1);
    return Status();
  }

  // Takes the empty node path[level] out of the tree; *alive is the level of the lowest
  // ancestor still there (which lost an entry).
  Status unlink(std::vector<Step>& path, size_t level, size_t* alive) {
    Node* n = path[level].node;
    uint32_t left = n->left, right = n->right;
    if (left != kNone) {
      Result<Node*> l = load(left);
      if (!l) return l.status();
      (*l)->right = right;
      mark(*l);
    }
    if (right != kNone) {
      Result<Node*> r = load(right);
      if (!r) return r.status();
      (*r)->left = left;
      mark(*r);
    }
    free_node(n);
    Node* p = path[level - 1].node;
    size_t i = path[level - 1].pos;
    erase_at(*p, i, kl);
    mark(p);
    if (p->size() == 0) {
      if (level - 1 == 0) {  // the whole tree is empty: the root becomes an empty leaf
        p->leaf = true;
        p->kids.clear();
        *alive = 0;
        return Status();
      }
      return unlink(path, level - 1, alive);
    }
    if (i == p->size()) fix_up(path, level - 1);
    *alive = level - 1;
    return Status();
  }

  // A root with a single child hands the root over to it.
  Status shrink_root() {
    for (;;) {
      Result<Node*> r = load(root);
      if (!r) return r.status();
      Node* t = *r;
      if (t->leaf || t->size() != 1) return Status();
      Result<Node*> c = load(t->kids[0]);
      if (!c) return c.status();
      mark(*c);  // its attributes change
      root = (*c)->offset;
      header_dirty = true;
      free_node(t);
    }
  }

  // A node left at most half full after a removal is joined with a neighbour under the same
  // parent when both fit in one page; the parent, having lost an entry, is tried in turn.
  Status merge(std::vector<Step>& path, size_t level) {
    for (; level > 0; --level) {
      Node* n = path[level].node;
      Node* p = path[level - 1].node;
      size_t i = path[level - 1].pos;
      bool small = n->leaf ? kLeafHead + node_space(*n) <= kPage / 2 : 2 * n->size() <= interior_capacity(kl);
      if (!small || p->size() < 2) return Status();
      size_t a = i + 1 < p->size() ? i : i - 1;  // join children a and a + 1
      Result<Node*> ra = a == i ? Result<Node*>(n) : load(p->kids[a]);
      if (!ra) return ra.status();
      Result<Node*> rb = a == i ? load(p->kids[a + 1]) : Result<Node*>(n);
      if (!rb) return rb.status();
      Node* l = *ra;
      Node* r = *rb;
      if (l->leaf != r->leaf || l->right != r->offset || r->left != l->offset) return Status();
      Node both = *l;
      both.keys += r->keys;
      both.recs.insert(both.recs.end(), r->recs.begin(), r->recs.end());
      both.kids.insert(both.kids.end(), r->kids.begin(), r->kids.end());
      if (!fits(both)) return Status();
      l->keys = std::move(both.keys);
      l->recs = std::move(both.recs);
      l->kids = std::move(both.kids);
      r->keys.clear();
      r->recs.clear();
      r->kids.clear();
      mark(l);
      set_max(*p, a, *l);
      path.resize(level + 1);
      path[level - 1].pos = a + 1;
      path[level] = {r, 0};
      size_t alive;
      if (Status s = unlink(path, level, &alive); !s) return s;
    }
    return Status();
  }
};

// ---- opening ---------------------------------------------------------------------------

namespace {

// Reads a 1024-byte header and checks what every header must hold.
Status check_header(CdxIndex::Impl& x, uint32_t off, const char* what, uint8_t* h, uint64_t size) {
  if (uint64_t(off) + kHeader > size) return x.fail(std::string(what) + " at " + hex(off) + " is beyond the end");
  size_t got = 0;
  if (Status s = x.file->read_at(off, h, kHeader, &got); !s) return s;
  if (got != kHeader) return x.fail(std::string(what) + " cut short");
  if (h[15] != 0x01) return x.fail(std::string(what) + " has signature " + std::to_string(h[15]) + ", not 1");
  if (!(h[14] & 0x20)) return x.fail(std::string(what) + " is not of a compact index");
  uint16_t kl = get16(h + 12);
  if (kl < 1 || kl > kMaxKey) return x.fail(std::string(what) + " has key length " + std::to_string(kl));
  return Status();
}

}  // namespace

CdxIndex::CdxIndex(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
CdxIndex::~CdxIndex() = default;

static Result<std::unique_ptr<CdxIndex::Impl>> open_impl(Env& env, const std::string& path, bool read_only,
                                                        const std::vector<FieldInfo>* fields) {
  auto x = std::make_unique<CdxIndex::Impl>();
  x->env = &env;
  x->path = path;
  x->read_only = read_only;
  Result<std::unique_ptr<File>> f = env.open(path, read_only ? OpenMode::READ : OpenMode::READ_WRITE);
  if (!f) return f.status();
  x->file = std::move(*f);
  Result<uint64_t> size = x->file->size();
  if (!size) return size.status();
  if (*size < kHeader + kPage) return x->fail("file of " + std::to_string(*size) + " bytes is too short");
  x->page_end = (*size + kPage - 1) / kPage * kPage;

  // The tag directory: a small tree of tag names whose record numbers are header offsets.
  uint8_t dir[kHeader];
  if (Status s = check_header(*x, 0, "header", dir, *size); !s) return s;
  if ((dir[14] & 0x40) == 0) return x->fail("not a compound index (no tag directory)");
  x->tag_offset = 0;  // no tag header yet: every page past the file header is allowed
  x->kl = get16(dir + 12);
  x->fill = ' ';
  x->root = get32(dir);
  std::vector<std::pair<std::string, uint32_t>> tags;
  {
    std::vector<CdxIndex::Impl::Step> path;
    if (!x->valid_offset(x->root)) return x->fail("tag directory at " + hex(x->root) + " outside the file");
    Status s = x->descend([](const Node&, size_t) { return false; }, path);
    if (!s) return s;
    Result<std::optional<IndexEntry>> e = x->forward(path.back().node, 0);
    for (size_t n = 0; e && e->has_value() && n < 1000; ++n) {
      std::string name = (*e)->key;
      while (!name.empty() && (name.back() == ' ' || name.back() == '\0')) name.pop_back();
      tags.emplace_back(name, (*e)->recno);
      e = x->forward(x->cache.find(x->hint_leaf), x->hint_pos + 1);
    }
    if (!e) return e.status();
    if (tags.empty()) return x->fail("no tag in the tag directory");
    x->drop_cache();
  }
  // The tag named after the file, else the first.
  std::string base = path.substr(path.find_last_of("/\\") + 1);
  base = base.substr(0, base.find('.'));
  for (char& c : base) c = char(std::toupper(static_cast<unsigned char>(c)));
  auto chosen = tags.front();
  for (auto& t : tags) {
    std::string up = t.first;
    for (char& c : up) c = char(std::toupper(static_cast<unsigned char>(c)));
    if (up == base) chosen = t;
  }
  x->tag = chosen.first;
  x->tag_offset = chosen.second;
  if (x->tag_offset % kPage != 0 || x->tag_offset < kHeader)
    return x->fail("tag header at " + hex(x->tag_offset) + " is misplaced");

  uint8_t h[kHeader];
  if (Status s = check_header(*x, x->tag_offset, "tag header", h, *size); !s) return s;
  x->kl = get16(h + 12);
  if (h[14] & 0x08) return Status(Code::INVALID, path + ": indexes with a FOR condition are not supported");
  if (get16(h + 502) != 0) return Status(Code::INVALID, path + ": descending indexes are not supported");
  size_t at = get16(h + 508), len = get16(h + 510);
  if (at >= 512 || len > 512 - at) return x->fail("key expression outside its pool");
  const char* pool = reinterpret_cast<const char*>(h + 512 + at);
  x->expression.assign(pool, strnlen(pool, len));
  if (x->expression.empty()) return x->fail("no key expression");

  // The kind of key sets the fill byte of the compressed keys.
  if (fields) {
    Result<KeyExpr> k = KeyExpr::compile(x->expression, *fields);
    if (!k) return Status(Code::INVALID, path + ": " + k.status().message());
    if (k->length() != x->kl)
      return x->fail("key length " + std::to_string(x->kl) + " but its expression gives " +
                     std::to_string(k->length()));
    x->type = k->type();
  } else {
    // Without the fields: an 8-byte key of a bare name, or of YEAR/MONTH/DAY, is taken for a
    // number (or a date, which is stored the same way).
    std::string e;
    for (char c : x->expression)
      if (c != ' ') e += char(std::toupper(static_cast<unsigned char>(c)));
    bool bare = std::all_of(e.begin(), e.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
    bool part = e.rfind("YEAR(", 0) == 0 || e.rfind("MONTH(", 0) == 0 || e.rfind("DAY(", 0) == 0;
    x->type = (bare || part) && x->kl == 8 ? 'N' : 'C';
  }
  x->fill = x->type == 'C' ? ' ' : '\0';

  uint8_t fh[16], th[16];
  if (Status s = x->read_heads(fh, th); !s) return s;
  if (Status s = x->take_heads(fh, th); !s) return s;
  Result<Node*> r = x->load(x->root);
  if (!r) return r.status();
  uint8_t attr_check[kPage];
  if (Status s = x->read_page(x->root, attr_check); !s) return s;
  if (!(get16(attr_check) & 1)) return x->fail("root page " + hex(x->root) + " is not marked as root");
  return x;
}

Result<std::unique_ptr<CdxIndex>> CdxIndex::open(Env& env, const std::string& path, bool read_only) {
  auto x = open_impl(env, path, read_only, nullptr);
  if (!x) return x.status();
  return std::unique_ptr<CdxIndex>(new CdxIndex(std::move(*x)));
}

Result<std::unique_ptr<CdxIndex>> CdxIndex::open(Env& env, const std::string& path, bool read_only,
                                                 const std::vector<FieldInfo>& fields) {
  auto x = open_impl(env, path, read_only, &fields);
  if (!x) return x.status();
  return std::unique_ptr<CdxIndex>(new CdxIndex(std::move(*x)));
}

// ---- bulk build ------------------------------------------------------------------------

namespace {

void put_header(uint8_t* h, uint32_t root, int kl, uint8_t options, const std::string& expression) {
  std::memset(h, 0, kHeader);
  put32(h + 0, root);
  put32(h + 4, 0);
  put32(h + 8, 0);
  put16(h + 12, uint32_t(kl));
  h[14] = options;
  h[15] = 0x01;
  put16(h + 16, kHeader);
  put16(h + 18, kPage);
  size_t len = expression.size() + 1;
  put16(h + 502, 0);
  put16(h + 504, uint32_t(len));  // the (empty) FOR expression follows the key expression
  put16(h + 506, 1);
  put16(h + 508, 0);
  put16(h + 510, uint32_t(len));
  std::memcpy(h + 512, expression.data(), expression.size());
}

// An entry to sort: its first 16 key bytes as two big-endian numbers, so that comparisons are
// mostly integer ones and the sorted keys can be laid out again without visiting each entry.
struct Sorted {
  uint64_t h0, h1;
  uint32_t index;  // in the caller's entries
  uint32_t recno;
};

// Byte d (< 16) of a sorted entry's key.
inline unsigned key_byte(const Sorted& e, int d) {
  return unsigned((d < 8 ? e.h0 >> (56 - 8 * d) : e.h1 >> (56 - 8 * (d - 8))) & 0xFF);
}

// Most significant byte first radix sort on the first `depth_end` key bytes (at most 16);
// small groups and what is left after those bytes go to std::sort with the full order.
template <class Less>
void radix_sort(Sorted* a, Sorted* tmp, size_t n, int depth, int depth_end, Less& less) {
  while (n >= 64 && depth < depth_end) {
    size_t count[256] = {};
    for (size_t i = 0; i < n; ++i) ++count[key_byte(a[i], depth)];
    if (count[key_byte(a[0], depth)] == n) {  // the same byte everywhere
      ++depth;
      continue;
    }
    size_t pos[256];
    size_t sum = 0;
    for (int b = 0; b < 256; ++b) {
      pos[b] = sum;
      sum += count[b];
    }
    for (size_t i = 0; i < n; ++i) tmp[pos[key_byte(a[i], depth)]++] = a[i];
    std::memcpy(static_cast<void*>(a), tmp, n * sizeof(Sorted));
    size_t at = 0;
    for (int b = 0; b < 256; ++b) {
      if (count[b] > 1) radix_sort(a + at, tmp + at, count[b], depth + 1, depth_end, less);
      at += count[b];
    }
    return;
  }
  std::sort(a, a + n, less);
}

// Up to 8 bytes as a big-endian number, zeros after the end.
uint64_t be_bytes(const char* p, size_t n) {
  uint64_t v = 0;
  if (n >= 8) {
    std::memcpy(&v, p, 8);
    return __builtin_bswap64(v);
  }
  std::memcpy(&v, p, n);
  return __builtin_bswap64(v);
}

}  // namespace

Result<std::unique_ptr<CdxIndex>> CdxIndex::create(Env& env, const std::string& path, const std::string& tag,
                                                   const KeyExpr& expr, std::vector<IndexEntry> entries) {
  const int kl = expr.length();
  const char fill = expr.type() == 'C' ? ' ' : '\0';
  std::string name = tag;
  for (char& c : name) c = char(std::toupper(static_cast<unsigned char>(c)));
  if (name.empty() || name.size() > 10 || name.find(' ') != std::string::npos)
    return Status(Code::INVALID, path + ": tag name \"" + tag + "\" must have 1 to 10 characters");
  if (kl < 1 || kl > kMaxKey) return Status(Code::INVALID, path + ": key length " + std::to_string(kl));
  if (expr.expression().empty() || expr.expression().size() > 500)
    return Status(Code::INVALID, path + ": key expression must have 1 to 500 characters");

  std::vector<Sorted> order;
  order.reserve(entries.size());
  for (const IndexEntry& e : entries) {
    if (e.key.size() != size_t(kl) || e.recno == 0)
      return Status(Code::INVALID, path + ": entry with a key of " + std::to_string(e.key.size()) +
                                       " bytes or record 0 (key length " + std::to_string(kl) + ")");
    const char* k = e.key.data();
    order.push_back({be_bytes(k, size_t(kl)), kl > 8 ? be_bytes(k + 8, size_t(kl - 8)) : 0,
                     uint32_t(order.size()), e.recno});
  }
  const size_t tail = kl > 16 ? size_t(kl - 16) : 0;
  auto less = [&](const Sorted& a, const Sorted& b) {
    if (a.h0 != b.h0) return a.h0 < b.h0;
    if (a.h1 != b.h1) return a.h1 < b.h1;
    int c = tail ? std::memcmp(entries[a.index].key.data() + 16, entries[b.index].key.data() + 16, tail) : 0;
    return c < 0 || (c == 0 && a.recno < b.recno);
  };
  {
    std::vector<Sorted> tmp(order.size());
    radix_sort(order.data(), tmp.data(), order.size(), 0, std::min(kl, 16), less);
  }
  // The sorted keys side by side, read in order from here on.
  const size_t count = order.size();
  std::string flat(count * size_t(kl), '\0');
  std::vector<uint32_t> recs(count);
  for (size_t i = 0; i < count; ++i) {
    char* to = &flat[i * size_t(kl)];
    if (tail) {
      std::memcpy(to, entries[order[i].index].key.data(), size_t(kl));
    } else {
      uint64_t b0 = __builtin_bswap64(order[i].h0), b1 = __builtin_bswap64(order[i].h1);
      std::memcpy(to, &b0, std::min<size_t>(8, size_t(kl)));
      if (kl > 8) std::memcpy(to + 8, &b1, size_t(kl) - 8);
    }
    recs[i] = order[i].recno;
  }
  order = {};
  auto K = [&](size_t i) { return flat.data() + i * size_t(kl); };
  for (size_t i = 1; i < count; ++i)
    if (recs[i] == recs[i - 1] && std::memcmp(K(i), K(i - 1), size_t(kl)) == 0)
      return Status(Code::INVALID, path + ": record " + std::to_string(recs[i]) + " entered twice");

  // Leaves, filled left to right as full as they go.
  const uint32_t first_page = 3 * kHeader - kHeader / 2;  // 2560: after both headers and the directory
  std::vector<uint8_t> image(first_page, 0);
  image.reserve(first_page + (count * size_t(kl + 4) / 300 + 16) * kPage);
  struct Child {
    const char* key;
    uint32_t recno, page;
  };
  std::vector<Child> level;
  auto add_page = [&]() {
    uint32_t off = uint32_t(image.size());
    image.resize(image.size() + kPage);
    return off;
  };
  auto key_at = [&](size_t base) { return [&, base](size_t i) { return K(base + i); }; };
  auto rec_at = [&](size_t base) { return [&, base](size_t i) { return recs[base + i]; }; };
  {
    // Each leaf takes entries while they fit; the counts found on the way are kept for its page.
    std::vector<std::pair<int, int>> counts, narrower;
    size_t start = 0;
    bool any = false;
    while (start < count || !any) {
      any = true;
      counts.clear();
      size_t end = start, stored = 0;
      uint32_t maxrec = 0;
      LeafBits bits = leaf_bits(kl, 0);
      while (end < count) {
        uint32_t m = std::max(maxrec, recs[end]);
        LeafBits b = m == maxrec && end > start ? bits : leaf_bits(kl, m);
        size_t s = stored;
        if (b.count != bits.count && end > start) {  // narrower counts: those so far again
          narrower.resize(end - start);
          s = 0;
          for (size_t i = start; i < end; ++i) {
            auto& [d, t] = narrower[i - start];
            compress(i > start ? K(i - 1) : nullptr, K(i), kl, fill, b.count_mask(), d, t);
            s += size_t(kl - d - t);
          }
        }
        int dup, trail;
        compress(end > start ? K(end - 1) : nullptr, K(end), kl, fill, b.count_mask(), dup, trail);
        s += size_t(kl - dup - trail);
        if (kLeafHead + (end + 1 - start) * size_t(b.bytes) + s > kPage) break;
        if (b.count != bits.count && end > start) counts.swap(narrower);
        counts.emplace_back(dup, trail);
        stored = s;
        bits = b;
        maxrec = m;
        ++end;
      }
      uint32_t off = add_page();
      uint32_t left = start == 0 ? kNone : off - kPage;
      uint32_t right = end == count ? kNone : off + kPage;
      bool root = start == 0 && end == count;
      encode_leaf_with(
          &image[off], end - start, key_at(start), rec_at(start),
          [&](size_t i, int& d, int& t) { std::tie(d, t) = counts[i]; }, kl, bits, root, left, right);
      if (end > start) level.push_back({K(end - 1), recs[end - 1], off});
      else level.push_back({nullptr, 0, off});
      start = end;
    }
  }
  // Interior levels, bottom up, the children spread evenly over the nodes of each level.
  const size_t cap = interior_capacity(kl);
  while (level.size() > 1) {
    size_t nodes = (level.size() + cap - 1) / cap;
    std::vector<Child> up;
    size_t at = 0;
    for (size_t i = 0; i < nodes; ++i) {
      size_t take = level.size() / nodes + (i < level.size() % nodes ? 1 : 0);
      uint32_t off = add_page();
      uint32_t left = i == 0 ? kNone : off - kPage;
      uint32_t right = i + 1 == nodes ? kNone : off + kPage;
      encode_interior(
          &image[off], take, [&](size_t j) { return level[at + j].key; }, [&](size_t j) { return level[at + j].recno; },
          [&](size_t j) { return level[at + j].page; }, kl, nodes == 1, left, right);
      up.push_back({level[at + take - 1].key, level[at + take - 1].recno, off});
      at += take;
    }
    level = std::move(up);
  }
  uint32_t root = level.front().page;

  // Headers and the tag directory.
  const uint32_t dir_page = kHeader, tag_header = kHeader + kPage;
  put_header(&image[0], dir_page, 10, 0xE0, "");
  put_header(&image[tag_header], root, kl, 0x60, expr.expression());
  std::string padded = name + std::string(10 - name.size(), ' ');
  encode_leaf(
      &image[dir_page], 1, [&](size_t) { return padded.data(); }, [&](size_t) { return tag_header; }, 10, ' ', true,
      kNone, kNone);

  std::string tmp = path + ".tmp";
  {
    Result<std::unique_ptr<File>> f = env.open(tmp, OpenMode::CREATE_TRUNC);
    if (!f) return f.status();
    Status s = (*f)->write_at(0, image.data(), image.size());
    if (s) s = (*f)->sync();
    if (!s) {
      f->reset();
      env.remove(tmp);
      return s;
    }
  }
  if (Status s = env.rename(tmp, path); !s) {
    env.remove(tmp);
    return s;
  }
  size_t slash = path.find_last_of('/');
  if (Status s = env.sync_folder(slash == std::string::npos ? "." : path.substr(0, slash)); !s) return s;
  auto x = open_impl(env, path, false, nullptr);
  if (!x) return x.status();
  (*x)->type = expr.type();
  (*x)->fill = fill;
  (*x)->drop_cache();
  return std::unique_ptr<CdxIndex>(new CdxIndex(std::move(*x)));
}

// ---- the tag's interface ---------------------------------------------------------------

const std::string& CdxIndex::tag() const { return impl_->tag; }
const std::string& CdxIndex::expression() const { return impl_->expression; }
char CdxIndex::key_type() const { return impl_->type; }
int CdxIndex::key_length() const { return impl_->kl; }
File& CdxIndex::file() { return *impl_->file; }

Status CdxIndex::insert(const IndexEntry& e) {
  Impl& x = *impl_;
  if (x.read_only) return Status(Code::INVALID, x.path + ": opened read only");
  if (e.key.size() != size_t(x.kl) || e.recno == 0)
    return Status(Code::INVALID, x.path + ": key of " + std::to_string(e.key.size()) + " bytes or record 0");
  x.trim_cache();
  x.hint_leaf = kNone;
  auto& path = x.path_buffer;
  if (Status s = x.descend_entry(e.key.data(), e.recno, false, path); !s) return s;
  Node* leaf = path.back().node;
  size_t pos = path.back().pos;
  if (pos < leaf->size() && compare(*leaf, pos, x.kl, e.key.data(), e.recno) == 0)
    return Status(Code::INVALID, x.path + ": record " + std::to_string(e.recno) + " is already under that key");
  bool at_end = pos == leaf->size();
  Impl::insert_at(*leaf, pos, e.key.data(), e.recno, 0, x.kl);
  x.mark(leaf);
  if (x.fits(*leaf)) {
    if (at_end) x.fix_up(path, path.size() - 1);
    return Status();
  }
  return x.split(path, path.size() - 1, pos);
}

Status CdxIndex::remove(const IndexEntry& e) {
  Impl& x = *impl_;
  if (x.read_only) return Status(Code::INVALID, x.path + ": opened read only");
  if (e.key.size() != size_t(x.kl)) return Status(Code::NOT_FOUND, x.path + ": no such entry");
  x.trim_cache();
  x.hint_leaf = kNone;
  auto& path = x.path_buffer;
  if (Status s = x.descend_entry(e.key.data(), e.recno, false, path); !s) return s;
  Node* leaf = path.back().node;
  size_t pos = path.back().pos;
  if (pos >= leaf->size() || compare(*leaf, pos, x.kl, e.key.data(), e.recno) != 0)
    return Status(Code::NOT_FOUND, x.path + ": record " + std::to_string(e.recno) + " is not under that key");
  Impl::erase_at(*leaf, pos, x.kl);
  x.mark(leaf);
  size_t level = path.size() - 1;
  if (leaf->size() == 0 && level > 0) {
    size_t alive;
    if (Status s = x.unlink(path, level, &alive); !s) return s;
    if (Status s = x.merge(path, alive); !s) return s;
  } else if (!x.fits(*leaf)) {
    // The key after the removed one may share less with its new neighbour, and so need more
    // bytes than the removal freed.
    if (Status s = x.split(path, level, std::string::npos); !s) return s;
  } else {
    if (pos == leaf->size() && leaf->size() > 0) x.fix_up(path, level);
    if (Status s = x.merge(path, level); !s) return s;
  }
  return x.shrink_root();
}

Result<std::optional<IndexEntry>> CdxIndex::first() {
  Impl& x = *impl_;
  x.trim_cache();
  auto& path = x.path_buffer;
  if (Status s = x.descend([](const Node&, size_t) { return false; }, path); !s) return s;
  return x.forward(path.back().node, 0);
}

Result<std::optional<IndexEntry>> CdxIndex::last() {
  Impl& x = *impl_;
  x.trim_cache();
  auto& path = x.path_buffer;
  if (Status s = x.descend([](const Node&, size_t) { return true; }, path); !s) return s;
  return x.backward(path.back().node, path.back().pos);
}

Result<std::optional<IndexEntry>> CdxIndex::seek(std::string_view prefix) {
  Impl& x = *impl_;
  x.trim_cache();
  int kl = x.kl;
  size_t n = std::min(prefix.size(), size_t(kl));
  bool longer = prefix.size() > size_t(kl);
  auto& path = x.path_buffer;
  Status s = x.descend(
      [&](const Node& node, size_t i) {
        int c = key_compare(node.key(i, kl), prefix.data(), n);
        return c < 0 || (c == 0 && longer);
      },
      path);
  if (!s) return s;
  return x.forward(path.back().node, path.back().pos);
}

Result<std::optional<IndexEntry>> CdxIndex::next(const IndexEntry& from) {
  Impl& x = *impl_;
  x.trim_cache();
  std::string key = from.key;
  key.resize(size_t(x.kl), x.fill);
  Node* n = nullptr;
  size_t pos = 0;
  if (x.at_hint(from, n, pos)) {
    ++pos;
  } else {
    auto& path = x.path_buffer;
    if (Status s = x.descend_entry(key.data(), from.recno, true, path); !s) return s;
    n = path.back().node;
    pos = path.back().pos;
  }
  Result<std::optional<IndexEntry>> r = x.forward(n, pos);
  if (r && r->has_value() && x.order(**r, key, from.recno) <= 0)
    return x.fail("the entry after record " + std::to_string(from.recno) + " is not after it (a loop?)");
  return r;
}

Result<std::optional<IndexEntry>> CdxIndex::prev(const IndexEntry& from) {
  Impl& x = *impl_;
  x.trim_cache();
  std::string key = from.key;
  key.resize(size_t(x.kl), x.fill);
  Node* n = nullptr;
  size_t pos = 0;
  if (!x.at_hint(from, n, pos)) {
    auto& path = x.path_buffer;
    if (Status s = x.descend_entry(key.data(), from.recno, false, path); !s) return s;
    n = path.back().node;
    pos = path.back().pos;
  }
  Result<std::optional<IndexEntry>> r = x.backward(n, pos);
  if (r && r->has_value() && x.order(**r, key, from.recno) >= 0)
    return x.fail("the entry before record " + std::to_string(from.recno) + " is not before it (a loop?)");
  return r;
}

Status CdxIndex::refresh() {
  Impl& x = *impl_;
  uint8_t fh[16], th[16];
  if (Status s = x.read_heads(fh, th); !s) return s;
  if (std::memcmp(fh, x.file_head, 16) == 0 && std::memcmp(th, x.tag_head, 16) == 0) return Status();
  x.drop_cache();
  return x.take_heads(fh, th);
}

Status CdxIndex::flush() {
  Impl& x = *impl_;
  if (x.dirty.empty() && x.freed.empty() && !x.header_dirty) return Status();
  uint8_t page[kPage];
  for (uint32_t off : x.dirty) {
    Node* found = x.cache.find(off);
    if (!found) continue;  // freed since
    Node& n = *found;
    bool root = off == x.root;
    if (n.leaf) {
      encode_leaf(
          page, n.size(), [&](size_t i) { return n.key(i, x.kl); }, [&](size_t i) { return n.recs[i]; }, x.kl, x.fill,
          root, n.left, n.right);
    } else {
      encode_interior(
          page, n.size(), [&](size_t i) { return n.key(i, x.kl); }, [&](size_t i) { return n.recs[i]; },
          [&](size_t i) { return n.kids[i]; }, x.kl, root, n.left, n.right);
    }
    if (Status s = x.file->write_at(off, page, kPage); !s) return s;
    n.dirty = false;
  }
  x.dirty.clear();
  for (auto [off, next] : x.freed) {
    std::memset(page, 0, kPage);
    put32(page, next == kNone ? 0 : next);
    if (Status s = x.file->write_at(off, page, kPage); !s) return s;
  }
  x.freed.clear();
  ++x.counter;
  ++x.tag_counter;
  x.header_dirty = false;
  return x.write_heads();
}

}  // namespace kardo::xbase
