#include "term/keys.h"

#include <cctype>
#include <stdexcept>

#include "base/codepage.h"

namespace kardo::term {

namespace {

struct Named { int code; const char* name; };
constexpr Named kNamed[] = {
    {key::ENTER, "Enter"}, {key::ESC, "Esc"},   {key::BACKSPACE, "Backspace"}, {key::TAB, "Tab"},
    {key::UP, "Up"},       {key::DOWN, "Down"}, {key::LEFT, "Left"},           {key::RIGHT, "Right"},
    {key::HOME, "Home"},   {key::END, "End"},   {key::PGUP, "PgUp"},           {key::PGDN, "PgDn"},
    {key::INS, "Ins"},     {key::DEL, "Del"},   {' ', "Space"},
};

bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace

std::string key_name(int k) {
  std::string out;
  if (k & key::CTRL) out += "Ctrl+";
  if (k & key::ALT) out += "Alt+";
  if (k & key::SHIFT) out += "Shift+";
  int b = key::base(k);
  for (const Named& n : kNamed)
    if (n.code == b) return out + n.name;
  if (b >= key::F1 && b <= key::F12) return out + "F" + std::to_string(b - key::F1 + 1);
  if (b > 32 && b <= 255) return out + base::cp850_to_utf8(std::string(1, static_cast<char>(b)));
  return out + "#" + std::to_string(b);
}

std::optional<int> key_from_name(std::string_view name) {
  int mods = 0;
  for (;;) {
    if (name.size() > 5 && same_name(name.substr(0, 5), "Ctrl+")) { mods |= key::CTRL; name.remove_prefix(5); }
    else if (name.size() > 4 && same_name(name.substr(0, 4), "Alt+")) { mods |= key::ALT; name.remove_prefix(4); }
    else if (name.size() > 6 && same_name(name.substr(0, 6), "Shift+")) { mods |= key::SHIFT; name.remove_prefix(6); }
    else break;
  }
  if (name.empty()) return std::nullopt;
  for (const Named& n : kNamed)
    if (same_name(name, n.name)) return mods | n.code;
  if ((name[0] == 'F' || name[0] == 'f') && name.size() <= 3 && name.size() >= 2) {
    int n = 0;
    for (char c : name.substr(1)) {
      if (!std::isdigit(static_cast<unsigned char>(c))) { n = -1; break; }
      n = n * 10 + (c - '0');
    }
    if (n >= 1 && n <= 12) return mods | key::F(n);
  }
  std::string cp = base::utf8_to_cp850(name);
  if (cp.size() != 1 || (cp == "?" && name != "?")) return std::nullopt;
  int c = static_cast<unsigned char>(cp[0]);
  if (mods & (key::CTRL | key::ALT)) return mods | ((c >= 'a' && c <= 'z') ? c - 32 : c);
  return mods | c;
}

std::vector<int> keys_from_names(std::string_view names) {
  std::vector<int> out;
  size_t i = 0;
  while (i < names.size()) {
    while (i < names.size() && names[i] == ' ') ++i;
    size_t j = names.find(' ', i);
    if (j == std::string_view::npos) j = names.size();
    if (j > i) {
      auto k = key_from_name(names.substr(i, j - i));
      if (!k) throw std::invalid_argument("unknown key name: " + std::string(names.substr(i, j - i)));
      out.push_back(*k);
    }
    i = j;
  }
  return out;
}

}  // namespace kardo::term
