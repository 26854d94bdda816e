#include "store/install.h"

#include <fstream>
#include <map>
#include <sstream>

#include "base/codepage.h"
#include "base/xtext.h"
#include "store/abertura.h"
#include "store/catalog.h"
#include "store/configura.h"
#include "store/files.h"

namespace kardo::store {
namespace {

using base::Code;
using base::Result;
using base::Status;

std::vector<std::string> split(const std::string& line, char sep) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    size_t at = line.find(sep, start);
    out.push_back(line.substr(start, at == std::string::npos ? std::string::npos : at - start));
    if (at == std::string::npos) return out;
    start = at + 1;
  }
}

// The lines of a text file, without line ends; NOT_FOUND when it cannot be read.
Result<std::vector<std::string>> read_lines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Status(Code::NOT_FOUND, path + ": not found");
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  if (in.bad()) return Status(Code::IO, path + ": read error");
  return lines;
}

std::string upper(std::string_view s) { return base::UPPER(s); }

// tables.tsv: the field definitions of every shipped table, by upper-cased table name.
Result<std::map<std::string, std::vector<xbase::FieldDef>>> read_layouts(const std::string& source) {
  const std::string path = source + "/tables.tsv";
  auto lines = read_lines(path);
  if (!lines) return lines.status();
  std::map<std::string, std::vector<xbase::FieldDef>> out;
  for (size_t i = 1; i < lines->size(); ++i) {
    const std::string& line = (*lines)[i];
    if (line.empty()) continue;
    std::vector<std::string> c = split(line, '\t');
    auto bad = [&](const std::string& why) {
      return Status(Code::DAMAGED, path + " line " + std::to_string(i + 1) + ": " + why);
    };
    if (c.size() < 5) return bad("fewer than five columns");
    xbase::FieldDef d;
    d.name = upper(c[1]);
    if (c[2].size() != 1 || std::string_view("CNDLM").find(c[2][0]) == std::string_view::npos)
      return bad("type " + c[2]);
    d.type = c[2][0];
    if (!base::all_digits(c[3]) || !base::all_digits(c[4])) return bad("width and decimals must be numbers");
    d.width = std::stoi(c[3]);
    d.decimals = std::stoi(c[4]);
    out[upper(c[0])].push_back(std::move(d));
  }
  return out;
}

// One table's rows as the fields' values in code page 850, in the layout's order.
struct Rows {
  std::vector<std::vector<std::string>> rows;
};

Result<Rows> read_rows(const std::string& path, const std::vector<xbase::FieldDef>& defs) {
  auto lines = read_lines(path);
  if (!lines) return lines.status();
  if (lines->empty()) return Status(Code::DAMAGED, path + ": no header row");
  std::vector<std::string> header = split((*lines)[0], '\t');
  std::vector<int> column(defs.size(), -1);
  for (size_t h = 0; h < header.size(); ++h) {
    size_t f = 0;
    while (f < defs.size() && defs[f].name != upper(header[h])) ++f;
    if (f == defs.size()) return Status(Code::DAMAGED, path + ": column " + header[h] + " is not in tables.tsv");
    column[f] = int(h);
  }
  for (size_t f = 0; f < defs.size(); ++f)
    if (column[f] < 0) return Status(Code::DAMAGED, path + ": no column for field " + defs[f].name);
  Rows out;
  for (size_t i = 1; i < lines->size(); ++i) {
    const std::string& line = (*lines)[i];
    if (line.empty()) continue;
    std::vector<std::string> cells = split(line, '\t');
    auto bad = [&](const std::string& why) {
      return Status(Code::DAMAGED, path + " line " + std::to_string(i + 1) + ": " + why);
    };
    if (cells.size() != header.size())
      return bad(std::to_string(cells.size()) + " columns, the header has " + std::to_string(header.size()));
    std::vector<std::string> row;
    for (size_t f = 0; f < defs.size(); ++f) {
      const xbase::FieldDef& d = defs[f];
      std::string text = base::utf8_to_cp850(cells[size_t(column[f])], '\0');
      if (text.find('\0') != std::string::npos) return bad(d.name + ": a character outside code page 850");
      if (d.type == 'C' && text.size() > size_t(d.width))
        return bad(d.name + ": " + std::to_string(text.size()) + " characters, the field has " + std::to_string(d.width));
      if (d.type == 'N' && !text.empty() && !base::Decimal::parse(text)) return bad(d.name + ": not a number");
      if (d.type == 'D' && !base::Date::from_dtos(text)) return bad(d.name + ": not a date yyyymmdd");
      if (d.type == 'L' && !(text.empty() || text == "T" || text == "F")) return bad(d.name + ": not T or F");
      row.push_back(std::move(text));
    }
    out.rows.push_back(std::move(row));
  }
  return out;
}

Status write_rows(xbase::Table& t, const std::vector<xbase::FieldDef>& defs, const Rows& rows) {
  for (size_t r = 0; r < rows.rows.size(); ++r) {
    if (Status a = t.append_blank(); !a) return a;
    for (size_t f = 0; f < defs.size(); ++f) {
      const std::string& v = rows.rows[r][f];
      if (v.empty()) continue;
      Status st;
      switch (defs[f].type) {
        case 'N': st = t.set_number(int(f), *base::Decimal::parse(v)); break;
        case 'D': st = t.set_date(int(f), *base::Date::from_dtos(v)); break;
        case 'L': st = t.set_logical(int(f), v == "T"); break;
        case 'M': st = t.set_memo(int(f), v); break;
        default: st = t.set_text(int(f), v); break;
      }
      if (!st) return Status(st.code(), "row " + std::to_string(r + 1) + ", " + defs[f].name + ": " + st.message());
    }
    if (Status c = t.commit(); !c) return c;
  }
  return {};
}

}  // namespace

InstallReport install_reference_tables(Session& s, const std::string& source) {
  InstallReport report;
  auto layouts = read_layouts(source);
  if (!layouts) {
    report.failures.push_back(layouts.status());
    return report;
  }
  for (const TableSpec& table_spec : tables()) {
    if (table_spec.kind != Kind::Reference) continue;
    const std::string name = resolve_name(table_spec.name, s.NUSU);
    const std::string dbf = s.env.resolve_case(s.folders.ARQDEF + name + ".DBF");
    if (s.env.exists(dbf) && !is_claim(s.env, dbf)) continue;
    auto fail = [&](Code code, const std::string& why) { report.failures.push_back(Status(code, name + ": " + why)); };
    auto it = layouts->find(upper(name));
    if (it == layouts->end()) {
      fail(Code::NOT_FOUND, "no layout in " + source + "/tables.tsv");
      continue;
    }
    const std::vector<xbase::FieldDef>& defs = it->second;
    std::string lacking;
    for (std::string_view field : table_spec.reads) {
      bool there = false;
      for (const xbase::FieldDef& d : defs) there = there || d.name == upper(field);
      if (!there) lacking += (lacking.empty() ? "" : ", ") + std::string(field);
    }
    if (!lacking.empty()) {
      fail(Code::DAMAGED, "the layout lacks " + lacking + ", read by the system");
      continue;
    }
    auto rows = read_rows(source + "/" + name + ".tsv", defs);
    if (!rows) {
      fail(rows.status().code(), rows.status().message());
      continue;
    }
    Status c = create_new_table(s.env, dbf, defs, s.NUSU,
                                [&](xbase::Table& t) { return write_rows(t, defs, *rows); });
    if (c) report.installed.push_back(name);
    else if (c.code() != Code::EXISTS) fail(c.code(), c.message());
  }
  return report;
}

InstallReport prepare_data_folder(Session& s, const std::string& source) {
  InstallReport report = install_reference_tables(s, source);
  auto step = [&](Status st) {
    if (!st) report.failures.push_back(st);
    return st.is_ok();
  };
  if (!step(take_terminal_mark(s))) return report;
  step(load_cores(s));
  step(CONFIGURA(s));
  step(load_define(s));
  step(load_listaimp(s));
  for (const TableSpec& table_spec : tables()) {
    // A reference table that could not be installed has been reported already.
    const std::string name = resolve_name(table_spec.name, s.NUSU);
    bool failed = false;
    for (const Status& f : report.failures) failed = failed || f.message().starts_with(name + ": ");
    if (failed) continue;
    step(ABERTURA(s, table_spec.slot));
    if (table_spec.slot != 50) s.close_slot(table_spec.slot);
  }
  close_all_but_mark(s);
  return report;
}

}  // namespace kardo::store
