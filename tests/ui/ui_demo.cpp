// A small program on the real terminal path (ncurses backend) for the tmux test: a menu in
// a window, a message box, the calculator and a form of two fields. Each result is written
// on row 20 ("Resultado: …") so the test can read it back from the terminal.
#include <cstdio>
#include <exception>

#include "base/clock.h"
#include "base/codepage.h"
#include "base/xtext.h"
#include "term/ncurses_backend.h"
#include "ui/field.h"
#include "ui/ui.h"

using namespace kardo;
using namespace kardo::base::literals;

int main() {
  try {
    auto backend = term::make_ncurses_backend();
    term::Terminal terminal(*backend);
    base::SystemClock clock;
    ui::Ui ui(terminal, clock);
    ui::WindowTable& w = ui.windows();
    const ui::Colours& k = ui.colours();

    w.ENCHETELA(' ', k.COR_ENCH_C);
    w.REDEFJAN(1, k.COR_TEL1, k.COR_TEL2, k.COR_TEL3, 2, 3, 9, 34, 1);
    w.ABREJAN(1);
    w.ESCRJAN(1, base::PADR("1 Calculadora", 30) + base::PADR("2 Mensagem", 30) + base::PADR("3 Campos", 30) +
                     base::PADR("4 Ajuda", 30) + base::PADR("5 Sair", 30));
    ui::Chooser menu;
    menu.OPCOES = "12345";
    auto result = [&](std::string_view text) {
      terminal.screen().write(20, 3, base::PADR("Resultado: " + std::string(text), 60), static_cast<unsigned char>(k.COR_TEL1));
    };
    for (;;) {
      int item = ui.ESC_OPCAO(1, 5, 1, 30, 0, false, false, menu);
      if (item == 0 || item == 5) break;
      if (item == 1) {
        ui::CalcResult r = ui.CALCULADORA(9, ui.LCAL, ui.CCAL);
        result(r.handed ? r.RESULT.text(2) : "nada");
      } else if (item == 2) {
        result(ui.AVISOSN({"Deseja continuar?"}, base::BOX_YES_NO, "Pergunta"));
      } else if (item == 3) {
        terminal.screen().write(12, 3, "CPF:", static_cast<unsigned char>(k.COR_TEL1));
        terminal.screen().write(13, 3, "Valor:", static_cast<unsigned char>(k.COR_TEL1));
        std::vector<ui::Field> f{ui::Field::Text(12, 10, "", 11, "@R 999.999.999-99"),
                                 ui::Field::Number(13, 10, base::Decimal(), 12, 2, "@Ez 999,999,999.99")};
        ui.message_line("Digite o CPF e o valor");
        ui::Reader(ui, f).run();
        result(f[0].text + " " + f[1].number.text(2));
      } else if (item == 4) {
        ui.HELPGER();
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ui_demo: %s\n", e.what());
    return 1;
  }
  return 0;
}
