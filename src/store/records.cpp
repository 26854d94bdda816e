#include "store/records.h"

#include <cctype>

namespace kardo::store::detail {
namespace {

bool same_name(std::string_view stored, std::string_view layout) {
  if (stored.size() != layout.size()) return false;
  for (size_t i = 0; i < stored.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(stored[i])) != std::toupper(static_cast<unsigned char>(layout[i])))
      return false;
  return true;
}

}  // namespace

std::vector<int> field_map(const xbase::Table& t, std::span<const FieldSpec> layout) {
  const std::vector<xbase::FieldInfo>& fields = t.fields();
  bool same = fields.size() == layout.size();
  for (size_t i = 0; same && i < layout.size(); ++i) {
    const xbase::FieldInfo& f = fields[i];
    same = f.type == layout[i].type && f.width == layout[i].width && f.decimals == layout[i].decimals &&
           same_name(f.name, layout[i].name);
  }
  if (same) return {};
  std::vector<int> map(layout.size(), -1);
  for (size_t i = 0; i < layout.size(); ++i) {
    int f = t.field_index(layout[i].name);
    if (f < 0 || fields[size_t(f)].type != layout[i].type) continue;
    bool repeated = false;  // a name the layout repeats reaches the table's first field only once
    for (size_t j = 0; j < i && !repeated; ++j) repeated = map[j] == f;
    if (!repeated) map[i] = f;
  }
  return map;
}

base::Status read_field(xbase::Table& t, int field, std::string& out, char type) {
  if (type == 'M') {
    auto m = t.memo(field);
    if (!m) return m.status();
    out = std::move(*m);
    return {};
  }
  std::string_view raw = t.raw(field);
  out.assign(raw.data(), raw.size());
  return {};
}

base::Status write_field(xbase::Table& t, int field, const std::string& v, char type) {
  if (type == 'M') {
    // A memo is written to the memo file at once; leave an unchanged one where it is.
    auto old = t.memo(field);
    if (old && *old == v) return {};
    return t.set_memo(field, v);
  }
  return t.set_text(field, v);
}

}  // namespace kardo::store::detail
