// Opening tables: creation of missing tables and index files, which index files are built
// again and when, the already-open shortcut, sharing per table, missing reference tables, the
// creation of one table by several terminals at once, the global bundle and the layout update.
#include "store/abertura.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "base/codepage.h"
#include "base/xtext.h"
#include "store/catalog.h"
#include "store/files.h"
#include "store/install.h"
#include "store/records.h"
#include "store_test_util.h"

namespace kardo::store {
namespace {

using namespace testing;
using namespace base::literals;
using base::Code;

std::string cp(std::string_view v) { return std::string(v); }

// Adds register rows (CPF, name) through the writing convention.
void add_register_rows(Session& s, const std::vector<std::pair<std::string, std::string>>& rows) {
  ASSERT_OK(ABERTURA(s, 9));
  for (const auto& [cpf, name] : rows) {
    ASSERT_OK(ADD_REC(s, 0));
    imp09::Record r;
    r.CPF = cpf;
    r.NOMECONTR = name;
    ASSERT_OK(write_record(*s.table(9), r));
    ASSERT_OK(s.table(9)->unlock());
  }
}

TEST(Abertura, NewFolderCreatesTheTableAndItsIndexesOnceOnly) {
  ScratchDir dir;
  Terminal t(dir.path());
  t.s.MOS_MENS = true;
  ASSERT_OK(ABERTURA(t.s, 9));
  const char* files[] = {"IMP0919.DBF", "IMP0919.CDX", "IMP0919B.CDX", "IMP0919C.CDX"};
  std::vector<ino_t> first;
  for (const char* f : files) {
    EXPECT_TRUE(file_exists(dir / f)) << f;
    first.push_back(inode(dir / f));
  }
  xbase::Table* table = t.s.table(9);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(t.s.current, 9);
  EXPECT_EQ(t.s.aliases[9], "IMP0919");
  EXPECT_TRUE(table->shared());
  EXPECT_EQ(table->index_count(), 3);
  EXPECT_EQ(table->order(), 1);
  EXPECT_TRUE(t.op.showed(cp(" não localizado está sendo criado"_cp)));
  EXPECT_TRUE(t.op.showed("Criando o indice " + dir.path() + "/IMP0919B.cdx"));
  EXPECT_TRUE(t.op.showed("Criando IMP09.DBF"));

  // Opened again (by another session: this one would keep its open table), nothing is created.
  Terminal other(dir.path(), "02");
  other.s.MOS_MENS = true;
  ASSERT_OK(ABERTURA(other.s, 9));
  for (size_t i = 0; i < std::size(files); ++i) EXPECT_EQ(inode(dir / files[i]), first[i]) << files[i];
  EXPECT_FALSE(other.op.showed(cp(" não localizado está sendo criado"_cp)));
  EXPECT_FALSE(other.op.showed("Criando o indice"));
  EXPECT_TRUE(other.op.showed(cp("Verificando o Arquivo "_cp) + base::UPPER(dir.path() + "/IMP0919")));
}

// Which index files an open builds again: a missing second index alone; a missing first index
// packs the table and so builds every index (the others hold the old record numbers); REFAZ_IND
// builds all without packing; an unsound file is built again like a missing one.
TEST(Abertura, MissingOrUnsoundIndexFilesAreBuiltAgain) {
  struct Case {
    const char* what;
    std::function<void(const ScratchDir&, Session&)> spoil;
    std::set<std::string> rebuilt;
    uint32_t records;  // 3 unless the table was packed
  };
  const Case cases[] = {
      {"second index deleted", [](const ScratchDir& d, Session&) { std::filesystem::remove(d / "IMP0919B.CDX"); },
       {"IMP0919B.CDX"}, 3},
      {"first index deleted", [](const ScratchDir& d, Session&) { std::filesystem::remove(d / "IMP0919.CDX"); },
       {"IMP0919.CDX", "IMP0919B.CDX", "IMP0919C.CDX"}, 2},
      {"REFAZ_IND", [](const ScratchDir&, Session& s) { s.REFAZ_IND = true; },
       {"IMP0919.CDX", "IMP0919B.CDX", "IMP0919C.CDX"}, 3},
      {"third index damaged", [](const ScratchDir& d, Session&) { spit(d / "IMP0919C.CDX", std::string(600, 'x')); },
       {"IMP0919C.CDX"}, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    {
      Terminal t(dir.path());
      add_register_rows(t.s, {{"33333333333", "CARLA"}, {"11111111111", "ANA"}, {"22222222222", "BRUNO"}});
      ASSERT_OK(t.s.table(9)->go_to(1));
      ASSERT_OK(REC_LOCK(t.s));
      ASSERT_OK(t.s.table(9)->delete_record());
      ASSERT_OK(t.s.table(9)->unlock());
    }
    Terminal t(dir.path());
    c.spoil(dir, t.s);
    std::map<std::string, ino_t> before;
    for (const char* f : {"IMP0919.CDX", "IMP0919B.CDX", "IMP0919C.CDX"}) before[f] = inode(dir / f);
    ASSERT_OK(ABERTURA(t.s, 9));
    for (const auto& [f, ino] : before) EXPECT_EQ(inode(dir / f) != ino, c.rebuilt.count(f) == 1) << f;
    xbase::Table& reg = *t.s.table(9);
    EXPECT_EQ(reg.record_count(), c.records);
    EXPECT_TRUE(reg.shared());  // built exclusively, then opened as asked
    // Every order finds the right rows.
    ASSERT_OK(reg.seek("11111111111"));
    EXPECT_EQ(base::RTRIM(reg.raw(imp09::NOMECONTR)), "ANA");
    ASSERT_OK(reg.set_order(2));
    ASSERT_OK(reg.seek("BRUNO"));
    ASSERT_TRUE(reg.found());
    EXPECT_EQ(reg.text(imp09::CPF), "22222222222");
    ASSERT_OK(reg.seek("CARLA"));
    EXPECT_FALSE(reg.found());  // deleted
  }
}

// A terminal that has the table open writes into the index files it attached; an index is
// built only when no one else has the table open.
TEST(Abertura, IndexFilesAreBuiltOnlyUnderAnExclusiveOpen) {
  ScratchDir dir;
  Terminal a(dir.path()), b(dir.path(), "02");
  ASSERT_OK(ABERTURA(a.s, 9));
  std::filesystem::remove(dir / "IMP0919B.CDX");
  base::Status st = ABERTURA(b.s, 9);
  EXPECT_EQ(st.code(), Code::LOCKED);
  EXPECT_EQ(b.s.table(9), nullptr);
  EXPECT_TRUE(b.op.showed(dir.path() + cp("/IMP0919.DBF não está disponível "_cp)));
  EXPECT_FALSE(file_exists(dir / "IMP0919B.CDX"));
  a.s.close_all();
  ASSERT_OK(ABERTURA(b.s, 9));
  EXPECT_TRUE(file_exists(dir / "IMP0919B.CDX"));
}

TEST(Abertura, AlreadyOpenShortcutComparesTheModeAndTheFile) {
  ScratchDir dir;
  Terminal t(dir.path());
  ASSERT_OK(ABERTURA(t.s, 1));
  xbase::Table* first = t.s.table(1);
  const std::string file = table_file(t.s, 1);
  ASSERT_OK(NETUSE(t.s, file, false));
  EXPECT_EQ(t.s.table(1), first);
  ASSERT_OK(ABERTURA(t.s, 1));
  EXPECT_EQ(t.s.table(1), first);  // ABREARQ keeps it too
  EXPECT_EQ(t.s.table(1)->index_count(), 1);

  ASSERT_OK(NETUSE(t.s, file, true));  // another mode: opened again, exclusively
  EXPECT_FALSE(t.s.table(1)->shared());
  Terminal other(dir.path(), "02");
  EXPECT_EQ(ABERTURA(other.s, 1).code(), Code::LOCKED);  // held exclusively: no message, no retry
  EXPECT_TRUE(other.op.box_texts().empty());

  // Another folder's table of the same name in the same slot is another table.
  std::filesystem::create_directory(dir / "outra");
  ASSERT_OK(ABREARQ(t.s, 1, true, dir / "outra/IMP0119"));
  EXPECT_EQ(t.s.table(1)->path(), dir / "outra/IMP0119.DBF");

  // APELIDO names the next open only.
  t.s.APELIDO = "OUTRO";
  ASSERT_OK(ABERTURA(t.s, 1));
  EXPECT_EQ(t.s.aliases[1], "OUTRO");
  EXPECT_EQ(t.s.APELIDO, "");
  ASSERT_OK(ABERTURA(t.s, 1));
  EXPECT_EQ(t.s.aliases[1], "IMP0119");

  t.s.current = 1;
  base::Status missing = NETUSE(t.s, dir / "NADA", false);
  EXPECT_EQ(missing.code(), Code::NOT_FOUND);
  EXPECT_TRUE(t.op.showed(cp("Arquivo "_cp) + dir / "NADA" + cp(" não existe!"_cp)));
}

TEST(Abertura, TablesAreSharedOrExclusiveAsListed) {
  struct Case {
    int n;
    bool ask_exclusive;
    bool shared;
  };
  const Case cases[] = {{1, false, true}, {1, true, false},  {42, true, true},  {44, false, false},
                        {50, false, false}, {63, false, true}, {63, true, false}, {77, true, false},
                        {24, false, false}};
  ScratchDir dir;
  Terminal t(dir.path());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    ASSERT_OK(ABERTURA(t.s, c.n, c.ask_exclusive));
    EXPECT_EQ(t.s.table(c.n)->shared(), c.shared);
    t.s.close_slot(c.n);
  }
}

TEST(Abertura, ClosingTheDeclarationKeepsTheRegister) {
  ScratchDir dir;
  Terminal t(dir.path());
  for (int n : {1, 9, 20, 24, 40, 42}) ASSERT_OK(ABERTURA(t.s, n));
  close_work_copies(t.s);
  EXPECT_EQ(t.s.table(24), nullptr);
  EXPECT_EQ(t.s.table(40), nullptr);
  EXPECT_NE(t.s.table(1), nullptr);
  ASSERT_OK(ABERTURA(t.s, 24));
  close_declaration_tables(t.s);
  for (int n : {1, 20, 24}) EXPECT_EQ(t.s.table(n), nullptr) << n;
  EXPECT_NE(t.s.table(9), nullptr);
  EXPECT_NE(t.s.table(42), nullptr);
}

TEST(Abertura, CreatedLayoutsFollowTheSlot) {
  ScratchDir dir;
  Terminal t(dir.path());
  // A second folder's register opened in slot 29 gets the register's layout.
  std::filesystem::create_directory(dir / "b");
  ASSERT_OK(ABREARQ(t.s, 29, false, dir / "b/IMP0919", {{"CPF", ""}}));
  EXPECT_EQ(t.s.table(29)->fields().size(), imp09::kFieldCount);
  EXPECT_TRUE(file_exists(dir / "b/IMP0919.CDX"));
  // The terminal's work copy of the assets, with its own key.
  ASSERT_OK(ABERTURA(t.s, 24));
  EXPECT_EQ(t.s.table(24)->path(), dir / "TMP_0401.DBF");
  EXPECT_EQ(t.s.table(24)->fields().size(), imp04::kFieldCount);
  EXPECT_EQ(t.s.table(24)->index_expression(1), "str(I7_0)");
  EXPECT_TRUE(file_exists(dir / "TMP_0401.CDX"));
  EXPECT_TRUE(t.op.showed("Criando IMP04.DBF"));
}

// A reference table comes with the installation: missing, it is a failure with its cause.
TEST(Abertura, MissingReferenceTableIsAFailure) {
  ScratchDir dir;
  Terminal t(dir.path());
  base::Status st = ABERTURA(t.s, 46);
  EXPECT_EQ(st.code(), Code::NOT_FOUND);
  EXPECT_NE(st.message().find("CODBENS"), std::string::npos);
  EXPECT_EQ(t.s.table(46), nullptr);
  EXPECT_EQ(t.op.box_texts().back(),
            cp("Arquivo "_cp) + dir / "CODBENS" + cp(" não foi criado! Reveja a instalação!"_cp));
  EXPECT_FALSE(file_exists(dir / "CODBENS.DBF"));

  // The help texts need their memo file as well.
  ASSERT_OK(create_new_table(t.s.env, dir / "HELPTXT.DBF", {{"NOME", 'C', 30}}, "01"));
  EXPECT_EQ(ABERTURA(t.s, 45).code(), Code::NOT_FOUND);
}

TEST(Abertura, EmptyFolderListGetsTheDataFolder) {
  ScratchDir dir;
  Terminal t(dir.path());
  ASSERT_OK(ABERTURA(t.s, 50));
  xbase::Table& d = *t.s.table(50);
  ASSERT_EQ(d.record_count(), 1u);
  diret::Record r;
  ASSERT_OK(read_record(d, r));
  EXPECT_EQ(r.SELEC, "S");
  EXPECT_EQ(base::RTRIM(r.DIRETOR), dir.path());
  ASSERT_OK(d.delete_record());
  t.s.close_all();
  ASSERT_OK(ABERTURA(t.s, 50));
  ASSERT_OK(t.s.table(50)->go_top());
  EXPECT_FALSE(t.s.table(50)->eof());
  EXPECT_EQ(base::RTRIM(t.s.table(50)->raw(diret::DIRETOR)), dir.path());
}

// --- one table created by several terminals at once ---

TEST(Abertura, AnEmptyFileLeftByACreatorThatDiedIsTakenOver) {
  ScratchDir dir;
  spit(dir / "IMP0119.DBF", "");
  Terminal t(dir.path());
  ASSERT_OK(ABERTURA(t.s, 1));
  EXPECT_EQ(t.s.table(1)->fields().size(), imp01::kFieldCount);
}

TEST(Abertura, ATableBeingCreatedElsewhereIsNotReplaced) {
  ScratchDir dir;
  const std::string path = dir / "IMP0119.DBF";
  OtherProcess creator([&](OtherProcess::Child& c) {
    int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_RDWR, 0644);
    struct flock fl = {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_len = 1;
    c.ready(fd >= 0 && ::fcntl(fd, F_OFD_SETLK, &fl) == 0);
    c.until_released();
  });
  ASSERT_TRUE(creator.ready());
  Terminal t(dir.path());
  EXPECT_EQ(ABERTURA(t.s, 1).code(), Code::LOCKED);
  EXPECT_EQ(std::filesystem::file_size(path), 0u);
  EXPECT_EQ(creator.release(), 0);
  ASSERT_OK(ABERTURA(t.s, 1));
}

// Four processes open the same missing table at the same moment and each appends a row: the
// table is created once and no row is lost to a table created twice. A few rounds, since a
// lost race shows only now and then.
TEST(Abertura, ConcurrentCreationKeepsEveryRow) {
  const int kProcesses = 4;
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    ScratchDir dir;
    std::vector<std::unique_ptr<OtherProcess>> procs;
    for (int i = 0; i < kProcesses; ++i) {
      procs.push_back(std::make_unique<OtherProcess>([&, i](OtherProcess::Child& c) {
        c.ready();
        c.until_released();  // all start together
        Terminal t(dir.path(), "0" + std::to_string(i + 1));
        t.s.wait_limit = std::chrono::seconds(30);
        base::Status st;
        for (int attempt = 0; attempt < 500; ++attempt) {
          st = ABREARQ(t.s, 3, false, dir / "IMP0319");
          if (st.code() != Code::LOCKED) break;
          ::usleep(2000);
        }
        if (st) st = ADD_REC(t.s, 0);
        if (st) st = t.s.table(3)->set_text(imp03::CPF, std::string(10, '0') + std::to_string(i + 1));
        if (st) st = t.s.table(3)->unlock();
        ::_exit(st ? 0 : 1);
      }));
    }
    for (auto& p : procs) p->signal();
    for (auto& p : procs) EXPECT_EQ(p->release(), 0);
    auto table = xbase::Table::open(xbase::Env::posix(), dir / "IMP0319.DBF", xbase::Share::SHARED);
    ASSERT_TRUE(table) << table.status().message();
    std::set<std::string> cpfs;
    for_each_row(**table, [&] { cpfs.insert((*table)->text(0)); });
    EXPECT_EQ(cpfs.size(), size_t(kProcesses));
    EXPECT_EQ((*table)->record_count(), uint32_t(kProcesses));
  }
}

// --- the global bundle ---

class Bundle : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallReport r = install_reference_tables(t.s, std::string(KARDO_SOURCE_DIR) + "/data");
    ASSERT_TRUE(r.ok()) << r.failures.front().message();
  }
  ScratchDir dir;
  Terminal t{dir.path()};
};

TEST_F(Bundle, OpensWhatStartUpNeedsAndLeavesOnlyTheMark) {
  ASSERT_OK(ABERTURA(t.s, 50));
  ASSERT_OK(ADD_REC(t.s, 0));
  ASSERT_OK(t.s.table(50)->set_text(diret::DIRETOR, dir / "sumiu"));
  t.s.close_all();

  ASSERT_OK(ABERTURA(t.s, 0));
  for (int slot = 1; slot < Session::kSlots; ++slot)
    if (slot != 50) {
      EXPECT_EQ(t.s.table(slot), nullptr) << slot;
    }
  ASSERT_TRUE(holds_terminal_mark(t.s));
  EXPECT_EQ(t.s.current, 50);
  for (const char* f : {"AUXBENS.DBF", "AUXBENS.CDX", "AUXPAG.DBF", "LisErro.DBF", "LisErro.CDX", "CODBENS.CDX",
                        "OCUPACAB.CDX", "HELPTXT.CDX", "STATUS.CDX"})
    EXPECT_TRUE(file_exists(dir / f)) << f;
  xbase::Table& d = *t.s.table(50);
  std::vector<std::string> listed;
  for_each_row(d, [&] { listed.emplace_back(base::RTRIM(d.raw(diret::DIRETOR))); });
  EXPECT_EQ(listed, std::vector<std::string>{dir.path()});  // the vanished folder's row is gone

  // Run again with the mark held: the mark is never let go in between.
  xbase::Table* mark = t.s.table(50);
  ASSERT_OK(ABERTURA(t.s, 0));
  EXPECT_EQ(t.s.table(50), mark);
}

TEST_F(Bundle, RequiredCodeTablesFailItTheOthersAreShown) {
  std::filesystem::remove(dir / "UFIRM.DBF");
  ASSERT_OK(ABERTURA(t.s, 0));
  EXPECT_TRUE(t.op.showed("UFIRM"));
  std::filesystem::remove(dir / "CODDIVI.DBF");
  base::Status st = ABERTURA(t.s, 0);
  EXPECT_EQ(st.code(), Code::NOT_FOUND);
  EXPECT_TRUE(holds_terminal_mark(t.s));  // the failure is not "terminal in use"
}

TEST_F(Bundle, FailsWhileAnotherProcessHoldsTheTerminalsMark) {
  OtherProcess first([&](OtherProcess::Child& c) {
    Terminal other(dir.path());
    c.ready(take_terminal_mark(other.s).is_ok());
    c.until_released();
  });
  ASSERT_TRUE(first.ready());
  EXPECT_EQ(ABERTURA(t.s, 0).code(), Code::LOCKED);
  EXPECT_EQ(take_terminal_mark(t.s).code(), Code::LOCKED);
  Terminal another_number(dir.path(), "02");
  EXPECT_OK(ABERTURA(another_number.s, 0));
  EXPECT_EQ(first.release(), 0);
  EXPECT_OK(ABERTURA(t.s, 0));
}

TEST_F(Bundle, TheMunicipalityIndexIsBuiltWhenALookUpNeedsIt) {
  ASSERT_OK(ABERTURA(t.s, 64));
  EXPECT_EQ(t.s.table(64)->index_count(), 0);
  EXPECT_FALSE(file_exists(dir / "TABMUNI.CDX"));
  ASSERT_OK(use_on_demand_index(t.s, 64));
  xbase::Table& m = *t.s.table(64);
  // The index's UPPER changes the letters a to z only.
  ASSERT_OK(m.seek(base::PADR(cp("SãO PAULO"_cp), 30) + "SP"));
  ASSERT_TRUE(m.found());
  EXPECT_EQ(m.text(m.field_index("NROMUNI")), "7107");
  // every row is in the index, the first one included
  long rows = 0;
  for (m.go_top(); !m.eof(); m.skip(1)) ++rows;
  EXPECT_EQ(rows, 5570);
  ASSERT_OK(m.seek(base::PADR(cp("ACRELâNDIA"_cp), 30) + "AC"));
  EXPECT_TRUE(m.found());
  t.s.close_all();
  const ino_t built = inode(dir / "TABMUNI.CDX");
  ASSERT_OK(use_on_demand_index(t.s, 64));  // opens the table, attaches the file that is there
  EXPECT_EQ(inode(dir / "TABMUNI.CDX"), built);
  EXPECT_EQ(use_on_demand_index(t.s, 46).code(), Code::INVALID);
}

// --- the layout version and its update ---

// A declaration table with an older layout: the current fields, less one, or one retyped.
void make_old_table(const std::string& path, std::span<const FieldSpec> layout, const char* field, char type) {
  std::vector<xbase::FieldDef> defs = field_defs(layout);
  for (auto it = defs.begin(); it != defs.end(); ++it)
    if (it->name == field) {
      if (type) it->type = type;
      else defs.erase(it);
      break;
    }
  auto t = xbase::Table::create(xbase::Env::posix(), path, defs);
  ASSERT_TRUE(t) << t.status().message();
  for (const char* cpf : {"11111111111", "22222222222"}) {
    ASSERT_OK((*t)->append_blank());
    ASSERT_OK((*t)->set_text(0, cpf));
    if (int f = (*t)->field_index("I3_01"); f >= 0) ASSERT_OK((*t)->set_number(f, base::Decimal(7)));
  }
  ASSERT_OK((*t)->create_index(path.substr(0, path.size() - 4) + ".CDX", "CPF"));
  ASSERT_OK((*t)->close());
}

TEST(LayoutVersion, OlderLayoutsAreFound) {
  struct Case {
    int n;
    const char* field;
    char type;  // 0: the field is missing
    bool outdated;
  };
  const Case cases[] = {{1, "MEEIRO", 0, true}, {7, "MOV_ACAO", 0, true}, {7, "MOV_ACAO", 'C', true},
                        {1, "", 0, false},      {7, "", 0, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.n) + " " + c.field);
    ScratchDir dir;
    Terminal t(dir.path());
    make_old_table(table_file(t.s, c.n) + ".DBF", find_table(c.n)->fields, c.field, c.type);
    auto out = layout_outdated(t.s, t.s.folders.LOCARQ, c.n);
    ASSERT_TRUE(out);
    EXPECT_EQ(*out, c.outdated);
  }
  ScratchDir empty;
  Terminal t(empty.path());
  EXPECT_FALSE(*layout_outdated(t.s, t.s.folders.LOCARQ, 1));  // missing: created current
}

TEST(LayoutVersion, WarningOnceThenTheUpdateConvertsTheTable) {
  ScratchDir dir;
  Terminal t(dir.path());
  const std::string path = dir / "IMP0119.DBF";
  make_old_table(path, imp01::kFields, "MEEIRO", 0);
  make_old_table(dir / "IMP0719.DBF", imp07::kFields, "MOV_ACAO", 'C');

  EXPECT_TRUE(check_layouts(t.s));
  ASSERT_EQ(t.op.box_texts().size(), 1u);
  EXPECT_EQ(t.op.box_texts()[0], cp("ATENÇÃ0!!! Antes de usar o programa em qualquer / função é preciso atualizar a "
                                    "base de dados. / Vá no item Declaração/Atualiza base de dados."_cp));
  EXPECT_EQ(t.op.shown().back().caption, cp("ATUALIZAÇÃO NECESSÁRIA"_cp));

  // Refused while another terminal has the table open.
  {
    Terminal other(dir.path(), "02");
    ASSERT_OK(ABERTURA(other.s, 1));
    auto c = convert_layout(t.s, t.s.folders.LOCARQ, 1);
    EXPECT_EQ(c.status().code(), Code::LOCKED);
    EXPECT_TRUE(t.op.showed(cp("Não foi possível atualizar "_cp) + path));
  }

  auto n = update_database(t.s);
  ASSERT_TRUE(n) << n.status().message();
  EXPECT_EQ(*n, 2);
  EXPECT_TRUE(t.op.showed(path + " Atualizado"));
  EXPECT_FALSE(file_exists(dir / "ACERTO01.DBF"));
  EXPECT_FALSE(file_exists(dir / "IMP0119.CDX"));  // described the old file
  EXPECT_FALSE(check_layouts(t.s));

  ASSERT_OK(ABERTURA(t.s, 1));
  xbase::Table& r = *t.s.table(1);
  EXPECT_EQ(r.record_count(), 2u);
  ASSERT_OK(r.seek("22222222222"));
  ASSERT_TRUE(r.found());
  EXPECT_EQ(r.text(imp01::Meeiro), " ");
  EXPECT_EQ(r.number(imp01::I3_01), base::Decimal(7));
  ASSERT_OK(ABERTURA(t.s, 7));
  EXPECT_EQ(t.s.table(7)->fields()[imp07::MOV_ACAO].type, 'N');

  auto again = update_database(t.s);
  ASSERT_TRUE(again);
  EXPECT_EQ(*again, 0);
  EXPECT_EQ(t.op.box_texts().back(), cp("Todos Arquivos já estão atualizados"_cp));
}

}  // namespace
}  // namespace kardo::store
