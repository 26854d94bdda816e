#include "shell/colour_editor.h"

#include "base/codepage.h"
#include "base/xtext.h"
#include "shell/menu.h"
#include "shell/text.h"
#include "store/abertura.h"
#include "store/records.h"

namespace kardo::shell {

using namespace text;
namespace k = term::key;

namespace {

constexpr unsigned char kBlock = 0xFE;  // "■"

struct Item {
  int ui::Colours::*number;
  std::string ui::Colours::*pair;
};
const Item kItems[] = {
    {&ui::Colours::COR_TEL1, &ui::Colours::COR_1_CLI},  {&ui::Colours::COR_TEL2, &ui::Colours::COR_2_CLI},
    {&ui::Colours::COR_ESCOL, &ui::Colours::COR_ESC_CL}, {&ui::Colours::COR_PEGA, &ui::Colours::COR_GET},
    {&ui::Colours::COR_MENS, &ui::Colours::COR_SAY},    {&ui::Colours::COR_HELP, &ui::Colours::COR_CLI_HE},
    {&ui::Colours::COR_ENCHE, &ui::Colours::COR_ENCH_C},
};

// The palette and the sample inside the dialog (rows 4 … 21, columns 2 … 21).
void draw(App& app, int item) {
  term::Screen& sc = app.ui.screen();
  const ui::Colours& c = app.ui.colours();
  const int current = colour_of_item(c, item);
  for (int bg = 0; bg < 8; ++bg)
    for (int fg = 0; fg < 16; ++fg) {
      int n = bg * 16 + fg;
      sc.put(6 + bg, 4 + fg, n == current ? '*' : kBlock, uint8_t(n));
    }
  sc.write(15, 3, " Cor do texto     ", uint8_t(c.COR_TEL1));
  sc.write(16, 3, "Item Escolhido", uint8_t(ui::ACHACOR(c.COR_ESC_CL)));
  sc.write(17, 3, "Entrada Dados ", uint8_t(ui::ACHACOR(c.COR_GET)));
  sc.write(18, 3, "Mensagens     ", uint8_t(ui::ACHACOR(c.COR_SAY)));
  sc.write(19, 3, "Telas de Help ", uint8_t(ui::ACHACOR(c.COR_CLI_HE)));
}

}  // namespace

int colour_of_item(const ui::Colours& c, int item) { return c.*(kItems[item - 1].number); }

void set_colour_of_item(ui::Colours& c, int item, int number) {
  c.*(kItems[item - 1].number) = number;
  c.*(kItems[item - 1].pair) = ui::ACHACOR(number);
}

base::Status store_cores(store::Session& s, const ui::Colours& c) {
  store::cores::Record& r = s.cores;
  r.NRO_TERM = s.NUSU;
  r.COR_TEL1 = c.COR_TEL1;
  r.COR_TEL2 = c.COR_TEL2;
  r.COR_TEL3 = c.COR_TEL3;
  r.COR_MENS = c.COR_MENS;
  r.COR_PEGA = c.COR_PEGA;
  r.COR_HELP = c.COR_HELP;
  r.COR_FERID = c.COR_FERID;
  r.COR_ESCOL = c.COR_ESCOL;
  r.COR_ENCHE = c.COR_ENCHE;
  r.COR_1_CLI = base::PADR(c.COR_1_CLI, 10);
  r.COR_2_CLI = base::PADR(c.COR_2_CLI, 10);
  r.COR_INI = base::PADR(c.COR_INI, 10);
  r.COR_SAY = base::PADR(c.COR_SAY, 10);
  r.COR_GET = base::PADR(c.COR_GET, 10);
  r.COR_CLI_HE = base::PADR(c.COR_CLI_HE, 10);
  r.COR_ESC_CL = base::PADR(c.COR_ESC_CL, 10);
  r.COR_ENCH_C = base::PADR(c.COR_ENCH_C, 10);
  if (base::Status o = store::ABERTURA(s, 56); !o) return o;
  s.current = 56;
  xbase::Table& t = *s.table(56);
  if (base::Status k = t.seek(s.NUSU); !k) return k;
  if (!t.found()) {
    if (base::Status a = store::ADD_REC(s, 5); !a) return a;
  } else if (base::Status l = store::REC_LOCK(s, 5); !l) {
    return l;
  }
  base::Status w = store::write_record(t, r);
  base::Status u = t.unlock();
  return w ? u : w;
}

void MODCOR(App& app, int item) {
  if (item < 1 || item > 7) return;
  draw_main_screen(app);
  std::optional<ui::Dialog> dialog;
  if (item != 7) dialog.emplace(app.ui, term::Rect{4, 2, 21, 21}, "Ajuste de cores");
  for (;;) {
    draw(app, item);
    term::Event e = app.ui.terminal().wait(-1);
    if (e.type != term::Event::Type::KEY) continue;
    if (e.key == k::ENTER || e.key == k::ESC) break;
    int n = colour_of_item(app.ui.colours(), item);
    int fg = n % 16, bg = n / 16 % 8;
    if (e.key == k::RIGHT && fg < 15) ++fg;
    else if (e.key == k::LEFT && fg > 0) --fg;
    else if (e.key == k::DOWN && bg < 7) ++bg;
    else if (e.key == k::UP && bg > 0) --bg;
    else continue;
    set_colour_of_item(app.ui.colours(), item, bg * 16 + fg);
    if (item == 7) draw_main_screen(app);
  }
  ui::Colours& c = app.ui.colours();
  if (const ui::Window* w = app.ui.windows().find(10))
    app.ui.windows().REDEFJAN(10, c.COR_MENS, c.COR_TEL2, c.COR_TEL3, w->top, w->left, w->bottom, w->right, w->style);
  if (base::Status st = store_cores(app.s, c); !st)
    app.ui.AVISOSN({"As cores não puderam ser gravadas:"_cps, st.message()}, base::BOX_ERROR);
  dialog.reset();
  draw_main_screen(app);
}

}  // namespace kardo::shell
