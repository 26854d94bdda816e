// The interactive program run headless: start-up edge cases, the main loop's keys, menu
// dispatch and the data effects of the commands the dispatcher carries out itself.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "base/codepage.h"
#include "base/xtext.h"
#include "shell/app.h"
#include "shell/menu.h"
#include "shell_test_util.h"
#include "store/abertura.h"
#include "store/configura.h"
#include "store/records.h"
#include "term/headless.h"
#include "ui/screen_operator.h"

namespace kardo::shell {
namespace {

using namespace base::literals;
namespace fs = std::filesystem;
using testing_util::env_of;

std::string u8(std::string_view cp) { return base::cp850_to_utf8(cp); }

// A data folder made by the batch installation, shared by the tests of one fixture.
class AppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kardo-app-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    std::ostringstream out, err;
    ASSERT_EQ(run_batch({"init", "--data", dir_.string()}, env_of({}), out, err), 0) << err.str();
  }
  void TearDown() override { fs::remove_all(dir_); }

  // One run of the program with `keys` scripted; the boxes it showed.
  struct Run {
    int rc = 0;
    std::vector<term::HeadlessBackend::BoxRecord> boxes;
    bool showed(std::string_view utf8) const {
      for (const auto& b : boxes)
        for (const auto& l : b.lines)
          if (u8(l).find(utf8) != std::string::npos) return true;
      return false;
    }
  };
  Run run(std::vector<std::string> args, std::map<std::string, std::string> env, std::string_view keys,
          base::Date day = base::Date(2019, 6, 10), int hour = 10, int minute = 0, bool network = false) {
    term::HeadlessBackend h;
    if (!keys.empty()) h.keys(keys);
    term::Terminal terminal(h);
    base::FixedClock clock(day, hour, minute, 0);
    ui::Ui ui(terminal, clock);
    ui::ScreenOperator op(ui);
    store::Session s(op, xbase::Env::posix());
    StartArgs a;
    a.args = std::move(args);
    if (!env.count("DIR2019")) env["DIR2019"] = dir_.string();
    a.env = env_of(env);
    a.current_folder = dir_.string();
    a.is_network_folder = [network](const std::string&) { return network; };
    Run r;
    r.rc = run_program(ui, s, a);
    r.boxes = h.boxes();
    return r;
  }

  // The terminal's CONFIG record as stored.
  std::optional<store::config::Record> config_of(const std::string& nusu) {
    base::FixedClock clock(base::Date(2019, 6, 10));
    base::ScriptedOperator op(clock);
    store::Session s(op, xbase::Env::posix());
    s.NUSU = nusu;
    s.folders.ARQDEF = dir_.string() + "/";
    return store::find_config(s);
  }
  // Whether table `file` of the data folder has a row of terminal `nusu`.
  bool has_terminal_row(const std::string& file, const std::string& nusu) {
    auto t = xbase::Table::open(xbase::Env::posix(), (dir_ / file).string(), xbase::Share::SHARED, true);
    if (!t) return false;
    int f = (*t)->field_index("NRO_TERM");
    for (base::Status st = (*t)->go_top(); st && !(*t)->eof(); st = (*t)->skip())
      if (base::RTRIM((*t)->raw(f)) == nusu) return true;
    return false;
  }

  fs::path dir_;
};

TEST(TerminalNumber, ArgumentAndVariable) {
  struct Case {
    std::optional<std::string> arg, var;
    std::optional<std::string> number;
    bool ask, note;
  } cases[] = {
      {std::nullopt, std::nullopt, "00", true, false},
      {"3", "7", "07", false, false},
      {"3", "xterm-256color", "03", false, true},  // a desktop terminal's name is ignored, with a note
      {std::nullopt, "12", "12", false, false},
      {"5", std::nullopt, "05", false, false},
      {"123", std::nullopt, std::nullopt, false, false},
      {"a1", std::nullopt, std::nullopt, false, false},
      {"3", "", "03", false, false},
  };
  for (const Case& c : cases) {
    TerminalChoice t = choose_terminal(c.arg, c.var);
    SCOPED_TRACE(c.arg.value_or("-") + " / " + c.var.value_or("-"));
    EXPECT_EQ(t.number, c.number);
    if (c.number) {
      EXPECT_EQ(t.ask, c.ask);
    }
    EXPECT_EQ(!t.note.empty(), c.note);
  }
}

TEST(BackupReminder, Dates) {
  struct Case {
    base::Date today, last;
    bool due;
  } cases[] = {
      {{2019, 3, 10}, {2019, 3, 5}, true},
      {{2019, 3, 10}, {2019, 3, 7}, false},   // three days
      {{2019, 3, 10}, {2019, 3, 6}, true},    // four days
      {{2019, 5, 2}, {2019, 1, 2}, false},    // from May on
      {{2020, 3, 10}, {2019, 3, 1}, false},   // another year
      {{2019, 4, 30}, {}, true},              // never backed up
  };
  for (const Case& c : cases) EXPECT_EQ(backup_due(c.today, c.last), c.due) << c.today.DTOC();
}

TEST(Reminders, FireWhenTheirMinuteHasCome) {
  term::HeadlessBackend h;
  h.keys("Enter Enter");
  term::Terminal terminal(h);
  base::FixedClock clock(base::Date(2019, 3, 10), 14, 29, 30);
  ui::Ui ui(terminal, clock);
  std::vector<Reminder> list{{1430, std::string("Reunião"_cp)}, {1600, "Depois"}};
  fire_reminders(ui, list);
  EXPECT_EQ(list.size(), 2u);
  // The key or tick that looks next comes a minute late: the reminder still shows, once.
  clock.advance(std::chrono::seconds(100));
  fire_reminders(ui, list);
  fire_reminders(ui, list);
  ASSERT_EQ(h.boxes().size(), 1u);
  EXPECT_EQ(u8(h.boxes()[0].lines[0]), "ATENÇÃO - 14:31 Reunião");
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].hhmm, 1600);
}

TEST_F(AppTest, FirstStartOfATerminalCreatesItsRecords) {
  Run r = run({"3"}, {{"TERMINAL", "7"}}, "Esc S");
  EXPECT_EQ(r.rc, 0);
  auto c = config_of("07");
  ASSERT_TRUE(c);
  EXPECT_EQ(base::RTRIM(c->NOMEAG), "USUARIO DO TERMINAL 07");
  EXPECT_TRUE(has_terminal_row("CORES.DBF", "07"));
  EXPECT_TRUE(has_terminal_row("LISTAIMP.DBF", "07") || has_terminal_row("ListaIMP.DBF", "07"));
  EXPECT_FALSE(config_of("03"));
}

TEST_F(AppTest, NetworkDriveAsksTheTerminalNumber) {
  const base::Date day(2019, 6, 10);
  // A proposed number is confirmed with Enter; without one the number is typed.
  EXPECT_EQ(run({}, {{"EQUIP", "12"}, {"USUAR", "ANA"}}, "Enter Esc S", day, 10, 0, true).rc, 0);
  EXPECT_TRUE(config_of("12"));
  EXPECT_EQ(run({}, {{"USUAR", "ANA"}}, "8 Enter Esc S", day, 10, 0, true).rc, 0);
  EXPECT_TRUE(config_of("08"));
  // An argument is never asked about.
  EXPECT_EQ(run({"9"}, {}, "Esc S", day, 10, 0, true).rc, 0);
  EXPECT_TRUE(config_of("09"));
}

TEST_F(AppTest, LeavingAsksAndNoGoesBackToTheLoop) {
  // Esc and "No", "&Fim" by its letter and "No", then Alt T and "Yes".
  Run r = run({}, {}, "Esc N Alt+F N Alt+T S");
  EXPECT_EQ(r.rc, 0);
  ASSERT_EQ(r.boxes.size(), 3u);
  EXPECT_EQ(r.boxes[0].answer, "N");
  EXPECT_EQ(r.boxes[1].answer, "N");
  EXPECT_EQ(u8(r.boxes[1].lines[0]), "Confirma saída do programa?");
  EXPECT_EQ(r.boxes[2].answer, "S");
  EXPECT_TRUE(config_of("00"));
}

TEST_F(AppTest, MissingDataFolderFallsBackToTheCurrentFolder) {
  Run r = run({}, {{"DIR2019", (dir_ / "nowhere").string()}}, "Enter Esc S");
  EXPECT_EQ(r.rc, 0);
  EXPECT_TRUE(r.showed("<Dir> " + (dir_ / "nowhere").string() + "não encontrado. Assumindo o padrão!"));
  EXPECT_TRUE(config_of("00"));  // the current folder (the data folder here) was used
}

TEST_F(AppTest, SecondStartOnTheSameTerminalIsRefused) {
  base::FixedClock clock(base::Date(2019, 6, 10));
  base::ScriptedOperator op(clock);
  store::Session first(op, xbase::Env::posix());
  first.NUSU = "04";
  first.folders.ARQDEF = dir_.string() + "/";
  ASSERT_TRUE(store::take_terminal_mark(first));
  Run r = run({"4"}, {}, "Enter");
  EXPECT_EQ(r.rc, 1);
  EXPECT_TRUE(r.showed("O programa Kardo19 no terminal 04 está em uso"));
  // Another number runs.
  EXPECT_EQ(run({"5"}, {}, "Esc S").rc, 0);
}

TEST_F(AppTest, BackupReminderNoStoresTodayYesKeepsTheDate) {
  // First start on 5 March: the new record's last backup is that day.
  ASSERT_EQ(run({"6"}, {}, "Esc S", base::Date(2019, 3, 5)).rc, 0);
  // 10 March: reminded; "Yes" is not built and keeps the date, so the reminder returns.
  Run yes = run({"6"}, {}, "Enter Enter Esc S", base::Date(2019, 3, 10));
  EXPECT_TRUE(yes.showed(" Atenção   5 dias sem fazer o Backup completo."));
  EXPECT_TRUE(yes.showed("Função não disponível nesta versão."));
  EXPECT_EQ(config_of("06")->ULTBACK, base::Date(2019, 3, 5));
  // "No": today becomes the last backup, and the next start does not remind.
  Run no = run({"6"}, {}, "Right Enter Esc S", base::Date(2019, 3, 10));
  EXPECT_TRUE(no.showed("dias sem fazer o Backup completo."));
  EXPECT_EQ(config_of("06")->ULTBACK, base::Date(2019, 3, 10));
  Run again = run({"6"}, {}, "Esc S", base::Date(2019, 3, 11));
  EXPECT_FALSE(again.showed("dias sem fazer o Backup completo."));
  // From May on there is no reminder.
  Run may = run({"6"}, {}, "Esc S", base::Date(2019, 5, 20));
  EXPECT_FALSE(may.showed("dias sem fazer o Backup completo."));
}

TEST_F(AppTest, MenuKeysAndCommandsNotBuiltAnswer) {
  // Alt I, then the menu: Alt D and the item letter D (open a declaration), Alt B and the
  // first backup item's sub-menu, and F10 with Esc.
  Run r = run({}, {}, "Alt+I Enter Alt+D D Enter Alt+O S Enter Esc S");
  EXPECT_EQ(r.rc, 0);
  int boxes = 0;
  for (const auto& b : r.boxes)
    if (u8(b.lines[0]) == "Função não disponível nesta versão.") ++boxes;
  EXPECT_EQ(boxes, 3);  // Alt I, Declaração › Declaração, Opções › cadastro SELIC
}

// MENUSELECT directly, on a started session.
class DispatchTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    clock_ = std::make_unique<base::FixedClock>(base::Date(2019, 6, 10), 10, 0, 0);
    ui_ = std::make_unique<ui::Ui>(terminal_, *clock_);
    op_ = std::make_unique<ui::ScreenOperator>(*ui_);
    s_ = std::make_unique<store::Session>(*op_, xbase::Env::posix());
    s_->folders.ARQDEF = s_->folders.LOCARQ = s_->folders.LOCTRAB = dir_.string() + "/";
    ASSERT_TRUE(store::take_terminal_mark(*s_));
    ASSERT_TRUE(store::CONFIGURA(*s_));
    ASSERT_TRUE(store::load_define(*s_));
    app_ = std::make_unique<App>(App{*ui_, *s_, false, 0, 1, true, 1, false, {}, open_declaration});
  }
  void TearDown() override {
    app_.reset();
    s_.reset();
    AppTest::TearDown();
  }
  term::HeadlessBackend h_;
  term::Terminal terminal_{h_};
  std::unique_ptr<base::FixedClock> clock_;
  std::unique_ptr<ui::Ui> ui_;
  std::unique_ptr<ui::ScreenOperator> op_;
  std::unique_ptr<store::Session> s_;
  std::unique_ptr<App> app_;
};

TEST_F(DispatchTest, MenuToReturnToAndOpenDeclarationGuard) {
  struct Case { int command, menu; } cases[] = {{11, 1}, {12, 1}, {28, 2}, {33, 2}, {41, 3}, {53, 4}, {68, 5}, {71, 6}, {77, 6}};
  h_.keys("Enter Enter Enter Enter Enter Enter Enter Enter Enter");
  for (const Case& c : cases) {
    MENUSELECT(*app_, c.command, 1, 1);
    EXPECT_EQ(app_->NPOSMENU, c.menu) << c.command;
    EXPECT_EQ(app_->OPCAO_1, c.command);
  }
  size_t shown = h_.boxes().size();
  app_->LESTOUNADECL = true;
  MENUSELECT(*app_, 28);
  EXPECT_EQ(h_.boxes().size(), shown);  // nothing while a declaration is open
  EXPECT_EQ(app_->OPCAO_1, 28);
}

TEST_F(DispatchTest, LinesPerSheetLimits) {
  for (auto [asked, lines] : {std::pair{70, 60}, {49, 60}, {50, 50}, {66, 66}, {0, 60}}) EXPECT_EQ(lines_per_sheet(asked), lines);
  h_.keys("7 0 Enter Enter");
  MENUSELECT(*app_, 54);
  EXPECT_EQ(s_->config.NRO_LIN, 60);
  ASSERT_FALSE(h_.boxes().empty());
  EXPECT_EQ(u8(h_.boxes().back().lines[0]), "Número esta fora dos limites. Assumido 60");
}

TEST_F(DispatchTest, OneCentAmountsRemoved) {
  ASSERT_TRUE(store::ABERTURA(*s_, 2));
  xbase::Table& t = *s_->table(2);
  const int i4 = t.field_index("I1_4"), i15 = t.field_index("I1_15"), i38 = t.field_index("I1_38");
  struct Row { base::Decimal i4, i15, i38; } rows[] = {
      {base::Decimal::of(1, 2), base::Decimal::of(2, 2), base::Decimal::of(-1, 2)},
      {base::Decimal::of(100, 2), base::Decimal::of(1, 2), base::Decimal::of(1, 2)},
  };
  for (const Row& r : rows) {
    ASSERT_TRUE(t.append_blank());
    ASSERT_TRUE(t.set_number(i4, r.i4));
    ASSERT_TRUE(t.set_number(i15, r.i15));
    ASSERT_TRUE(t.set_number(i38, r.i38));
    ASSERT_TRUE(t.commit());
  }
  ASSERT_TRUE(t.unlock());
  h_.keys("S Enter");
  MENUSELECT(*app_, 37);
  ASSERT_TRUE(store::ABERTURA(*s_, 2));
  xbase::Table& u = *s_->table(2);
  ASSERT_TRUE(u.set_order(0));
  ASSERT_TRUE(u.go_top());
  EXPECT_EQ(u.number(i4), 0);                          // 0.01 goes
  EXPECT_EQ(u.number(i15), base::Decimal::of(2, 2));   // 0.02 stays
  EXPECT_EQ(u.number(i38), base::Decimal::of(-1, 2));  // −0.01 stays
  ASSERT_TRUE(u.skip());
  EXPECT_EQ(u.number(i4), 1);
  EXPECT_EQ(u.number(i15), 0);
  EXPECT_EQ(u.number(i38), 0);
  EXPECT_EQ(u8(h_.boxes().back().lines[0]), "Pronto!");
}

TEST_F(DispatchTest, RepeatedCnpjsRemoved) {
  ASSERT_TRUE(store::ABERTURA(*s_, 77, true));
  {
    xbase::Table& t = *s_->table(77);
    ASSERT_TRUE(t.zap());
    const int fn = t.field_index("NOME"), fc = t.field_index("CNPJ");
    for (auto [name, cnpj] : {std::pair{"A", "11.111.111/0001-11"}, {"B", "22.222.222/0001-22"},
                              {"A2", "11.111.111/0001-11"}, {"A3", "11.111.111/0001-11"}}) {
      ASSERT_TRUE(t.append_blank());
      ASSERT_TRUE(t.set_text(fn, name));
      ASSERT_TRUE(t.set_text(fc, cnpj));
      ASSERT_TRUE(t.commit());
    }
    ASSERT_TRUE(t.unlock());
  }
  s_->close_slot(77);
  h_.keys("S Enter");
  MENUSELECT(*app_, 39, 2);
  EXPECT_EQ(u8(h_.boxes().back().lines[0]), "Excluidos   2 CNPJs");
  ASSERT_TRUE(store::ABERTURA(*s_, 77));
  xbase::Table& t = *s_->table(77);
  ASSERT_TRUE(t.set_order(0));
  std::vector<std::string> left;
  for (base::Status st = t.go_top(); st && !t.eof(); st = t.skip()) left.emplace_back(base::RTRIM(t.text(t.field_index("NOME"))));
  EXPECT_EQ(left, (std::vector<std::string>{"A", "B"}));
}

TEST_F(DispatchTest, PhoneSendingMarksEveryTaxpayer) {
  ASSERT_TRUE(store::ABERTURA(*s_, 1));
  xbase::Table& t = *s_->table(1);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(t.append_blank());
  ASSERT_TRUE(t.unlock());
  h_.keys("S Enter");
  MENUSELECT(*app_, 38, 1);
  ASSERT_TRUE(store::ABERTURA(*s_, 1));
  xbase::Table& u = *s_->table(1);
  int marked = 0;
  for (base::Status st = u.go_top(); st && !u.eof(); st = u.skip()) marked += u.logical(u.field_index("NOVREG"));
  EXPECT_EQ(marked, 3);
}

TEST_F(DispatchTest, FeesAcceptOnlyWhatTheirFieldsHold) {
  // 1000,00 per minute does not fit the 5,2 field: refused, the cursor stays; then 12,50.
  h_.keys("1 0 0 0 Enter Enter 1 2 . 5 Enter Enter Enter Enter");
  MENUSELECT(*app_, 25);
  EXPECT_EQ(s_->define.VAL_SEG, base::Decimal::of(1250, 2));
  s_->close_slot(43);
  ASSERT_TRUE(store::load_define(*s_));
  EXPECT_EQ(s_->define.VAL_SEG, base::Decimal::of(1250, 2));
}

TEST_F(DispatchTest, SavingMode) {
  h_.keys("");
  MENUSELECT(*app_, 26, 3);
  EXPECT_EQ(s_->define.TEMP_SAL, 99);
  // The automatic mode asks again starting from 15.
  h_.keys("Enter");
  MENUSELECT(*app_, 26, 1);
  EXPECT_EQ(s_->define.TEMP_SAL, 15);
  MENUSELECT(*app_, 26, 2);
  EXPECT_EQ(s_->define.TEMP_SAL, 0);
}

}  // namespace
}  // namespace kardo::shell

namespace kardo::shell {
namespace {

TEST_F(DispatchTest, ColourEditorLimitsAndChoicesThatLast) {
  ASSERT_TRUE(store::load_cores(*s_));
  // Item 1 (text, 30 = yellow on blue): Right twice stops at foreground 15.
  h_.keys("Right Right Right Enter");
  MENUSELECT(*app_, 23, 1);
  EXPECT_EQ(ui_->colours().COR_TEL1, 31);
  EXPECT_EQ(ui_->colours().COR_1_CLI, ui::ACHACOR(31));
  // Item 5 (messages, 112 = black on white): Down at background 7 does nothing; Up goes to 6.
  h_.keys("Down Left Up Esc");
  MENUSELECT(*app_, 23, 5);
  EXPECT_EQ(ui_->colours().COR_MENS, 96);
  // A window write leaves the chosen pair alone.
  ui_->windows().REDEFJAN(3, 30, 31, 7, 5, 5, 10, 40, 2);
  ui_->windows().ABREJAN(3);
  ui_->windows().ESCRJAN(3, "texto");
  ui_->windows().FECHAJAN(3);
  EXPECT_EQ(ui_->colours().COR_1_CLI, ui::ACHACOR(31));
  // The terminal's CORES record holds the choices for the next start.
  s_->close_slot(56);
  s_->cores = {};
  ASSERT_TRUE(store::load_cores(*s_));
  EXPECT_EQ(s_->cores.COR_TEL1, 31);
  EXPECT_EQ(s_->cores.COR_MENS, 96);
  EXPECT_EQ(base::RTRIM(s_->cores.COR_1_CLI), ui::ACHACOR(31));
}

TEST_F(DispatchTest, TodaysRemindersOfTheOperator) {
  ASSERT_TRUE(store::ABERTURA(*s_, 72));
  xbase::Table& t = *s_->table(72);
  struct Row { const char* who; const char* when; base::Date day; bool remind; } rows[] = {
      {"ANA", "1430", {2019, 6, 10}, true},   // later today: kept
      {"ANA", "0930", {2019, 6, 10}, true},   // already past
      {"ANA", "1500", {2019, 6, 11}, true},   // another day
      {"ANA", "1600", {2019, 6, 10}, false},  // not marked
      {"RUI", "1700", {2019, 6, 10}, true},   // another operator
  };
  for (const Row& r : rows) {
    ASSERT_TRUE(t.append_blank());
    ASSERT_TRUE(t.set_text(t.field_index("NOMEAG"), r.who));
    ASSERT_TRUE(t.set_text(t.field_index("HORAG"), r.when));
    ASSERT_TRUE(t.set_text(t.field_index("ANOTAG"), std::string("nota ") + r.when));
    ASSERT_TRUE(t.set_date(t.field_index("DATAG"), r.day));
    ASSERT_TRUE(t.set_logical(t.field_index("AVISAG"), r.remind));
    ASSERT_TRUE(t.commit());
  }
  ASSERT_TRUE(t.unlock());
  std::vector<Reminder> list = collect_reminders(*s_, "ANA");
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].hhmm, 1430);
  EXPECT_EQ(list[0].note, "nota 1430");
}

}  // namespace
}  // namespace kardo::shell

#include "shell/lists.h"

namespace kardo::shell {
namespace {

class ListsTest : public DispatchTest {
 protected:
  void SetUp() override {
    DispatchTest::SetUp();
    ASSERT_TRUE(store::ABERTURA(*s_, 77, true));
    xbase::Table& t = *s_->table(77);
    ASSERT_TRUE(t.zap());
    for (auto [name, cnpj] : {std::pair{"BETA", "11111111000111"}, {"ALFA", "33333333000133"}, {"GAMA", "22222222000122"}}) {
      ASSERT_TRUE(t.append_blank());
      ASSERT_TRUE(t.set_text(t.field_index("NOME"), name));
      ASSERT_TRUE(t.set_text(t.field_index("CNPJ"), cnpj));
      ASSERT_TRUE(t.commit());
    }
    ASSERT_TRUE(t.unlock());
    s_->close_slot(77);
  }
  std::optional<std::map<std::string, std::string>> bank(std::string_view keys) {
    h_.keys(keys);
    return GERAL(*ui_, *s_, state_, "ListaBanco");
  }
  LookupState state_;
};

TEST_F(ListsTest, BrowseKeysChooseARow) {
  struct Case { const char* keys; const char* chosen; } cases[] = {
      {"Enter", "ALFA"},                    // name order
      {"Down Enter", "BETA"},
      {"Down Down Down Down Enter", "GAMA"},  // stops at the last row
      {"Ctrl+End Up Enter", "BETA"},
      {"F2 Ctrl+Home Enter", "BETA"},        // CNPJ order: BETA first
  };
  for (const Case& c : cases) {
    auto v = bank(c.keys);
    ASSERT_TRUE(v) << c.keys;
    EXPECT_EQ((*v)["REG_AVI"], c.chosen) << c.keys;
  }
  EXPECT_EQ((*bank("Enter"))["CPF_CNPJ"], "33333333000133");
  EXPECT_FALSE(bank("Down Esc"));
  // The mouse: a click on the third data row (the list opens at rows 9 … 22), then Enter.
  h_.click(14, 40);
  auto v = bank("Enter");
  ASSERT_TRUE(v);
  EXPECT_EQ((*v)["REG_AVI"], "GAMA");
}

TEST_F(ListsTest, NoListOrAListAlreadyUpReturnsAtOnce) {
  ui_->screen().clear();
  EXPECT_EQ(list_for("NOSUCHFIELD"), nullptr);
  EXPECT_FALSE(GERAL(*ui_, *s_, state_, "NOSUCHFIELD"));
  state_.PROG = true;
  EXPECT_FALSE(GERAL(*ui_, *s_, state_, "ListaBanco"));
  EXPECT_EQ(h_.presents(), 0);  // nothing was drawn or waited for
}

TEST_F(ListsTest, TypedCharacterSeeksTheStreetTypes) {
  h_.keys("R Enter");
  auto v = GERAL(*ui_, *s_, state_, "M->TIPOEND");
  ASSERT_TRUE(v);
  EXPECT_EQ((*v)["NOMELOGRA"].substr(0, 1), "R");
  EXPECT_EQ(s_->table(65), nullptr);  // the street-type table is closed after the choice
}

}  // namespace
}  // namespace kardo::shell

namespace kardo::shell {
namespace {

TEST_F(DispatchTest, BankListAndAuxfonExchangeCnpjs) {
  ASSERT_TRUE(store::ABERTURA(*s_, 77, true));
  ASSERT_TRUE(s_->table(77)->zap());
  s_->close_slot(77);
  ASSERT_TRUE(store::ABERTURA(*s_, 74));
  xbase::Table& fon = *s_->table(74);
  for (auto [name, id] : {std::pair{"EMPRESA UM", "11.111.111/0001-11"}, {"PESSOA", "123.456.789-09"},
                          {"EMPRESA DOIS COM UM NOME MUITO LONGO", "22222222000122"}}) {
    ASSERT_TRUE(fon.append_blank());
    ASSERT_TRUE(fon.set_text(fon.field_index("NOME"), name));
    ASSERT_TRUE(fon.set_text(fon.field_index("CGCCPF"), id));
    ASSERT_TRUE(fon.commit());
  }
  ASSERT_TRUE(fon.unlock());
  // The two CNPJs go to the bank list once; a second run adds nothing.
  EXPECT_EQ(*banks_from_auxfon(*s_), 2);
  EXPECT_EQ(*banks_from_auxfon(*s_), 0);
  // Back to AUXFON: "22222222000122" is there only without punctuation, so it is added punctuated.
  EXPECT_EQ(*banks_to_auxfon(*s_), 1);
  EXPECT_EQ(*banks_to_auxfon(*s_), 0);
  xbase::Table& banks = *s_->table(77);
  std::vector<std::string> names;
  for (base::Status st = banks.go_top(); st && !banks.eof(); st = banks.skip())
    names.emplace_back(base::RTRIM(banks.text(banks.field_index("NOME"))));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"EMPRESA DOIS COM UM NOME MUITO", "EMPRESA UM"}));
}

TEST_F(DispatchTest, CityCodesFilledFromTheMunicipalities) {
  ASSERT_TRUE(store::use_on_demand_index(*s_, 64));
  xbase::Table& m = *s_->table(64);
  ASSERT_TRUE(m.go_top());
  ASSERT_TRUE(m.skip(10));
  ASSERT_FALSE(m.eof()) << "the installation ships the municipalities";
  const std::string town(base::RTRIM(m.text(m.field_index("NOMEMUNI")))), state(m.text(m.field_index("UNIFED")));
  const int nf = m.field_index("NROMUNI");
  const std::string code = m.fields()[size_t(nf)].type == 'N' ? base::STRZERO(m.number(nf), 4) : std::string(base::ALLTRIM(m.text(nf)));
  s_->close_slot(64);
  ASSERT_TRUE(store::ABERTURA(*s_, 4));
  xbase::Table& a = *s_->table(4);
  struct Row { const char* cpf; std::string town, state; } rows[] = {
      {"11111111111", town, state}, {"11111111111", town, state}, {"22222222222", town, state},
      {"33333333333", "CIDADE QUE NAO HA", state}, {"44444444444", town, ""}};
  for (const Row& r : rows) {
    ASSERT_TRUE(a.append_blank());
    ASSERT_TRUE(a.set_text(a.field_index("CPF"), r.cpf));
    ASSERT_TRUE(a.set_text(a.field_index("MUNICIMO"), r.town));
    ASSERT_TRUE(a.set_text(a.field_index("UFIMO"), r.state));
    ASSERT_TRUE(a.commit());
  }
  ASSERT_TRUE(a.unlock());
  base::Result<CityFill> f = fill_city_codes(*s_);
  ASSERT_TRUE(f) << f.status().message();
  EXPECT_EQ(f->items, 3);
  EXPECT_EQ(f->taxpayers, 2);
  xbase::Table& b = *s_->table(4);
  ASSERT_TRUE(b.set_order(0));
  std::vector<std::string> codes;
  for (base::Status st = b.go_top(); st && !b.eof(); st = b.skip()) codes.emplace_back(base::RTRIM(b.text(b.field_index("CODMIMO"))));
  EXPECT_EQ(codes, (std::vector<std::string>{code, code, code, "", ""}));
}

}  // namespace
}  // namespace kardo::shell

namespace kardo::shell {
namespace {

TEST_F(DispatchTest, DriveLetterOfTheCompressedBackup) {
  h_.keys("d Enter Enter");
  MENUSELECT(*app_, 72, 1);
  EXPECT_EQ(s_->config.XDRIVE, "D");
  ASSERT_FALSE(h_.boxes().empty());
  EXPECT_EQ(u8(h_.boxes().back().lines[0]), "Função não disponível nesta versão.");
  const size_t shown = h_.boxes().size();
  h_.keys("Enter");
  MENUSELECT(*app_, 75, 1);  // blank: drive A, and nothing runs
  EXPECT_EQ(s_->config.XDRIVE, "A");
  EXPECT_EQ(h_.boxes().size(), shown);
}

TEST_F(DispatchTest, WorkFolderAskedCreatedAndStored) {
  const std::string old(base::RTRIM(s_->config.dirtrab));
  // Esc keeps the folder.
  h_.keys("Esc");
  MENUSELECT(*app_, 21);
  EXPECT_EQ(base::RTRIM(s_->config.dirtrab), old);
  // A new folder: refusing to create it asks again; accepting creates and stores it.
  const std::string fresh = (dir_ / "trabalho").string();
  h_.type(fresh);
  h_.keys("Enter N Enter S");
  MENUSELECT(*app_, 21);
  EXPECT_TRUE(fs::is_directory(fresh));
  EXPECT_EQ(s_->folders.LOCTRAB, fresh + "/");
  EXPECT_EQ(base::RTRIM(config_of("00")->dirtrab), fresh);
  // The official program's folder: Alt P fills the default; blank means no transfer.
  h_.keys("Ctrl+Y Enter Enter");
  MENUSELECT(*app_, 67);
  EXPECT_TRUE(base::is_blank(config_of("00")->ROTAJAVA));
  EXPECT_EQ(s_->folders.LOCIRPF, "");
}

}  // namespace
}  // namespace kardo::shell

namespace kardo::shell {
namespace {

TEST_F(AppTest, ReminderFiresOnTheTimerTickWithoutAKey) {
  {
    base::FixedClock clock(base::Date(2019, 6, 10));
    base::ScriptedOperator op(clock);
    store::Session s(op, xbase::Env::posix());
    s.folders.ARQDEF = dir_.string() + "/";
    ASSERT_TRUE(store::ABERTURA(s, 72));
    xbase::Table& t = *s.table(72);
    ASSERT_TRUE(t.append_blank());
    ASSERT_TRUE(t.set_text(t.field_index("NOMEAG"), "USUARIO DO TERMINAL 06"));
    ASSERT_TRUE(t.set_text(t.field_index("HORAG"), "1001"));
    ASSERT_TRUE(t.set_text(t.field_index("ANOTAG"), "Ligar para o cliente"));
    ASSERT_TRUE(t.set_date(t.field_index("DATAG"), base::Date(2019, 6, 10)));
    ASSERT_TRUE(t.set_logical(t.field_index("AVISAG"), true));
    ASSERT_TRUE(t.commit());
    ASSERT_TRUE(t.unlock());
  }
  term::HeadlessBackend h;
  term::Terminal terminal(h);
  base::FixedClock clock(base::Date(2019, 6, 10), 10, 0, 30);
  ui::Ui ui(terminal, clock);
  ui::ScreenOperator op(ui);
  store::Session s(op, xbase::Env::posix());
  int idle = 0;
  // Nobody types: the first idle wait moves the clock to 10:01 and passes as a timer tick.
  h.when_idle([&](term::HeadlessBackend& b) {
    if (++idle == 1) clock.advance(std::chrono::seconds(60));
    else if (b.shown().shows("ATENÇÃO - 10:01 Ligar para o cliente"_cp)) b.keys("Enter");
    else if (idle > 2) b.keys("Esc S");
  });
  StartArgs a;
  a.args = {"6"};
  a.env = env_of({{"DIR2019", dir_.string()}});
  a.current_folder = dir_.string();
  a.is_network_folder = [](const std::string&) { return false; };
  EXPECT_EQ(run_program(ui, s, a), 0);
  int fired = 0;
  for (const auto& b : h.boxes())
    if (u8(b.lines[0]) == "ATENÇÃO - 10:01 Ligar para o cliente") ++fired;
  EXPECT_EQ(fired, 1);
}

}  // namespace
}  // namespace kardo::shell

namespace kardo::shell {
namespace {

TEST_F(DispatchTest, MunicipalityListFromTheStateField) {
  LookupState state;
  ASSERT_TRUE(store::use_on_demand_index(*s_, 64));
  xbase::Table& m = *s_->table(64);
  const xbase::FieldInfo& name = m.fields()[size_t(m.field_index("NOMEMUNI"))];
  ASSERT_TRUE(m.seek(base::PADR("SEM-PEIXE", size_t(name.width)) + "MG"));
  ASSERT_TRUE(m.found());
  // A hyphenated town chosen while the state is edited is a town: municipality and code.
  h_.keys("Enter");
  auto v = GERAL(*ui_, *s_, state, "M->MUNICIPIO", "M->UF");
  ASSERT_TRUE(v);
  EXPECT_EQ((*v)["MUNICIPIO"], "Sem-Peixe");
  EXPECT_EQ((*v)["CODMUNI"], "0734");
  EXPECT_FALSE(v->count("UF"));
  EXPECT_TRUE(h_.shown().shows("Nome dos Estados"));
  // GERAL2 hands back the code of a preset field.
  h_.keys("Down Enter");
  ASSERT_TRUE(store::ABERTURA(*s_, 47));
  ASSERT_TRUE(s_->table(47)->go_top());
  const std::string second = [&] {
    xbase::Table& t = *s_->table(47);
    t.skip();
    return std::string(base::ALLTRIM(base::STR(t.number(t.field_index("CODDEP")), 2)));
  }();
  ASSERT_TRUE(s_->table(47)->go_top());
  EXPECT_EQ(GERAL2(*ui_, *s_, state, "CODIDEPEN"), second);
}

}  // namespace
}  // namespace kardo::shell

namespace kardo::shell {
namespace {

TEST_F(DispatchTest, ShortRegisterListSeeksByFirstCharacter) {
  ASSERT_TRUE(store::ABERTURA(*s_, 9));
  xbase::Table& t = *s_->table(9);
  for (auto [name, cpf] : {std::pair{"MARIA SILVA", "31111111111"}, {"ANA COSTA", "10000000000"}, {"JOAO LIMA", "22222222222"}}) {
    ASSERT_TRUE(t.append_blank());
    ASSERT_TRUE(t.set_text(t.field_index("NOMECONTR"), name));
    ASSERT_TRUE(t.set_text(t.field_index("CPF"), cpf));
    ASSERT_TRUE(t.commit());
  }
  ASSERT_TRUE(t.unlock());
  LookupState state;
  struct Case { const char* keys; const char* cpf; } cases[] = {
      {"m Enter", "31111111111"},  // a letter seeks the name
      {"2 Enter", "22222222222"},  // a digit seeks the CPF
      {"J Down Enter", "31111111111"},
      {"Z Enter", "31111111111"},  // nothing follows Z: the last name
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(s_->table(9)->set_order(1));
    ASSERT_TRUE(s_->table(9)->go_top());
    h_.keys(c.keys);
    auto v = GERAL(*ui_, *s_, state, "M->CPF", {}, 1);
    ASSERT_TRUE(v) << c.keys;
    EXPECT_EQ((*v)["CPF"], c.cpf) << c.keys;
  }
}

}  // namespace
}  // namespace kardo::shell
