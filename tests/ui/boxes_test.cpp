// MENS, AVISOSN, the chooser, the help boxes and the screen's operator.
#include "fixture.h"
#include "term/keys.h"
#include "ui/screen_operator.h"

namespace kardo::ui::testing {
namespace {

using base::Mens;
namespace key = term::key;

class Boxes : public UiTest {};

TEST_F(Boxes, MensPlacesItsBox) {
  const std::string text30(30, 'm');
  struct Case { std::string column; int lines; int expect_col; } cases[] = {
      {"C", 1, 24},           // (80 − 31) ÷ 2
      {"", 1, 70 - 31},       // no column: 70 − width
      {"E", 1, 2},
      {"7", 1, 7},
      {"C", 2, (80 - 16) / 2},  // two lines: width 31 ÷ 2 + 1 = 16
  };
  for (const Case& c : cases) {
    pattern();
    const term::Screen before = s();
    Mens m;
    m.mode = 12;
    m.text = text30;
    m.column = c.column;
    m.lines = c.lines;
    m.letters = "SN";
    int width = c.lines == 1 ? 31 : 16;
    h.when_idle([&](term::HeadlessBackend& hb) {
      const term::Screen& shown = hb.shown();
      EXPECT_EQ(shown.text(20, c.expect_col, c.lines == 1 ? 30 : 16), std::string(c.lines == 1 ? 30 : 16, 'm')) << c.column;
      if (c.lines == 2) {
        EXPECT_EQ(shown.text(21, c.expect_col, 16), std::string(14, 'm') + "  ");
      }
      EXPECT_EQ(shown.at(19, c.expect_col - 1).ch, cp("┌"_cp)) << c.column;
      EXPECT_EQ(shown.at(20 + c.lines, c.expect_col + width).ch, cp("┘"_cp)) << c.column;
      if (width == 31) {
        EXPECT_NE(shown.row_text(19).find("Kardo19 - Trel Informatica"), std::string::npos);
      }
      hb.when_idle(nullptr);
      hb.keys("x 1 Enter n");  // only the accepted letters answer
    });
    EXPECT_EQ(ui.MENS(m), "N");
    EXPECT_EQ(h.pending(), 0u);
    EXPECT_TRUE(same(s(), before)) << c.column;
  }
}

TEST_F(Boxes, MensModes) {
  pattern();
  const term::Screen before = s();

  // Mode 11: two pairs of tones, then any key.
  Mens wait_key;
  wait_key.mode = 11;
  wait_key.text = "Tecle algo";
  h.keys("Space");
  EXPECT_EQ(ui.MENS(wait_key), "");
  EXPECT_EQ(h.tones(), (std::vector<term::HeadlessBackend::Tone>{{300, 1}, {499, 1}, {300, 1}, {499, 1}}));
  EXPECT_TRUE(same(s(), before));

  // Mode 13: the progress window stays until its number is closed.
  Mens progress;
  progress.mode = 13;
  progress.text = "Processando...";
  EXPECT_EQ(ui.MENS(progress), "");
  const int col = 70 - 15;
  EXPECT_EQ(s().text(20, col, 16), " Processando... ");
  EXPECT_EQ(s().at(19, col - 1).ch, cp("┌"_cp));
  EXPECT_TRUE(ui.windows().is_open(10));
  ui.windows().FECHAJAN(10);
  EXPECT_TRUE(same(s(), before));

  // Mode 0: the status bar's text, or the centred message line.
  ui.message_line("Aguarde");
  EXPECT_EQ(s().status(), "Aguarde");
  ui.set_status_bar(false);
  Mens line;
  line.text = "Aguarde";
  ui.MENS(line);
  EXPECT_EQ(s().row_text(24), base::PADC("Aguarde", 80));
  EXPECT_EQ(s().at(24, 0).colour, 0xF0);  // COR_SAY "N/W+"
}

TEST_F(Boxes, MensInput) {
  struct Case { Mens::Input input; std::string value; int width; std::string keys; std::string answer; } cases[] = {
      {Mens::Input::TEXT, "antigo", 10, "M a r i a Enter", "Maria"},  // K: the first key clears
      {Mens::Input::TEXT, "antigo", 10, "Enter", "antigo"},
      {Mens::Input::TEXT, "antigo", 10, "Esc", ""},
      {Mens::Input::NUMBER, "0.00", 8, "1 2 , 5 Enter", "12.50"},
      {Mens::Input::NUMBER, "3.00", 8, "Esc", "0.00"},
      {Mens::Input::DATE, "", 0, "0 1 0 5 2 0 1 9 Enter", "01/05/2019"},
      {Mens::Input::DATE, "", 0, "Esc", "01/04/2019"},  // Esc: today
      {Mens::Input::FLAG, "N", 0, "s Enter", "S"},
  };
  for (const Case& c : cases) {
    pattern();
    const term::Screen before = s();
    Mens m;
    m.mode = 14;
    m.text = "Valor:";
    m.input = c.input;
    m.value = c.value;
    m.input_width = c.width;
    h.keys(c.keys);
    EXPECT_EQ(ui.MENS(m), c.answer) << c.keys;
    EXPECT_EQ(h.pending(), 0u) << c.keys;
    EXPECT_TRUE(same(s(), before)) << c.keys;
  }
  // The field follows the prompt; a failing check keeps the cursor in it.
  Mens m;
  m.mode = 14;
  m.text = "Nome:";
  m.input_width = 6;
  int checks = 0;
  m.check = [&](const std::string& v) { ++checks; return v == "ok"; };
  h.type("no").keys("Enter");
  h.when_idle([&](term::HeadlessBackend& hb) {
    EXPECT_EQ(hb.shown().text(20, 70 - 12, 12), "Nome: no    ");
    hb.when_idle(nullptr);
    hb.keys("Ctrl+Y Home").type("ok").keys("Enter");
  });
  EXPECT_EQ(ui.MENS(m), "ok");
  EXPECT_EQ(checks, 2);
}

TEST_F(Boxes, AvisosnAnswers) {
  struct Case { int mode; const char* keys; const char* answer; } cases[] = {
      {base::BOX_INFO, "Enter", ""},         {base::BOX_INFO, "Esc", ""},
      {base::BOX_PLAIN, "Enter", "N"},       {base::BOX_PLAIN, "Esc", "N"},
      {base::BOX_YES_NO, "Enter", "S"},      {base::BOX_YES_NO, "n", "N"},
      {base::BOX_YES_NO, "Right Enter", "N"}, {base::BOX_YES_NO, "Esc", "N"},
      {base::BOX_YES_NO_CANCEL, "c", "I"},   {base::BOX_YES_NO_CANCEL, "Esc", "I"},
      {base::BOX_YES_NO_CANCEL, "Tab Tab Enter", "I"}, {base::BOX_YES_NO_CANCEL, "S", "S"},
      {base::BOX_SIM_NAO_FIM, "Esc f", "F"},  // Esc does not close a button box
      {base::BOX_SIM_NAO_FIM, "Left Enter", "F"},
      {base::BOX_1_2_3, "Esc 2", "2"},       {base::BOX_1_TO_6, "6", "6"},
      {base::BOX_ERROR, "Enter", ""},
  };
  pattern();
  const term::Screen before = s();
  for (const Case& c : cases) {
    h.keys(c.keys);
    EXPECT_EQ(ui.AVISOSN({"Uma pergunta"}, c.mode), c.answer) << c.mode << " " << c.keys;
    EXPECT_EQ(h.pending(), 0u) << c.mode << " " << c.keys;
    EXPECT_TRUE(same(s(), before)) << c.mode;
  }
  ASSERT_EQ(h.boxes().size(), std::size(cases));
  EXPECT_EQ(h.boxes().back().caption, "ERRO");
  EXPECT_EQ(h.boxes().front().caption, "Aviso");
  EXPECT_EQ(h.boxes()[2].answer, "N");

  // Mode 6: the labels given, answered by the button's number, here with a click.
  base::Box b;
  b.mode = base::BOX_BUTTONS;
  b.lines = {"Escolha o destino", std::string("da impressão"_cp)};
  b.buttons = {"Impressora", "Tela", "Arquivo texto"};
  b.caption = "Imprimir";
  h.when_idle([&](term::HeadlessBackend& hb) {
    const term::Screen& shown = hb.shown();
    for (int r = 0; r < 25; ++r) {
      size_t at = shown.row_text(r).find("[Arquivo texto]");
      if (at == std::string::npos) continue;
      EXPECT_NE(shown.row_text(r).find("[   Tela   ]"), std::string::npos);  // short labels centred in 10
      EXPECT_NE(shown.row_text(r - 3).find("Escolha o destino"), std::string::npos);
      EXPECT_NE(shown.row_text(r - 2).find("da impressão"_cp), std::string::npos);
      hb.when_idle(nullptr);
      hb.click(r, int(at) + 3);
      return;
    }
    ADD_FAILURE() << "no button on the screen";
  });
  EXPECT_EQ(ui.AVISOSN(b), "3");
  EXPECT_TRUE(same(s(), before));
}

TEST_F(Boxes, LongHelpScrolls) {
  int checked = 0;
  h.when_idle([&](term::HeadlessBackend& hb) {
    bool top = hb.shown().shows("Alt +  Marca com S todas pessoas"_cp);
    bool bottom = hb.shown().shows("Alt End. Fim da cópia feita pelo Alt Up"_cp);
    if (checked == 0) {
      EXPECT_TRUE(top && !bottom);
      EXPECT_TRUE(hb.shown().shows(" Comandos Auxiliares "));
      hb.keys("End");
    } else {
      EXPECT_TRUE(bottom && !top);
      hb.when_idle(nullptr);
      hb.keys("Enter");
    }
    ++checked;
  });
  ui.HELPFUN();
  EXPECT_EQ(checked, 2);
  EXPECT_EQ(h.boxes().back().answer, "N");
  EXPECT_EQ(h.boxes().back().lines.size(), 37u);
}

TEST_F(Boxes, ChooserMovesTheBar) {
  auto& w = ui.windows();
  struct Case { const char* keys; int chosen; } cases[] = {
      {"Down Down Enter", 4}, {"Esc", 0}, {"End Down Enter", 5}, {"End Home Up Enter", 1},
      {"x d", 4},  // a hot letter chooses at once
      {"Alt+A Esc Down Enter", 3},  // the calculator and back
  };
  for (const Case& c : cases) {
    s().clear();
    w.REDEFJAN(5, 30, 31, 63, 5, 10, 10, 31, 1);
    w.ABREJAN(5);
    w.ESCRJAN(5, base::PADR("Alfa", 20) + base::PADR("Beta", 20) + base::PADR("Gama", 20) + base::PADR("Delta", 20) +
                     base::PADR("Epsilon", 20));
    Chooser ch;
    ch.POSVER = 2;
    ch.OPCOES = "ABGDE";
    h.keys(c.keys);
    EXPECT_EQ(ui.ESC_OPCAO(5, 5, 1, 20, 0, true, false, ch), c.chosen) << c.keys;
    EXPECT_EQ(h.pending(), 0u);
    EXPECT_FALSE(w.is_open(5));
  }
  // The bar is in the chosen-item colour and the row it left back in the text colour; with
  // hints each item's hint shows in a window at the top.
  s().clear();
  w.REDEFJAN(5, 30, 31, 63, 5, 10, 10, 31, 1);
  w.ABREJAN(5);
  w.ESCRJAN(5, base::PADR("Alfa", 20) + base::PADR("Beta", 20));
  Chooser ch;
  ch.MENSMENU = {"Primeiro item", "Segundo item"};
  h.keys("Down");
  h.when_idle([&](term::HeadlessBackend& hb) {
    EXPECT_EQ(hb.shown().at(6, 10).colour, 79);
    EXPECT_EQ(hb.shown().at(5, 10).colour, 30);
    EXPECT_TRUE(hb.shown().row_text(1).find("Segundo item") != std::string::npos);
    hb.when_idle(nullptr);
    hb.keys("Enter");
  });
  EXPECT_EQ(ui.ESC_OPCAO(5, 2, 1, 20, 0, false, true, ch), 2);
  EXPECT_TRUE(w.is_open(5));
  EXPECT_FALSE(w.is_open(10));
}

TEST_F(Boxes, ScreenOperator) {
  ScreenOperator op(ui);
  h.keys("s");
  EXPECT_TRUE(op.ask_yes({"Confirma?"}));
  h.keys("Enter");
  op.error({"Falhou"});
  EXPECT_EQ(h.boxes().back().caption, "ERRO");
  EXPECT_FALSE(op.escape_pressed());
  h.keys("a Esc b");
  EXPECT_TRUE(op.escape_pressed());
  EXPECT_EQ(h.pending(), 0u);
  op.message_line("Gravando...");
  EXPECT_EQ(s().status(), "Gravando...");
  op.BEEP_ERRO(2);
  EXPECT_EQ(h.tones().size(), 8u);
  h.keys("Enter");
  EXPECT_EQ(ui.OKEI(base::BOX_YES_NO), "S");
  EXPECT_EQ(h.boxes().back().lines, std::vector<std::string>{"Confirma os dados ?"});
}

}  // namespace
}  // namespace kardo::ui::testing
