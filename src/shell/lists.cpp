#include "shell/lists.h"

#include <algorithm>

#include "base/codepage.h"
#include "base/mask.h"
#include "base/xtext.h"
#include "shell/text.h"
#include "store/abertura.h"

namespace kardo::shell {

using namespace text;
namespace k = term::key;

namespace {

struct Shown {
  int field = -1;
  base::Mask mask;
  int width = 0;
};

std::string cell(xbase::Table& t, const BrowseColumn& c, const Shown& s) {
  if (c.value) return base::PADR(c.value(t), size_t(s.width));
  if (s.field < 0) return std::string(size_t(s.width), ' ');
  const xbase::FieldInfo& f = t.fields()[size_t(s.field)];
  std::string v;
  if (f.type == 'N') {
    v = c.mask.empty() ? base::STR(t.number(s.field), f.width, f.decimals) : s.mask.format(t.number(s.field), f.width, f.decimals);
  } else if (f.type == 'D') {
    v = t.date(s.field).DTOC();
  } else {
    std::string text = t.text(s.field);
    if (c.cut > 0) text = text.substr(0, size_t(c.cut));
    v = c.mask.empty() ? text : s.mask.format(text);
  }
  return base::PADR(v, size_t(s.width));
}

int shown_width(const xbase::Table& t, const BrowseColumn& c, const Shown& s) {
  int w = int(c.title.size());
  if (c.value) return std::max(w, c.width);
  if (s.field < 0) return w;
  const xbase::FieldInfo& f = t.fields()[size_t(s.field)];
  int data = f.width;
  if (c.cut > 0) data = std::min(data, c.cut);
  if (s.mask.scroll_width() > 0) data = s.mask.scroll_width();
  else if (!s.mask.picture().empty()) data = int(s.mask.picture().size());
  if (f.type == 'D') data = 10;
  return std::max(w, data);
}

}  // namespace

std::optional<uint32_t> HBROWSE(ui::Ui& ui, xbase::Table& t, const std::vector<BrowseColumn>& columns,
                                const BrowseOptions& options) {
  ui::Dialog dialog(ui, options.rect, "");
  const term::Rect in = dialog.inside();
  const ui::Colours& c = ui.colours();
  const uint8_t row_colour = uint8_t(ui::ACHACOR(c.COR_CLI_HE));
  uint8_t cursor_colour = uint8_t(ui::ACHACOR(c.COR_ESC_CL));
  if (cursor_colour == row_colour) cursor_colour = uint8_t(ui::ACHACOR(c.COR_2_CLI));
  std::vector<Shown> shown;
  for (const BrowseColumn& col : columns) {
    Shown s;
    s.field = t.field_index(col.field);
    s.mask = base::Mask::parse(col.mask);
    s.width = 0;
    shown.push_back(s);
    shown.back().width = shown_width(t, col, shown.back());
  }
  const int header = in.top, data_top = in.top + 2;
  const int data_bottom = in.bottom - (options.footers.empty() ? 0 : 2);
  const int visible = std::max(1, data_bottom - data_top + 1);
  const int width = in.right - in.left + 1;
  size_t first_col = 0;

  if (t.eof()) t.go_top();
  uint32_t top = t.recno();
  int cursor = 0;
  auto collect = [&]() {
    std::vector<uint32_t> rows;
    if (t.go_to(top) && !t.eof() && (!t.deleted() || t.show_deleted()))
      for (int i = 0; i < visible && !t.eof(); ++i) {
        rows.push_back(t.recno());
        if (!t.skip()) break;
      }
    return rows;
  };
  auto line = [&](auto text_of) {
    std::string l;
    for (size_t i = first_col; i < columns.size(); ++i) {
      if (i > first_col) l += "\xB3";  // "│"
      l += text_of(i);
    }
    return base::PADR(l, size_t(width));
  };
  auto set_top_here = [&]() {
    top = t.recno();
    cursor = 0;
  };
  for (;;) {
    std::vector<uint32_t> rows = collect();
    if (rows.empty() && t.record_count() > 0) {
      t.go_top();
      if (!t.eof() && t.recno() != top) {
        top = t.recno();
        continue;
      }
    }
    cursor = std::clamp(cursor, 0, std::max(0, int(rows.size()) - 1));
    term::Screen& sc = ui.screen();
    sc.write(header, in.left, line([&](size_t i) { return base::PADC(columns[i].title, size_t(shown[i].width)); }), row_colour);
    sc.write(header + 1, in.left, std::string(size_t(width), '\xCD'), row_colour);  // "═"
    for (int r = 0; r < visible; ++r) {
      std::string l(size_t(width), ' ');
      if (r < int(rows.size()) && t.go_to(rows[size_t(r)]))
        l = line([&](size_t i) { return cell(t, columns[i], shown[i]); });
      sc.write(data_top + r, in.left, l, r == cursor ? cursor_colour : row_colour);
    }
    if (!options.footers.empty()) {
      std::string sep;
      for (size_t i = first_col; i < columns.size(); ++i) sep += (i > first_col ? "\xC1" : "") + std::string(size_t(shown[i].width), '\xC4');
      sc.write(data_bottom + 1, in.left, base::PADR(sep, size_t(width), '\xC4'), row_colour);
      sc.write(data_bottom + 2, in.left, line([&](size_t i) {
        return base::PADR(i < options.footers.size() ? options.footers[i] : "", size_t(shown[i].width));
      }), row_colour);
    }
    if (!rows.empty()) t.go_to(rows[size_t(cursor)]);

    term::Event e = ui.terminal().wait(-1);
    if (e.type == term::Event::Type::MOUSE) {
      int r = e.row - data_top;
      bool inside = e.col >= in.left && e.col <= in.right && r >= 0 && r < int(rows.size());
      if (e.mouse == term::Event::Mouse::WHEEL_UP) e = term::Event::of_key(k::UP);
      else if (e.mouse == term::Event::Mouse::WHEEL_DOWN) e = term::Event::of_key(k::DOWN);
      else if (inside) {
        cursor = r;
        if (e.mouse == term::Event::Mouse::DOUBLE_CLICK) {
          t.go_to(rows[size_t(cursor)]);
          return t.recno();
        }
        continue;
      } else {
        continue;
      }
    }
    if (e.type != term::Event::Type::KEY) continue;
    const int key = e.key;
    if (rows.empty()) {
      if (key == k::ESC || key == k::CTRL_ENTER || key == k::ENTER) return std::nullopt;
      continue;
    }
    const uint32_t here = rows[size_t(cursor)];
    switch (key) {
      case k::ENTER: t.go_to(here); return here;
      case k::ESC: case k::CTRL_ENTER: t.go_to(here); return std::nullopt;
      case k::DOWN:
        if (cursor + 1 < int(rows.size())) {
          ++cursor;
        } else if (t.go_to(rows.back()) && t.skip() && !t.eof()) {
          t.go_to(top);
          t.skip();
          top = t.recno();
        }
        break;
      case k::UP:
        if (cursor > 0) {
          --cursor;
        } else if (t.go_to(top) && t.skip(-1) && !t.bof()) {
          top = t.recno();
        }
        break;
      case k::PGDN:
        if (t.go_to(rows.back()) && t.skip() && !t.eof() && int(rows.size()) == visible) top = t.recno();
        else cursor = int(rows.size()) - 1;
        break;
      case k::PGUP:
        if (t.go_to(top) && t.skip(-visible) && t.recno() != top) top = t.recno();
        else cursor = 0;
        break;
      case k::CTRL | k::PGUP: case k::CTRL | k::HOME:
        t.go_top();
        set_top_here();
        break;
      case k::CTRL | k::PGDN: case k::CTRL | k::END:
        t.go_bottom();
        t.skip(-(visible - 1));
        top = t.recno();
        cursor = visible - 1;
        break;
      case k::RIGHT: case k::CTRL | k::RIGHT:
        if (first_col + 1 < columns.size()) ++first_col;
        break;
      case k::LEFT: case k::CTRL | k::LEFT:
        if (first_col > 0) --first_col;
        break;
      case k::HOME: first_col = 0; break;
      case k::END: first_col = columns.empty() ? 0 : columns.size() - 1; break;
      case k::F1: case k::F2: case k::F3: {
        int order = key == k::F1 ? 2 : key == k::F2 ? 1 : 3;
        if (order <= t.index_count()) {
          t.go_to(here);
          t.set_order(order);
          set_top_here();
        }
        break;
      }
      default:
        if (options.seek_by_character && k::is_char(key) && key != ' ') {
          std::string ch = base::UPPER(std::string(1, char(key)));
          int order = (ch[0] >= '0' && ch[0] <= '9') || t.index_count() < 2 ? 1 : 2;
          if (t.index_count() >= order) t.set_order(order);
          t.seek(ch, true);
          if (t.eof()) t.go_bottom();
          set_top_here();
        }
        break;
    }
  }
}

namespace {

std::vector<ListDefinition> make_lists() {
  using C = BrowseColumn;
  std::vector<ListDefinition> v;
  auto add = [&](std::vector<std::string> asking, int slot, int order, std::vector<C> cols, term::Rect rect,
                 std::vector<std::pair<std::string, std::string>> puts, bool close = false) {
    ListDefinition d;
    d.asking = std::move(asking);
    d.slot = slot;
    d.order = order;
    d.columns = std::move(cols);
    d.rect = rect;
    d.puts = std::move(puts);
    d.close_after = close;
    v.push_back(std::move(d));
  };
  add({"ListaBanco"}, 77, 2, {{"Banco / Empresa", "NOME", "@S30"}, {"CNPJ", "CNPJ", "@R 99.999.999/9999-99"}}, {9, 29, 22, 78},
      {{"REG_AVI", "NOME"}, {"CPF_CNPJ", "CNPJ"}});
  add({"M->CDPRO", "M->OCUPACAO"}, 58, 0, {{"Cód"_cps, "CDPRO", "@S3"}, {" Nome da Ocupacao ", "OCUPACAO", "@S69"}},
      {8, 1, 18, 76}, {{"CDPRO", "CDPRO"}, {"OCUPACAO", "OCUPACAO"}}, true);
  add({"M->CODAT", "M->DESCRAT"}, 59, 0, {{"Cód"_cps, "CODAT", "@S3"}, {" Nome da Ocupacao ", "DESCRAT", "@S58"}},
      {8, 1, 18, 66}, {{"CODAT", "CODAT"}, {"DESCRAT", "DESCRAT"}}, true);
  add({"I1_2", "I1_3"}, 55, 0, {{"Nro.", "NUMBAN", "@S3"}, {" Nome do Banco ", "NOMEBAN", "@S48"}, {"CNPJ", "CNPJBAN", "@S18"}},
      {8, 6, 18, 78}, {{"I1_2", "NOMEBAN"}, {"I1_3", "CNPJBAN"}});
  add({"M->BANCO"}, 55, 2, {{"Nro.", "NUMBAN", "@S3"}, {" Nome do Banco ", "NOMEBAN", "@S48"}}, {8, 6, 18, 64},
      {{"BANCO", "NUMBAN"}}, true);
  add({"CODIDEPEN"}, 47, 0, {{"Cod.", "CODDEP", "@Z 99"}, {"Relação de dependência"_cps, "DESCRICAO", "@S60"}}, {8, 6, 22, 72},
      {{"CODIDEPEN", "CODDEP"}});
  add({"I7_5", "nDesIni", "nDesFim"}, 46, 0, {{"Cod.", "CODBEM", "@Z 99"}, {"Bens e Direitos", "DESCBENS", "@S45"}},
      {8, 6, 21, 57}, {{"I7_5", "CODBEM"}});
  add({"I8_5"}, 48, 0, {{"Cod.", "CODDIV", "@Z 99"}, {"Dividas e Onus", "DESCDIV", "@S45"}}, {8, 6, 21, 57}, {{"I8_5", "CODDIV"}});
  add({"I6_3", "CODIGO"}, 49, 0, {{"Cod.", "CODDES", "@Z 99"}, {"Doação ou Pagamento"_cps, "DESCDOA", "@S65"}}, {8, 6, 21, 77},
      {{"I6_3", "CODDES"}});
  add({"CODIGOA"}, 69, 0, {{"Cod.", "CODBEM", "@Z 99"}, {"  Tipo  ", "DESCBENS", "@S45"}}, {5, 20, 19, 71}, {{"CODIGO", "CODBEM"}});
  add({"I7_8", "m->CODPAIS", "m->CODEXTE", "I8R_3"}, 60, 0, {{"Cod.", "CODPAIS", "@s3"}, {"Nome do País"_cps, "NOMPAIS", "@S40"}},
      {8, 6, 21, 57}, {{"CODPAIS", "CODPAIS"}});
  add({"M->CODEMB"}, 61, 0,
      {{"Cod.", "CD_EX", "@s3"}, {"Cidade", "NM_CIDADE", "@S20"}, {"Nome do País"_cps, "NM_PAIS", "@s22"},
       {"Representaçao"_cps, "NM_REP", "@S30"}},
      {8, 6, 21, 57}, {{"CODEMB", "CD_EX"}});
  add({"M->ESTATUS", "M->OPC_TRAN"}, 66, 0, {{"Cod.", "COD", "@s2"}, {"Estatus", "DESCRICAO", "@S13"}}, {8, 6, 21, 25},
      {{"COD", "COD"}});
  add({"M->TIPOEND", "M->RUAIMO"}, 65, 0, {{"Tipo Endereço"_cps, "NOMELOGRA", "@S11"}}, {8, 16, 21, 29},
      {{"NOMELOGRA", "NOMELOGRA"}}, true);
  add({"M->MUNICIPIO", "M->MUNICIMO", "MUNICIMO", "M->CID_SOCIE"}, 64, 0, {{"Nome dos municípios"_cps, "NOMEMUNI", "@S30"}},
      {8, 6, 21, 37}, {{"MUNICIPIO", "NOMEMUNI"}, {"CODMUNI", "NROMUNI"}, {"UNIFED", "UNIFED"}});
  add({"M->CIDDOA"}, 75, 0, {{"Nome dos municípios"_cps, "CIDADE", "@S30"}, {"CNPJ", "CNPJ", "@S18"}}, {8, 6, 21, 56},
      {{"CIDDOA", "CIDADE"}, {"CNJPDOA", "CNPJ"}});
  add({"M->CDCONTA", "CDCONTA"}, 62, 0, {{"Código"_cps, "CDCONTA", "@s6"}, {"Descriçao"_cps, "NMDESCRICA", "@s60"}},
      {6, 8, 19, 76}, {{"CDCONTA", "CDCONTA"}});
  add({"M->ORIGEM", "M->DESTINO"}, 50, 0, {{"Nome dos diretórios"_cps, "DIRETOR", "@S40"}}, {8, 6, 21, 47},
      {{"DIRETOR", "DIRETOR"}});
  return v;
}

// The asking fields whose list seeks by a typed character.
bool seeks(std::string_view asking) {
  static const char* names[] = {"M->CPF", "M->CPF1", "M->CPF2", "M->NOMECONTR", "M->DIRCONJU", "M->TIPOEND", "M->MUNICIPIO", "MUNICIMO"};
  for (const char* n : names)
    if (base::UPPER(asking) == n) return true;
  return false;
}

}  // namespace

const ListDefinition* list_for(std::string_view asking) {
  static const std::vector<ListDefinition> lists = make_lists();
  const std::string want = base::UPPER(asking);
  for (const ListDefinition& d : lists)
    for (const std::string& a : d.asking)
      if (base::UPPER(a) == want) return &d;
  return nullptr;
}

std::optional<std::map<std::string, std::string>> GERAL(ui::Ui& ui, store::Session& s, LookupState& state,
                                                         std::string_view asking, std::string_view editing, int mode) {
  if (state.PROG) return std::nullopt;
  const std::string upper = base::UPPER(asking);
  ListDefinition short_register;
  std::map<int, std::string> statuses;
  if (mode == 1 && (upper == "M->CPF" || upper == "M->NOMECONTR")) {
    if (store::ABERTURA(s, 66)) {
      xbase::Table& st = *s.table(66);
      const int fc = st.field_index("COD"), fd = st.field_index("DESCRICAO");
      for (base::Status k = st.go_top(); k && !st.eof(); k = st.skip()) {
        const xbase::FieldInfo& info = st.fields()[size_t(fc)];
        int code = info.type == 'N' ? int(st.number(fc).whole()) : std::atoi(std::string(base::ALLTRIM(st.text(fc))).c_str());
        statuses[code] = std::string(base::RTRIM(st.text(fd)));
      }
    }
    short_register.slot = 9;
    short_register.rect = {1, 1, 14, 79};
    short_register.columns = {{"Nome do Contribuinte", "NOMECONTR", "@S50"}, {"CPF", "CPF", "@R 999.999.999-99"}};
    BrowseColumn status("status", "");
    status.width = 13;
    status.value = [&statuses](xbase::Table& t) {
      auto it = statuses.find(int(t.number(t.field_index("ESTATUS")).whole()));
      return it == statuses.end() ? std::string() : it->second.substr(0, 13);
    };
    short_register.columns.push_back(status);
    short_register.puts = {{"CPF", "CPF"}, {"NOMECONTR", "NOMECONTR"}};
  }
  const ListDefinition* d = short_register.slot ? &short_register : list_for(asking);
  if (!d) return std::nullopt;
  const int caller = s.current;
  const bool was_open = s.table(d->slot) != nullptr;
  if (!store::ABERTURA(s, d->slot)) {
    s.current = caller;
    return std::nullopt;
  }
  xbase::Table& t = *s.table(d->slot);
  const bool towns = d->slot == 64;
  if (towns && t.index_count() == 0) store::use_on_demand_index(s, 64);
  const bool state_field = towns && base::UPPER(editing) == "M->UF";
  // A list shown in an order of its own starts at its first row.
  if (d->order > 0 && d->order <= t.index_count() && t.order() != d->order) {
    t.set_order(d->order);
    t.go_top();
  }
  state.PROG = true;
  BrowseOptions o;
  o.rect = d->rect;
  o.seek_by_character = seeks(asking);
  std::vector<BrowseColumn> columns = d->columns;
  if (state_field) columns[0].title = "Nome dos Estados";
  std::optional<uint32_t> chosen = HBROWSE(ui, t, columns, o);
  state.PROG = false;
  ui.terminal().flush_input();
  std::optional<std::map<std::string, std::string>> result;
  if (chosen) {
    std::map<std::string, std::string> values;
    for (const auto& [name, field] : d->puts) {
      int f = t.field_index(field);
      if (f < 0) continue;
      const xbase::FieldInfo& info = t.fields()[size_t(f)];
      values[name] = info.type == 'N' ? std::string(base::ALLTRIM(base::STR(t.number(f), info.width, info.decimals)))
                                      : std::string(base::RTRIM(t.text(f)));
    }
    if (state_field) {
      const std::string name(base::RTRIM(t.text(t.field_index("NOMEMUNI"))));
      auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
      if (name.size() >= 4 && letter(name[0]) && letter(name[1]) && name[2] == ' ' && name[3] == '-')
        values = {{"UF", base::UPPER(name.substr(0, 2))}};
    }
    result = std::move(values);
  }
  if (d->close_after && !was_open) s.close_slot(d->slot);
  s.current = caller;
  return result;
}

std::string GERAL2(ui::Ui& ui, store::Session& s, LookupState& state, std::string_view asking) {
  const ListDefinition* d = list_for(asking);
  auto v = GERAL(ui, s, state, asking);
  if (!d || !v || d->puts.empty()) return {};
  auto it = v->find(d->puts.front().first);
  return it == v->end() ? std::string() : it->second;
}

}  // namespace kardo::shell
