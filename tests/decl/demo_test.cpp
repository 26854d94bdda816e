#include "decl/demo.h"

#include <gtest/gtest.h>

#include <set>

#include "base/xtext.h"
#include "ids/ids.h"

using namespace kardo;

namespace {
// Every value of the record fits its field: texts within the width, numbers within w.d.
template <class Record>
void expect_fits(Record& rec, const char* table) {
  rec.visit([&](std::string_view name, int index, auto& member) {
    const auto& field = Record::fields()[size_t(index)];
    using T = std::decay_t<decltype(member)>;
    if constexpr (std::is_same_v<T, std::string>) {
      EXPECT_LE(member.size(), size_t(field.width)) << table << "." << name;
    } else if constexpr (std::is_same_v<T, base::Decimal>) {
      EXPECT_EQ(base::STR(member, field.width, field.decimals).find('*'), std::string::npos)
          << table << "." << name << " = " << member.text(2);
    }
  });
}
}  // namespace

TEST(DemoDeclarations, AreValidDistinctAndRepeatable) {
  std::set<std::string> cpfs;
  for (uint32_t i = 0; i < 300; ++i) {
    decl::Declaration d = decl::make_demo_declaration(7, i);
    ASSERT_TRUE(ids::Cpf::parse(d.vars.CPF)) << d.vars.CPF;
    EXPECT_TRUE(cpfs.insert(d.vars.CPF).second) << "repeated CPF " << d.vars.CPF;
    EXPECT_FALSE(d.IMP02.empty());
    for (auto& in : d.IMP02) {
      EXPECT_EQ(in.CPF, d.vars.CPF);
      if (in.I1_1 == "J") {
        EXPECT_TRUE(ids::Cnpj::parse(in.I1_3)) << in.I1_3;
      }
      expect_fits(in, "IMP02");
    }
    for (auto& r : d.IMP03) expect_fits(r, "IMP03");
    for (auto& r : d.IMP04) expect_fits(r, "IMP04");
    for (auto& r : d.IMP05) expect_fits(r, "IMP05");
    for (auto& r : d.IMP06) expect_fits(r, "IMP06");
    for (auto& r : d.IMP12) expect_fits(r, "IMP12");
  }
  decl::Declaration a = decl::make_demo_declaration(7, 42), b = decl::make_demo_declaration(7, 42);
  EXPECT_EQ(a.vars.NOMECONTR, b.vars.NOMECONTR);
  EXPECT_EQ(a.IMP06.size(), b.IMP06.size());
  EXPECT_NE(decl::make_demo_declaration(8, 42).vars.NOMECONTR + decl::make_demo_declaration(8, 43).vars.NOMECONTR,
            a.vars.NOMECONTR + decl::make_demo_declaration(7, 43).vars.NOMECONTR);
}
