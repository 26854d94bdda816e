// Helpers of the table engine's tests: a scratch folder, the fixtures' folder and manifests.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "xbase/table.h"

namespace kardo::xbase::testing {

inline std::string fixtures() { return std::string(KARDO_SHARED_DATA) + "/xbase-fixtures"; }

// A fresh folder under /tmp, removed with the object.
class ScratchDir {
 public:
  ScratchDir() {
    std::string t = (std::filesystem::temp_directory_path() / "kardo-xbase-XXXXXX").string();
    if (!::mkdtemp(t.data())) std::abort();
    path_ = t;
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void spit(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// Copies a fixture file into `dir` (writable there).
inline std::string copy_fixture(const ScratchDir& dir, const std::string& name) {
  std::string to = dir / name;
  spit(to, slurp(fixtures() + "/" + name));
  return to;
}

inline std::vector<std::string> split_tabs(const std::string& line) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    size_t tab = line.find('\t', start);
    out.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return out;
    start = tab + 1;
  }
}

// NAME.rows.tsv without its heading line: one vector of columns per record.
inline std::vector<std::vector<std::string>> manifest_rows(const std::string& table) {
  std::ifstream in(fixtures() + "/" + table + ".rows.tsv", std::ios::binary);
  std::vector<std::vector<std::string>> rows;
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) rows.push_back(split_tabs(line));
  return rows;
}

// NAME.TAG.order: the key expression and the record numbers in key order.
inline std::vector<uint32_t> manifest_order(const std::string& table, const std::string& tag, std::string* key = nullptr) {
  std::ifstream in(fixtures() + "/" + table + "." + tag + ".order");
  std::vector<uint32_t> order;
  std::string line;
  std::getline(in, line);
  if (key) *key = line.substr(line.find(':') + 2);
  while (std::getline(in, line))
    if (!line.empty()) order.push_back(uint32_t(std::stoul(line)));
  return order;
}

inline uint32_t crc32(const std::string& s) {
  uint32_t c = 0xFFFFFFFFu;
  for (unsigned char b : s) {
    c ^= b;
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
  }
  return ~c;
}

#define ASSERT_OK(expr)                                  \
  do {                                                   \
    auto _st = (expr);                                   \
    ASSERT_TRUE(_st.is_ok()) << #expr ": " << _st.message(); \
  } while (0)
#define EXPECT_OK(expr)                                  \
  do {                                                   \
    auto _st = (expr);                                   \
    EXPECT_TRUE(_st.is_ok()) << #expr ": " << _st.message(); \
  } while (0)

// Record numbers in the active order, first to last, and last to first (given back in
// forward order).
inline std::vector<uint32_t> walk(Table& t) {
  std::vector<uint32_t> out;
  Status s = t.go_top();
  while (s && !t.eof()) {
    out.push_back(t.recno());
    s = t.skip(1);
  }
  EXPECT_TRUE(s.is_ok()) << s.message();
  return out;
}

inline std::vector<uint32_t> walk_back(Table& t) {
  std::vector<uint32_t> out;
  Status s = t.go_bottom();
  while (s && !t.bof() && !t.eof()) {
    out.push_back(t.recno());
    s = t.skip(-1);
  }
  EXPECT_TRUE(s.is_ok()) << s.message();
  std::reverse(out.begin(), out.end());
  return out;
}

template <class T>
T must(base::Result<T> r) {
  if (!r) {
    ADD_FAILURE() << r.status().message();
    std::abort();
  }
  return std::move(*r);
}

}  // namespace kardo::xbase::testing
