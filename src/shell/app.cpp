#include "shell/app.h"

#include <sys/vfs.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "base/codepage.h"
#include "shell/text.h"
#include "base/xtext.h"
#include "base/year.h"
#include "decl/workset.h"
#include "shell/menu.h"
#include "shell/version_check.h"
#include "store/abertura.h"
#include "store/configura.h"
#include "store/records.h"
#include "ui/field.h"
#include "ui/screen_operator.h"

namespace kardo::shell {

using namespace base::literals;
using namespace text;
namespace k = term::key;

namespace {

std::string with_slash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}
std::string without_slash(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}
bool is_folder(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_directory(path, ec);
}
std::string trimmed(std::string_view s) { return std::string(base::ALLTRIM(s)); }
bool is_terminal_number(std::string_view s) { return !s.empty() && s.size() <= 2 && base::all_digits(s); }
std::string two_digits(std::string_view s) { return s.size() == 1 ? "0" + std::string(s) : std::string(s); }

void load_colours(ui::Colours& c, const store::cores::Record& r) {
  auto n = [](const base::Decimal& d, int fallback) { return d.is_zero() ? fallback : int(d.whole()); };
  auto p = [](const std::string& s, const std::string& fallback) {
    std::string t = trimmed(s);
    return t.empty() ? fallback : t;
  };
  c.COR_TEL1 = n(r.COR_TEL1, c.COR_TEL1);
  c.COR_TEL2 = n(r.COR_TEL2, c.COR_TEL2);
  c.COR_TEL3 = n(r.COR_TEL3, c.COR_TEL3);
  c.COR_MENS = n(r.COR_MENS, c.COR_MENS);
  c.COR_PEGA = n(r.COR_PEGA, c.COR_PEGA);
  c.COR_HELP = n(r.COR_HELP, c.COR_HELP);
  c.COR_FERID = n(r.COR_FERID, c.COR_FERID);
  c.COR_ESCOL = n(r.COR_ESCOL, c.COR_ESCOL);
  c.COR_ENCHE = n(r.COR_ENCHE, c.COR_ENCHE);
  c.COR_1_CLI = p(r.COR_1_CLI, c.COR_1_CLI);
  c.COR_2_CLI = p(r.COR_2_CLI, c.COR_2_CLI);
  c.COR_INI = p(r.COR_INI, c.COR_INI);
  c.COR_SAY = p(r.COR_SAY, c.COR_SAY);
  c.COR_GET = p(r.COR_GET, c.COR_GET);
  c.COR_CLI_HE = p(r.COR_CLI_HE, c.COR_CLI_HE);
  c.COR_ESC_CL = p(r.COR_ESC_CL, c.COR_ESC_CL);
  c.COR_ENCH_C = p(r.COR_ENCH_C, c.COR_ENCH_C);
}

// The terminal question of a network drive: the number typed, two digits.
std::string ask_terminal(ui::Ui& ui, const Getenv& env) {
  std::string user = env("USUAR").value_or("");
  std::string proposed = env("EQUIP").value_or("");
  if (!is_terminal_number(proposed) || proposed == "0" || proposed == "00") proposed.clear();
  ui::Dialog d(ui, {1, 3, 8, 40}, "Terminal");
  term::Rect in = d.inside();
  std::string line = user + (proposed.empty() ? " Informe" : " Confirme") + " o nro. do terminal.";
  ui.screen().write(in.top + 1, in.left + 1, base::PADR(line, size_t(in.right - in.left - 1)), uint8_t(ui.colours().COR_TEL1));
  std::vector<ui::Field> fields{ui::Field::Text(in.top + 3, in.left + 16, base::PADR(proposed, 2), 2, "99")};
  fields[0].valid = [](ui::Field& f) {
    std::string t = trimmed(f.text);
    return t.empty() || base::all_digits(t);
  };
  for (;;) {
    ui::Reader r(ui, fields);
    r.run();
    std::string t = trimmed(fields[0].text);
    if (t.empty()) return "00";
    if (is_terminal_number(t)) return two_digits(t);
  }
}

void draw_background(App& app) {
  term::Screen& sc = app.ui.screen();
  sc.fill({1, 0, 23, 79}, 0xB0, uint8_t(app.ui.colours().COR_ENCHE));
  std::string title = "Kardo"_cps + std::string(base::CANOATUAL) + " - " + std::string(base::RTRIM(app.s.config.NOMEAG));
  sc.write(12, int(40 - title.size() / 2), title, uint8_t(app.ui.colours().COR_TEL1));
  sc.fill({24, 0, 24, 79}, ' ', uint8_t(app.ui.colours().COR_MENS));
}

// Step 14: the current declaration folder becomes the selected row of the folder list.
base::Status select_folder_row(store::Session& s) {
  xbase::Table* t = s.table(50);
  if (!t) return base::Status(base::Code::NOT_FOUND, "folder list not open");
  const int fd = t->field_index("DIRETOR"), fs = t->field_index("SELEC");
  const std::string current = base::UPPER(without_slash(s.folders.LOCARQ));
  uint32_t match = 0;
  for (base::Status st = t->go_top(); st && !t->eof(); st = t->skip())
    if (base::UPPER(base::RTRIM(t->text(fd))) == current) { match = t->recno(); break; }
  if (match != 0) {
    if (base::Status g = t->go_to(match); !g) return g;
    if (trimmed(t->text(fs)) == "S") return {};
    for (base::Status st = t->go_top(); st && !t->eof(); st = t->skip()) {
      std::string want = t->recno() == match ? "S" : "N";
      if (trimmed(t->text(fs)) != want) {
        if (base::Status w = t->set_text(fs, want); !w) return w;
        if (base::Status c = t->commit(); !c) return c;
      }
    }
    return {};
  }
  for (base::Status st = t->go_top(); st && !t->eof(); st = t->skip())
    if (trimmed(t->text(fs)) != "N") {
      if (base::Status w = t->set_text(fs, "N"); !w) return w;
      if (base::Status c = t->commit(); !c) return c;
    }
  if (base::Status a = t->append_blank(); !a) return a;
  if (base::Status w = t->set_text(fd, base::PADR(without_slash(s.folders.LOCARQ), 80)); !w) return w;
  if (base::Status w = t->set_text(fs, "S"); !w) return w;
  return t->commit();
}

void backup_reminder(App& app) {
  int days = 0;
  if (!backup_due(app.s.clock().today(), app.s.config.ULTBACK, &days)) return;
  base::Box box;
  box.lines = {" Atenção "_cps + base::STR(days, 3) + " dias sem fazer o Backup completo."};
  box.mode = base::BOX_BUTTONS;
  box.buttons = {" Sim - Faça o Backup agora. "_cps, " Não - Avise daqui a 4 dias. "_cps};
  std::string answer = app.ui.AVISOSN(box);
  if (answer == "1") {
    // Backups are not part of this build: ULTBACK stays, so the reminder comes back.
    MENUSELECT(app, 71, 1, 2);
  } else if (answer == "2") {
    app.s.config.ULTBACK = app.s.clock().today();
    store_config(app.s);
  }
}

void main_loop(App& app) {
  while (!app.leaving) {
    term::Event e = app.ui.terminal().wait(1000);
    if (e.type == term::Event::Type::KEY) {
      if (e.key == k::alt('T')) {
        MENUSELECT(app, 91);
      } else if (e.key == k::alt('I')) {
        MENUSELECT(app, 11);
      } else if (e.key == k::ESC) {
        ROTSAIDA(app, 91);
      } else if (e.key == k::F10 || (e.key & k::ALT)) {
        int first = app.NPOSMENU;
        if (e.key & k::ALT) {
          first = 0;
          std::vector<MenuItem> bar = main_menu(app);
          for (size_t i = 0; i < bar.size(); ++i)
            if (accelerator(bar[i].text) == char(k::base(e.key))) first = int(i) + 1;
        }
        if (first > 0) {
          Command c = choose_from_menu(app, first);
          if (c.command) MENUSELECT(app, c.command, c.a, c.b);
        }
      }
    } else if (e.type == term::Event::Type::MOUSE && e.mouse == term::Event::Mouse::CLICK && e.row == 0) {
      std::vector<MenuItem> bar = main_menu(app);
      int col = 1;
      for (size_t i = 0; i < bar.size(); ++i) {
        int w = int(shown_text(bar[i].text).size()) + 2;
        if (e.col >= col && e.col < col + w) {
          Command c = choose_from_menu(app, int(i) + 1);
          if (c.command) MENUSELECT(app, c.command, c.a, c.b);
          break;
        }
        col += w;
      }
    }
    if (!app.leaving) {
      fire_reminders(app.ui, app.reminders);
      choose_from_menu(app, -1);  // redraws the bar
    }
  }
}

}  // namespace

TerminalChoice choose_terminal(const std::optional<std::string>& argument, const std::optional<std::string>& terminal_var) {
  TerminalChoice c;
  if (terminal_var && !terminal_var->empty()) {
    if (is_terminal_number(*terminal_var)) {
      c.number = two_digits(*terminal_var);
      return c;
    }
    c.note = "TERMINAL=" + *terminal_var + " ignorado (não é um número de terminal)"_cps;
  }
  if (argument) {
    if (!is_terminal_number(*argument)) return c;
    c.number = two_digits(*argument);
    return c;
  }
  c.number = "00";
  c.ask = true;
  return c;
}

bool on_network_drive(const std::string& folder) {
  struct statfs st{};
  if (::statfs(folder.c_str(), &st) != 0) return false;
  switch (static_cast<unsigned long>(st.f_type)) {
    case 0x6969UL:      // NFS
    case 0x517BUL:      // SMB
    case 0xFF534D42UL:  // CIFS
    case 0xFE534D42UL:  // SMB2
    case 0x65735546UL:  // FUSE
      return true;
    default:
      return false;
  }
}

bool backup_due(const base::Date& today, const base::Date& last_backup, int* days) {
  long n = last_backup.empty() ? 999 : long((today.days() - last_backup.days()).count());
  if (days) *days = int(std::min(n, 999L));
  return today.year() == base::NANOATUAL && today.month() < 5 && n >= 4;
}

std::vector<Reminder> collect_reminders(store::Session& s, const std::string& operator_name) {
  std::vector<Reminder> list;
  if (!store::ABERTURA(s, 72)) return list;
  xbase::Table& t = *s.table(72);
  const base::Date today = s.clock().today();
  const long now = s.clock().seconds_of_day();
  const int hhmm_now = int(now / 3600) * 100 + int(now / 60 % 60);
  const std::string who = base::UPPER(base::RTRIM(operator_name));
  const int fn = t.field_index("NOMEAG"), fh = t.field_index("HORAG"), fa = t.field_index("ANOTAG"),
            fd = t.field_index("DATAG"), fv = t.field_index("AVISAG");
  for (base::Status st = t.go_top(); st && !t.eof(); st = t.skip()) {
    if (!t.logical(fv) || t.date(fd) != today) continue;
    if (base::UPPER(base::RTRIM(t.text(fn))) != who) continue;
    std::string h = trimmed(t.text(fh));
    h.erase(std::remove(h.begin(), h.end(), ':'), h.end());
    if (!base::all_digits(h)) continue;
    int when = std::stoi(h);
    if (when > hhmm_now) list.push_back({when, trimmed(t.text(fa))});
  }
  return list;
}

void fire_reminders(ui::Ui& ui, std::vector<Reminder>& list) {
  const long now = ui.clock().seconds_of_day();
  const int hhmm = int(now / 3600) * 100 + int(now / 60 % 60);
  for (size_t i = 0; i < list.size();) {
    if (list[i].hhmm <= hhmm) {
      char clock[16];
      std::snprintf(clock, sizeof clock, "%02d:%02d", hhmm / 100, hhmm % 100);
      ui.AVISOSN({"ATENÇÃO - "_cps + clock + " " + list[i].note}, base::BOX_ERROR);
      list.erase(list.begin() + long(i));
    } else {
      ++i;
    }
  }
}

void draw_main_screen(App& app) {
  draw_background(app);
  choose_from_menu(app, -1);
}

void open_declaration(App& app) {
  app.ui.AVISOSN({"Função não disponível nesta versão."_cps}, base::BOX_INFO);
}

base::Status store_config(store::Session& s) {
  if (base::Status o = store::ABERTURA(s, 42); !o) return o;
  s.current = 42;
  xbase::Table& t = *s.table(42);
  if (base::Status k = t.seek(s.NUSU); !k) return k;
  if (!t.found()) return base::Status(base::Code::NOT_FOUND, "CONFIG: no record of terminal " + s.NUSU);
  if (base::Status l = store::REC_LOCK(s, 5); !l) return l;
  base::Status w = store::write_record(t, s.config);
  base::Status u = t.unlock();
  return w ? u : w;
}

bool ROTSAIDA(App& app, int option) {
  if (option == 91 && app.ui.AVISOSN({"Confirma saída do programa?"_cps}, base::BOX_YES_NO, "Saida do Programa") != "S")
    return false;
  store_config(app.s);
  app.s.close_all();
  app.ui.screen().clear();
  app.leaving = true;
  return true;
}

int run_program(ui::Ui& ui, store::Session& s, const StartArgs& args) {
  ui.windows().define_start_windows();
  ui.caption = "Kardo"_cps + std::string(base::CANOATUAL) + " - Trel Informatica";
  ui.screen().clear();

  // The terminal number.
  std::optional<std::string> argument;
  if (!args.args.empty()) argument = args.args[0];
  TerminalChoice tc = choose_terminal(argument, args.env("TERMINAL"));
  if (!tc.number) {
    ui.AVISOSN({"Número de terminal inválido: "_cps + *argument, "Use um ou dois dígitos."_cps}, base::BOX_ERROR);
    return 1;
  }

  // The data folder.
  std::string data = args.current_folder;
  std::string dir = args.env(std::string(base::DATA_FOLDER_VARIABLE)).value_or("");
  if (!dir.empty()) {
    if (is_folder(dir))
      data = dir;
    else
      ui.AVISOSN({"<Dir> "_cps + dir + "não encontrado. Assumindo o padrão!"_cps}, base::BOX_INFO);
  }
  s.folders.ARQDEF = with_slash(data);
  s.home = args.env("HOME").value_or("");
  s.startup_folder = dir;
  s.default_printer = args.env("PRINTER").value_or("");
  if (!tc.note.empty()) ui.message_line(tc.note);
  if (tc.ask) {
    bool network = args.is_network_folder ? args.is_network_folder(data) : on_network_drive(data);
    if (network) tc.number = ask_terminal(ui, args.env);
  }
  s.NUSU = *tc.number;

  // The terminal's mark first: a second copy on this number stops before touching anything.
  if (base::Status mark = store::take_terminal_mark(s); !mark) {
    if (mark.code() == base::Code::LOCKED)
      ui.AVISOSN({"O programa Kardo"_cps + std::string(base::CANOATUAL) + " no terminal " + s.NUSU + " está em uso"_cps},
                 base::BOX_ERROR);
    else
      ui.AVISOSN({"Não foi possível abrir a lista de pastas do terminal:"_cps, mark.message()}, base::BOX_ERROR);
    return 1;
  }

  if (base::Status c = store::load_cores(s); c) load_colours(ui.colours(), s.cores);
  if (!store::CONFIGURA(s)) return 1;
  if (base::is_blank(s.config.NOMEAG)) s.config.NOMEAG = base::PADR("USUARIO DO TERMINAL " + s.NUSU, 22);

  App app{ui, s, false, 0, 1, true, 1, false, {}, {}};
  app.open_declaration = open_declaration;
  draw_background(app);
  if (!store::load_define(s)) {
    ui.AVISOSN({"Arquivo DEFINE não pode ser aberto"_cps}, base::BOX_ERROR);
    return 1;
  }
  if (base::UPPER(base::ALLTRIM(s.define.VER_ATUAL)) != "N") {
    std::string ver = s.define.VER_ATUAL;
    ui::ScreenOperator op(ui);
    if (VER_VERSAO(op, VersionServer::built_in(), false, ver) == VersionOutcome::LEAVE_TO_UPDATE) {
      s.close_all();
      return 0;
    }
  }

  std::string declarations = trimmed(s.config.ROTADOANO);
  if (!is_folder(declarations)) {
    base::Box q;
    q.lines = {"A Pasta "_cps + declarations + " não foi encontrada!"_cps};
    q.mode = base::BOX_BUTTONS;
    q.buttons = {"Sim - Assume: "_cps + without_slash(data), "Não - Sai do programa!"_cps};
    if (ui.AVISOSN(q) != "1") {
      s.close_all();
      return 1;
    }
    declarations = without_slash(data);
    s.config.ROTADOANO = base::PADR(declarations, 80);
    store_config(s);
  }
  std::string work = trimmed(s.config.dirtrab);
  if (!is_folder(work)) work = declarations;
  s.folders.LOCARQ = with_slash(declarations);
  s.folders.LOCTRAB = with_slash(work);
  s.folders.DIRORIG = s.folders.LOCARQ;
  s.folders.LOCIRPF = base::is_blank(s.config.ROTARECEI) ? "" : with_slash(trimmed(s.config.ROTAJAVA));

  // A save that a crash interrupted is completed before anything reads the declarations.
  if (base::Status r = decl::recover_interrupted_save(s); !r)
    ui.AVISOSN({"Não foi possível completar a gravação interrompida:"_cps, r.message()}, base::BOX_ERROR);

  store::load_listaimp(s);

  if (base::Status b = store::global_bundle(s); !b) {
    if (b.code() == base::Code::LOCKED && !store::holds_terminal_mark(s))
      ui.AVISOSN({"O programa Kardo"_cps + std::string(base::CANOATUAL) + " no terminal " + s.NUSU + " está em uso"_cps},
                 base::BOX_ERROR);
    else
      ui.AVISOSN({"As tabelas gerais não puderam ser abertas:"_cps, b.message()}, base::BOX_ERROR);
    s.close_all();
    return 1;
  }
  select_folder_row(s);
  app.reminders = collect_reminders(s, s.config.NOMEAG);
  store::close_all_but_mark(s);
  store::check_layouts(s);
  backup_reminder(app);
  choose_from_menu(app, -1);
  main_loop(app);
  return 0;
}

}  // namespace kardo::shell
