#include "shell/menu.h"

#include <algorithm>
#include <filesystem>

#include "base/codepage.h"
#include "shell/text.h"
#include "base/xtext.h"
#include "base/year.h"
#include "shell/colour_editor.h"
#include "shell/version_check.h"
#include "store/abertura.h"
#include "store/configura.h"
#include "store/records.h"
#include "ui/field.h"
#include "ui/screen_operator.h"

namespace kardo::shell {

using namespace base::literals;
using namespace text;
using namespace std::string_literals;
namespace k = term::key;

namespace {

MenuItem item(std::string text, int command, int a = 0, int b = 0, std::string hint = {}) {
  MenuItem m;
  m.text = std::move(text);
  m.command = command;
  m.a = a;
  m.b = b;
  m.hint = std::move(hint);
  return m;
}
MenuItem sub(std::string text, std::vector<MenuItem> items) {
  MenuItem m;
  m.text = std::move(text);
  m.items = std::move(items);
  return m;
}
MenuItem heading(std::string text) { return item(std::move(text), 0); }
// Items a = 1 … n of one command from their texts.
std::vector<MenuItem> numbered(int command, const std::vector<std::string>& texts, int b = 0) {
  std::vector<MenuItem> v;
  for (size_t i = 0; i < texts.size(); ++i) v.push_back(item(texts[i], command, int(i) + 1, b));
  return v;
}

void not_available(App& app) { app.ui.AVISOSN({"Função não disponível nesta versão."_cps}, base::BOX_INFO); }
void ready(App& app, std::string caption = {}) { app.ui.AVISOSN({"Pronto!"}, base::BOX_INFO, caption); }

// --- the commands carried out here ---

base::Result<int> walk_folder_table(store::Session& s, int n, const std::function<base::Result<bool>(xbase::Table&)>& change) {
  if (base::Status o = store::ABERTURA(s, n); !o) return o;
  s.current = n;
  xbase::Table& t = *s.table(n);
  int count = 0;
  for (base::Status st = t.go_top(); !t.eof(); st = t.skip()) {
    if (!st) return st;
    if (base::Status l = store::REC_LOCK(s, 5); !l) return l;
    base::Result<bool> changed = change(t);
    base::Status u = t.unlock();
    if (!changed) return changed.status();
    if (!u) return u;
    if (*changed) ++count;
  }
  return count;
}

void fees(App& app) {
  store::define::Record& d = app.s.define;
  ui::Dialog dlg(app.ui, {8, 15, 15, 64}, "Valor a cobrar");
  term::Rect in = dlg.inside();
  const char* labels[] = {"Valor por minuto  ", "Valor por KByte   ", "Valor mínimo      ", "Tempo p/desligar  "};
  for (int i = 0; i < 4; ++i)
    app.ui.screen().write(in.top + 1 + i, in.left + 2, base::utf8_to_cp850(labels[i]), uint8_t(app.ui.colours().COR_TEL1));
  const int col = in.left + 22;
  // Each input holds what its DEFINE field holds: 5,2 → 99.99, 8,2 → 99999.99, 2 → 99.
  struct Limit { base::Decimal max; };
  const base::Decimal limits[] = {base::Decimal::of(9999, 2), base::Decimal::of(9999, 2), base::Decimal::of(9999999, 2), 99};
  std::vector<ui::Field> f{ui::Field::Number(in.top + 1, col, d.VAL_SEG, 10, 2, "@EZ 999,999.99"),
                           ui::Field::Number(in.top + 2, col, d.VAL_BYTE, 10, 2, "@EZ 999,999.99"),
                           ui::Field::Number(in.top + 3, col, d.VAL_MIN, 10, 2, "@EZ 999,999.99"),
                           ui::Field::Number(in.top + 4, col, d.TEMP_DES, 2, 0, "@ez 99")};
  const char* hints[] = {"Informe o valor a cobrar por minuto", "Informe o valor a cobrar por KByte de memória usada",
                         "Informe o valor mínimo a cobrar.", "Informe o tempo sem teclar para desligar o relógio"};
  for (size_t i = 0; i < f.size(); ++i) {
    base::Decimal max = limits[i];
    std::string hint = base::utf8_to_cp850(hints[i]);
    f[i].when = [&app, hint](const ui::Field&) {
      app.ui.message_line(hint);
      return true;
    };
    f[i].valid = [&app, max](ui::Field& x) {
      if (x.number.is_negative() || x.number > max) {
        app.ui.AVISOSN({"Valor fora dos limites: até "_cps + max.text(max.whole() == 99 ? 0 : 2)}, base::BOX_ERROR);
        return false;
      }
      return true;
    };
  }
  ui::Reader r(app.ui, f);
  if (r.run() == k::ESC) return;
  d.VAL_SEG = f[0].number;
  d.VAL_BYTE = f[1].number;
  d.VAL_MIN = f[2].number;
  d.TEMP_DES = f[3].number;
  store_define(app.s);
}

void saving_mode(App& app, int a) {
  store::define::Record& d = app.s.define;
  if (a == 1) {
    if (d.TEMP_SAL.is_zero() || d.TEMP_SAL == 99) d.TEMP_SAL = 15;
    base::Mens m;
    m.mode = 4;
    m.text = "Tempo para gravar em minutos";
    m.caption = "Tempo de gravação "_cps;
    m.input = base::Mens::Input::NUMBER;
    m.value = d.TEMP_SAL.text(0);
    m.input_width = 2;
    m.mask = "@z 99";
    m.check = [](const std::string& v) {
      auto n = base::Decimal::parse(base::ALLTRIM(v));
      return n && *n >= 1 && *n <= 98;
    };
    std::string v = app.ui.MENS(m);
    auto n = base::Decimal::parse(base::ALLTRIM(v));
    if (!n || *n < 1 || *n > 98) return;
    d.TEMP_SAL = *n;
    d.COMO_SAL = 1;
  } else if (a == 2) {
    d.TEMP_SAL = 0;
    d.COMO_SAL = 2;
  } else {
    d.TEMP_SAL = 99;
    d.COMO_SAL = 3;
  }
  store_define(app.s);
}

void display_settings(App& app, int a) {
  store::config::Record& c = app.s.config;
  if (a == 1) {
    bool novo = base::ALLTRIM(c.OPCIRPF) == "J";
    base::Box b;
    b.caption = novo ? "Tela Atual com menu Novo" : "Tela Atual com menu Antigo";
    b.mode = base::BOX_BUTTONS;
    b.buttons = {"Sim - "s + (novo ? "Mantém a Tela com "_cps : "Muda a tela para "_cps) + " menu Novo",
                 "Não - "_cps + (novo ? "Muda a tela para "_cps : "Mantém a Tela com "_cps) + " menu Antigo"};
    b.lines = {b.caption};
    std::string ans = app.ui.AVISOSN(b);
    if (ans == "1") c.OPCIRPF = "J";
    if (ans == "2") c.OPCIRPF = "N";
  } else {
    bool menu = c.OPCFIM == 1;
    base::Box b;
    b.caption = "Configurado: Declaração termina e"_cps + (menu ? " vai para o menu inicial" : " fica na seleção"_cps);
    b.mode = base::BOX_BUTTONS;
    b.buttons = {"Sim - "s + (menu ? "Mantém "_cps : "Muda para "s) + " termina e vai para o menu inicial",
                 "Não - "_cps + (menu ? "Muda para "s : "Mantém "_cps) + " termina e fica na seleção"_cps};
    b.lines = {b.caption};
    std::string ans = app.ui.AVISOSN(b);
    if (ans == "1") c.OPCFIM = 1;
    if (ans == "2") c.OPCFIM = 0;
  }
  store_config(app.s);
}

void lines_command(App& app) {
  base::Mens m;
  m.mode = 4;
  m.text = "Informe nro. de linhas da folha a ser impressa:";
  m.input = base::Mens::Input::NUMBER;
  m.value = app.s.config.NRO_LIN.text(0);
  m.input_width = 2;
  m.mask = "@z 99";
  app.ui.message_line("Número entre 50 a 66"_cps);
  std::string v = app.ui.MENS(m);
  auto n = base::Decimal::parse(base::ALLTRIM(v));
  int asked = n ? int(n->whole()) : 0;
  int lines = lines_per_sheet(asked);
  if (lines != asked) app.ui.AVISOSN({"Número esta fora dos limites. Assumido 60"_cps}, base::BOX_INFO);
  app.s.config.NRO_LIN = lines;
}

void copies_command(App& app) {
  base::Mens m;
  m.mode = 4;
  m.text = "Informe o nro vias (vezes) a imprimir";
  m.input = base::Mens::Input::NUMBER;
  m.value = std::to_string(app.NRO_VIAS);
  m.input_width = 1;
  m.mask = "9";
  auto n = base::Decimal::parse(base::ALLTRIM(app.ui.MENS(m)));
  app.NRO_VIAS = n && !n->is_zero() && !n->is_negative() ? int(n->whole()) : 1;
}

void leave_program(App& app, int option) { ROTSAIDA(app, option); }

// The folder creation question: true when the folder exists afterwards.
bool make_folder(App& app, const std::string& path, const std::string& program) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return true;
  if (app.ui.AVISOSN({"Pasta nova para "_cps + program + "?", "Cria a nova pasta?"}, base::BOX_YES_NO) != "S") return false;
  std::filesystem::create_directories(path, ec);
  if (std::filesystem::is_directory(path, ec)) return true;
  app.ui.AVISOSN({"Problemas ao criar a pasta "_cps + path}, base::BOX_ERROR);
  return false;
}

// SELAREA: 1 the work folder (DIRTRAB), 2 the folder of the official program (ROTAJAVA).
void SELAREA(App& app, int which) {
  store::Session& s = app.s;
  const bool work = which == 1;
  std::string& stored = work ? s.config.dirtrab : s.config.ROTAJAVA;
  ui::Dialog dlg(app.ui, {9, 0, 13, 79}, work ? "Pasta de Trabalho dos arquivos auxiliares" : "Local do programa da Receita");
  term::Rect in = dlg.inside();
  std::vector<ui::Field> f{ui::Field::Text(in.top + 1, in.left + 1, base::PADR(base::RTRIM(stored), 80), 80, "@KS76")};
  ui::Reader::Options o;
  if (!work) {
    o.on_key = [&](int key, ui::Reader& r) {
      if (key != k::alt('P')) return false;
      r.field().text = base::PADR(base::RTRIM(store::default_config(store::settings_context(s)).ROTAJAVA), 80);
      r.reload();
      return true;
    };
  }
  for (;;) {
    app.ui.message_line(work ? "" : "Pasta vazia não transfere p/a Receita. ALT P preenche com o Padrão"_cps);
    ui::Reader r(app.ui, f, o);
    if (r.run() == k::ESC) return;
    std::string answer(base::ALLTRIM(f[0].text));
    while (answer.size() > 1 && answer.back() == '/') answer.pop_back();
    if (answer.empty()) {
      if (work) return;  // a blank work folder keeps the old one
      app.ui.AVISOSN({"Ao deixar em branco NÃO haverá transferência para o programa da receita!"_cps});
      stored = base::PADR("", 80);
      s.folders.LOCIRPF.clear();
      break;
    }
    if (!make_folder(app, answer, work ? " Kardo" + std::string(base::CANOATUAL) : " IRPF")) continue;
    stored = base::PADR(answer, 80);
    if (work)
      s.folders.LOCTRAB = answer + "/";
    else
      s.folders.LOCIRPF = answer + "/";
    break;
  }
  store_config(s);
}

}  // namespace

base::Status store_define(store::Session& s) {
  if (base::Status o = store::ABERTURA(s, 43); !o) return o;
  s.current = 43;
  xbase::Table& t = *s.table(43);
  if (base::Status g = t.go_top(); !g) return g;
  if (t.eof()) return base::Status(base::Code::NOT_FOUND, "DEFINE has no record");
  if (base::Status l = store::REC_LOCK(s, 5); !l) return l;
  base::Status w = store::write_record(t, s.define);
  base::Status u = t.unlock();
  return w ? u : w;
}

char accelerator(const std::string& text) {
  size_t p = text.find('&');
  if (p == std::string::npos || p + 1 >= text.size()) return 0;
  return base::UPPER(text.substr(p + 1, 1))[0];
}

std::string shown_text(const std::string& text) {
  std::string s;
  for (char c : text)
    if (c != '&') s += c;
  return s;
}

std::vector<MenuItem> main_menu(const App& app) {
  const std::string year(base::CANOATUAL);
  const std::string tempo = base::STR(app.s.define.TEMP_SAL, 2);
  const std::string drive = base::ALLTRIM(app.s.config.XDRIVE).empty() ? "A" : std::string(base::ALLTRIM(app.s.config.XDRIVE));
  const std::string printer(base::RTRIM(app.s.listaimp.NOMEIMP));
  std::vector<MenuItem> bar;
  bar.push_back(sub("&Declaração"_cps, {
    item("&Declaração (Alt I)"_cps, 11), item("&Lancamentos", 12), item("&Conferência"_cps, 13), item("&Agenda", 14),
    item("&Pastas", 15),
    sub("&Exclusão"_cps, {sub("Exclui &Declaração"_cps, {item("Varios    ", 16, 1, 1), item("Individual", 16, 1, 2)}),
                         item("Exclui somente o &AAR", 16, 2, 1),
                         item("&Recupera declaração Excluida recentemente"_cps, 16, 3)}),
    item("&Importação"_cps, 17), item("Atuali&za base dados", 19), item("&Terminar (Alt T)", 18)}));
  bar.push_back(sub("&Opções"_cps, {
    item("&Local de trabalho", 21), item("&Transfere declaração"_cps, 22),
    sub("&Mudar as cores", numbered(23, {" &Texto              ", " &Contorno das telas ", " &Item Escolhido     ",
                                         " &Entr. de dados     ", " &Mensagens          ", " &Help e Avisos      ",
                                         " &Fundo Geral        "})),
    item("&Valores a Cobrar", 25),
    sub("&Gravar os dados", {item("&Automático a cada "_cps + tempo + " minutos", 26, 1), item("&Manual usando Alt W", 26, 2),
                             item("&Somente no final ", 26, 3)}),
    sub("status da &Declaração"_cps, numbered(27, {" Alterar situação "_cps, " Cadastrar status ", " Trava alteração  "_cps})),
    item("cadastro &SELIC", 28), item("&Reindexar Dados", 29), item("Mudar C&PF", 30),
    sub("copia &Parte declaração"_cps,
        numbered(31, {" Toda a declaração  "_cps, " Declaração dos Bens "_cps, " Declaração das Dívidas"_cps,
                      " Livro Caixa P. Física "_cps, " Rendime. P.Jurídica"_cps, " Pagamentos         ",
                      " Ganho de capital   ", " Renda Variavel     ", " Bens do Espólio    "_cps,
                      " Toda Atividade Rural", " Bens da A. Rural    ", " Dívidas da A. Rural "_cps,
                      " Livro Caixa Rural   ", " Imóveis Rurais      "_cps})),
    sub("e&Xporta Arquivo", {sub(" declaração de Bens  "_cps, {item(" declaração Total (TXT)"_cps, 32, 1, 1),
                                                              item(" Separada por CPF (TXT)", 32, 1, 2),
                                                              item(" Separada por CPF (XML)", 32, 1, 3)}),
                             item(" declaração de Dívidas "_cps, 32, 2, 1), item(" Pagamentos       ", 32, 3, 1),
                             item(" Cadastro         ", 32, 4, 1), item(" Bens Rurais      ", 32, 5, 1),
                             item(" díVidas Rurais   "_cps, 32, 6, 1), item(" Imóveis Rurais   "_cps, 32, 7, 1)}),
    sub("&Boletos", {item("Configura emitente", 33, 1),
                     sub("Prepara os Boletos ", {item("Cria boleto individual", 33, 2), item("Cria vários boletos   "_cps, 33, 3),
                                                 item("Edita os Boletos   ", 33, 4)}),
                     item("Gera o Arquivo    ", 33, 5)}),
    sub("&E-mail", numbered(34, {"Configura Email ", "Prepara o Email", "Envia o Email"})),
    sub("&Ajustes da Tela", {item("&Menus na declaração"_cps, 36, 1), item("&Fechando uma declaração"_cps, 36, 2)}),
    sub("&Edita Bancos", numbered(39, {"&Mostre a Lista ", "&Retira CNPJ repetido", "&Importa CNPJ do AuxFon",
                                       "&Transfere CNPJ para o AuxFon "})),
    item("&Ver Atualização"_cps, 35), item("Retira R$0,01 tela F1", 37),
    sub("Enviar Celular e Email para IRPF", {item("Enviar Todos", 38, 1), item("Não Enviar "_cps, 38, 2)}),
    item("Buscar CEP", 40, 1), item("Preencher Cidades", 40, 2)}));
  bar.push_back(sub("&Selecão"_cps, {
    sub("&1- O que imprimir",
        numbered(41, {"IRenda modo Receita", "IRenda modo  TREL  ", "Atividade Rural    ", "Livro caixa Rural  ",
                      "Darfes             ", "Ganho de capital   ", "Renda variável     "_cps, "carta Personalizada",
                      "Anotações especiais"_cps, "Livro caixa Normal ", "Valores a cobrar   ", "Cadastro           ",
                      "Comprovante rendime", "Etiquetas para CD  ", "relatório Usuário  "_cps})),
    sub("&2 - Tipo de Folha", {heading("IRenda e outros"), item("    na Folha avulsa  ", 42, 1),
                               heading("Darf"), item("    na Folha Avulsa       ", 42, 1),
                               item("    no Formulário Continuo"_cps, 42, 2), item("    no Papel pre-impresso ", 42, 3),
                               heading("Cadastro"), item("    Em Etiquetas     ", 42, 1), item("    Na Folha avulsa  ", 42, 2),
                               heading("Etiquetas para CD"), item("    8 Eti. 116x37 ", 42, 1),
                               item("    12 Eti. 90x24 ", 42, 2), item("    2*5 Eti.70x50 ", 42, 3),
                               item("    Pimaco 8296   ", 42, 4)}),
    sub("&3 - Qual pagina",
        numbered(43, {"   Tudo na declaração "_cps, "   Tudo menos Balanço "_cps, "   Só IR s/Bal/Malha  "_cps,
                      "   Só IR Sem a Malha  "_cps, "   Rendimentos        ", "   Rendimentos P.Fisica",
                      "   Pagamentos/Isentos ", "   Bens e Dívidas     "_cps, "   Resumo c/Balanço   "_cps,
                      "   Resumo s/Balanço   "_cps, "   Só a Malha fina    "_cps})),
    sub("&4 - Quem imprimir", numbered(44, {"Individual       ", "Vários           "_cps, "Todos            ",
                                            "todas Pastas     ", "Grupo selecionado"})),
    sub("&5 - Qual Impressora", {item(printer.empty() ? "NAO DOS" : printer, 45, 1)}),
    item("6 - Configura modo Impressão"_cps, 46, 1), item("7 - Número de Vias "_cps + std::to_string(app.NRO_VIAS), 47, 1),
    item("Mostra a Selecao", 48, 1)}));
  bar.push_back(sub("&Impressão"_cps, {item("Imprime os itens selecionados", 51), item("Mostra a Selecao", 48, 1),
                                      item("Imprime a última impressão NAO-DOS"_cps, 52), item("Edita Cartas", 53),
                                      item("Número de Linhas na folha "_cps, 54)}));
  bar.push_back(sub("&Envia p/ Receita", {
    item("Somente um contribuinte selecionado", 61), item("Todos Cpfs selecionados ", 62),
    item("Todos os CPFs da pasta atual", 63),
    sub("Envia ao terminar só a declaracão com status escolhido"_cps,
        {item("SIM - Envia para a receita só com o status indicado"_cps, 64, 1),
         item("NÃO - Não envia ao terminar com o status indicado"_cps, 64, 2)}),
    sub("Automático no fim da declaracao "_cps, {item("SIM - Envia para a receita ao terminar a declaracão"_cps, 65, 1),
                                                item("NÃO - Não envia ao terminar uma declaração"_cps, 65, 2)}),
    item("Muda ou não Status ao enviar"_cps, 66), item("Local do programa da Receita", 67),
    item("Recupera Declaração do IRPF "_cps, 68)}));
  bar.push_back(sub("&Backup", {
    sub("Fazer a cópia   "_cps, {sub("Do Trel 20" + year + "    ", {item("Só uma pasta  "_cps, 71, 1, 1), item("Todas Pastas  ", 71, 1, 2)}),
                                item("Da Receita 20" + year, 71, 2, 1)}),
    item("Compacta todos no " + drive + ":", 72, 1),
    sub("Compacta uma Pasta", {item("Do Trel 20" + year, 73, 1), item("Da Receita 20" + year, 73, 2)}),
    sub("Recuperar a cópia"_cps, {item("Do Trel 20" + year, 74, 1), item("Da Receita 20" + year, 74, 2)}),
    item("Descompacta todos do " + drive + ":", 75, 1),
    sub("Descompacta uma Pasta", {item("Do Trel 20" + year, 76, 1), item("Da Receita 20" + year, 76, 2)}),
    item("Informa o processador", 77)}));
  bar.push_back(item("&Fim", 91));
  return bar;
}

namespace {

// Draws the bar with item `active` (1-based, 0 none) highlighted; the column of each item.
std::vector<int> draw_bar(App& app, const std::vector<MenuItem>& bar, int active) {
  term::Screen& sc = app.ui.screen();
  const uint8_t normal = uint8_t(ui::ACHACOR(app.ui.colours().COR_1_CLI)), hi = uint8_t(ui::ACHACOR(app.ui.colours().COR_ESC_CL));
  sc.fill({0, 0, 0, 79}, ' ', normal);
  std::vector<int> cols;
  int col = 1;
  for (size_t i = 0; i < bar.size(); ++i) {
    cols.push_back(col);
    std::string t = " " + shown_text(bar[i].text) + " ";
    sc.write(0, col, t, int(i) + 1 == active ? hi : normal);
    col += int(t.size());
  }
  return cols;
}

struct Pick {
  enum Kind { CHOSEN, ESCAPE, LEFT, RIGHT } kind = ESCAPE;
  Command command;
};

// A drop-down of `items` with its top-left corner at (row, col).
Pick drop_down(App& app, const std::vector<MenuItem>& items, int row, int col, bool top_level) {
  size_t width = 0;
  for (const MenuItem& m : items) width = std::max(width, shown_text(m.text).size() + (m.items.empty() ? 0 : 2));
  int right = std::min(79, col + int(width) + 1);
  col = right - int(width) - 1;
  int bottom = std::min(23, row + int(items.size()) + 1);
  term::Rect r{row, col, bottom, right};
  term::SavedArea under = app.ui.screen().save(r);
  const uint8_t normal = uint8_t(ui::ACHACOR(app.ui.colours().COR_1_CLI)), hi = uint8_t(ui::ACHACOR(app.ui.colours().COR_ESC_CL));
  auto selectable = [&](size_t i) { return items[i].command != 0 || !items[i].items.empty(); };
  size_t cur = 0;
  while (cur < items.size() && !selectable(cur)) ++cur;
  Pick result;
  for (;;) {
    app.ui.draw_frame(r, normal, normal);
    for (size_t i = 0; i < items.size() && row + 1 + int(i) < bottom; ++i) {
      std::string t = base::PADR(shown_text(items[i].text), width);
      if (!items[i].items.empty()) t = base::PADR(shown_text(items[i].text), width - 1) + "\x10";
      app.ui.screen().write(row + 1 + int(i), col + 1, t, i == cur ? hi : normal);
    }
    app.ui.message_line(cur < items.size() ? items[cur].hint : "");
    term::Event e = app.ui.terminal().wait(-1);
    auto open = [&](size_t i) -> bool {
      if (!items[i].items.empty()) {
        Pick p = drop_down(app, items[i].items, row + 1 + int(i), right - 2, false);
        if (p.kind == Pick::CHOSEN) { result = p; return true; }
        if (p.kind == Pick::RIGHT || (p.kind == Pick::LEFT && false)) { result = p; return true; }
        return false;
      }
      if (items[i].command == 0) return false;
      result.kind = Pick::CHOSEN;
      result.command = {items[i].command, items[i].a, items[i].b};
      return true;
    };
    bool done = false;
    if (e.type == term::Event::Type::MOUSE && e.mouse == term::Event::Mouse::CLICK) {
      int i = e.row - row - 1;
      if (e.col > col && e.col < right && i >= 0 && i < int(items.size()) && selectable(size_t(i))) {
        cur = size_t(i);
        done = open(cur);
      } else if (e.row == 0 || e.col <= col || e.col >= right || e.row < row || e.row > bottom) {
        result.kind = Pick::ESCAPE;
        done = true;
      }
    } else if (e.type == term::Event::Type::KEY) {
      int key = e.key;
      if (key == k::ESC) {
        result.kind = Pick::ESCAPE;
        done = true;
      } else if (key == k::UP || key == k::DOWN) {
        size_t n = items.size();
        for (size_t step = 0; step < n; ++step) {
          cur = key == k::UP ? (cur + n - 1) % n : (cur + 1) % n;
          if (selectable(cur)) break;
        }
      } else if (key == k::ENTER) {
        done = open(cur);
      } else if (key == k::RIGHT) {
        if (!items[cur].items.empty()) {
          done = open(cur);
        } else if (top_level) {
          result.kind = Pick::RIGHT;
          done = true;
        }
      } else if (key == k::LEFT) {
        result.kind = top_level ? Pick::LEFT : Pick::ESCAPE;
        done = true;
      } else if (k::is_char(key)) {
        char letter = base::UPPER(std::string(1, char(key)))[0];
        for (size_t i = 0; i < items.size(); ++i)
          if (accelerator(items[i].text) == letter && selectable(i)) {
            cur = i;
            done = open(i);
            break;
          }
      }
    }
    if (done) break;
  }
  app.ui.screen().restore(under);
  app.ui.message_line("");
  return result;
}

}  // namespace

Command choose_from_menu(App& app, int first) {
  std::vector<MenuItem> bar = main_menu(app);
  if (first < 0) {
    draw_bar(app, bar, 0);
    return {};
  }
  int active = std::clamp(first, 1, int(bar.size()));
  // A bar item without a drop-down ("&Fim") runs when it is chosen by its letter or clicked.
  if (bar[size_t(active - 1)].items.empty()) return {bar[size_t(active - 1)].command};
  for (;;) {
    std::vector<int> cols = draw_bar(app, bar, active);
    const MenuItem& m = bar[size_t(active - 1)];
    if (m.items.empty()) {
      // "&Fim": the item is the command; Enter runs it, Left/Right move on.
      term::Event e = app.ui.terminal().wait(-1);
      if (e.is_key(k::ENTER)) { draw_bar(app, bar, 0); return {m.command}; }
      if (e.is_key(k::LEFT)) { active = active == 1 ? int(bar.size()) : active - 1; continue; }
      if (e.is_key(k::RIGHT)) { active = active % int(bar.size()) + 1; continue; }
      draw_bar(app, bar, 0);
      return {};
    }
    Pick p = drop_down(app, m.items, 1, cols[size_t(active - 1)], true);
    if (p.kind == Pick::CHOSEN) {
      draw_bar(app, bar, 0);
      return p.command;
    }
    if (p.kind == Pick::ESCAPE) {
      draw_bar(app, bar, 0);
      return {};
    }
    active = p.kind == Pick::LEFT ? (active == 1 ? int(bar.size()) : active - 1) : active % int(bar.size()) + 1;
  }
}

int lines_per_sheet(int asked) { return asked < 50 || asked > 66 ? 60 : asked; }

base::Result<int> remove_one_cent_amounts(store::Session& s) {
  const base::Decimal cent = base::Decimal::of(1, 2);
  static const store::imp02::Field fields[] = {store::imp02::I1_4, store::imp02::I1_15, store::imp02::I1_16,
                                               store::imp02::I1_17, store::imp02::I1_18, store::imp02::I1_32,
                                               store::imp02::I1_33, store::imp02::I1_37, store::imp02::I1_38};
  return walk_folder_table(s, 2, [&](xbase::Table& t) -> base::Result<bool> {
    bool changed = false;
    for (store::imp02::Field f : fields) {
      int i = t.field_index(store::imp02::kFields[f].name);
      if (i >= 0 && t.number(i) == cent) {
        if (base::Status w = t.set_number(i, 0); !w) return w;
        changed = true;
      }
    }
    return changed;
  });
}

base::Result<int> mark_phone_sending(store::Session& s, bool send) {
  return walk_folder_table(s, 1, [&](xbase::Table& t) -> base::Result<bool> {
    int i = t.field_index("NOVREG");
    if (i < 0) return false;
    if (base::Status w = t.set_logical(i, send); !w) return w;
    return true;
  });
}

base::Result<int> remove_repeated_cnpjs(store::Session& s) {
  if (base::Status o = store::ABERTURA(s, 77, true); !o) return o;
  xbase::Table& t = *s.table(77);
  if (base::Status p = t.pack(); !p) return p;
  const int fc = t.field_index("CNPJ"), fm = t.field_index("I7_5");
  if (base::Status o = t.set_order(0); !o) return o;
  for (base::Status st = t.go_top(); !t.eof(); st = t.skip()) {
    if (!st) return st;
    if (base::Status w = t.set_number(fm, 0); !w) return w;
    if (base::Status c = t.commit(); !c) return c;
  }
  int removed = 0;
  for (;;) {
    uint32_t first = 0;
    for (base::Status st = t.go_top(); st && !t.eof(); st = t.skip())
      if (t.number(fm).is_zero()) { first = t.recno(); break; }
    if (first == 0) break;
    if (base::Status g = t.go_to(first); !g) return g;
    const std::string cnpj = t.text(fc);
    if (base::Status w = t.set_number(fm, 1); !w) return w;
    if (base::Status c = t.commit(); !c) return c;
    for (base::Status st = t.skip(); st && !t.eof(); st = t.skip())
      if (t.text(fc) == cnpj) {
        if (base::Status d = t.delete_record(); !d) return d;
        ++removed;
      }
  }
  if (base::Status p = t.pack(); !p) return p;
  s.close_slot(77);
  return removed;
}

namespace {

std::string digits_of(std::string_view s) {
  std::string d;
  for (char c : s)
    if (c >= '0' && c <= '9') d += c;
  return d;
}

std::string punctuated_cnpj(const std::string& d) {
  if (d.size() != 14) return d;
  return d.substr(0, 2) + "." + d.substr(2, 3) + "." + d.substr(5, 3) + "/" + d.substr(8, 4) + "-" + d.substr(12, 2);
}

// Appends a row to the table in `slot` with these texts, under the append lock.
base::Status append_texts(store::Session& s, int slot, const std::vector<std::pair<std::string, std::string>>& values) {
  s.current = slot;
  xbase::Table& t = *s.table(slot);
  if (base::Status a = store::ADD_REC(s, 5); !a) return a;
  base::Status st;
  for (const auto& [field, value] : values)
    if (st) st = t.set_text(t.field_index(field), value);
  base::Status u = t.unlock();
  return st ? u : st;
}

}  // namespace

base::Result<int> banks_from_auxfon(store::Session& s) {
  if (base::Status o = store::ABERTURA(s, 77); !o) return o;
  if (base::Status o = store::ABERTURA(s, 74); !o) return o;
  xbase::Table& banks = *s.table(77);
  xbase::Table& fon = *s.table(74);
  banks.set_order(1);
  int added = 0;
  std::vector<std::pair<std::string, std::string>> found;
  const int fn = fon.field_index("NOME"), fc = fon.field_index("CGCCPF");
  for (base::Status st = fon.go_top(); st && !fon.eof(); st = fon.skip()) {
    std::string d = digits_of(fon.text(fc));
    if (d.size() == 14) found.emplace_back(std::string(base::RTRIM(fon.text(fn))).substr(0, 30), d);
  }
  for (const auto& [name, cnpj] : found) {
    const int cf = banks.field_index("CNPJ");
    bool there = false;
    for (base::Status st = banks.go_top(); st && !banks.eof() && !there; st = banks.skip())
      there = digits_of(banks.text(cf)) == cnpj;
    if (there) continue;
    if (base::Status a = append_texts(s, 77, {{"NOME", name}, {"CNPJ", cnpj}}); !a) return a;
    ++added;
  }
  return added;
}

base::Result<int> banks_to_auxfon(store::Session& s) {
  if (base::Status o = store::ABERTURA(s, 77); !o) return o;
  if (base::Status o = store::ABERTURA(s, 74); !o) return o;
  xbase::Table& banks = *s.table(77);
  xbase::Table& fon = *s.table(74);
  std::vector<std::pair<std::string, std::string>> list;
  const int bn = banks.field_index("NOME"), bc = banks.field_index("CNPJ");
  for (base::Status st = banks.go_top(); st && !banks.eof(); st = banks.skip())
    list.emplace_back(std::string(base::RTRIM(banks.text(bn))), punctuated_cnpj(digits_of(banks.text(bc))));
  int added = 0;
  const int fc = fon.field_index("CGCCPF");
  for (const auto& [name, cnpj] : list) {
    if (cnpj.size() != 18) continue;
    bool there = false;
    for (base::Status st = fon.go_top(); st && !fon.eof() && !there; st = fon.skip())
      there = base::RTRIM(fon.text(fc)) == cnpj;
    if (there) continue;
    if (base::Status a = append_texts(s, 74, {{"NOME", name}, {"CGCCPF", cnpj}}); !a) return a;
    ++added;
  }
  return added;
}

base::Result<CityFill> fill_city_codes(store::Session& s) {
  if (base::Status o = store::ABERTURA(s, 4); !o) return o;
  std::vector<int> tables;
  for (int n : {64, 94})
    if (store::use_on_demand_index(s, n)) tables.push_back(n);
  xbase::Table& assets = *s.table(4);
  const int fm = assets.field_index("MUNICIMO"), fu = assets.field_index("UFIMO"), fcod = assets.field_index("CODMIMO"),
            fcpf = assets.field_index("CPF");
  CityFill fill;
  std::vector<std::string> cpfs;
  for (base::Status st = assets.go_top(); !assets.eof(); st = assets.skip()) {
    if (!st) return st;
    std::string town(base::RTRIM(assets.text(fm))), state(base::RTRIM(assets.text(fu)));
    if (town.empty() || state.empty()) continue;
    std::string code;
    for (int n : tables) {
      xbase::Table& m = *s.table(n);
      const xbase::FieldInfo& name = m.fields()[size_t(m.field_index("NOMEMUNI"))];
      // The index key is UPPER(NOMEMUNI+UNIFED), whose UPPER changes only the letters a … z.
      std::string key = base::PADR(town, size_t(name.width)) + base::PADR(state, 2);
      for (char& ch : key)
        if (ch >= 'a' && ch <= 'z') ch = char(ch - 'a' + 'A');
      if (!m.seek(key)) continue;
      if (m.found()) {
        int f = m.field_index("NROMUNI");
        code = m.fields()[size_t(f)].type == 'N' ? base::STRZERO(m.number(f), 4) : std::string(base::ALLTRIM(m.text(f)));
        break;
      }
    }
    if (code.empty()) continue;
    s.current = 4;
    if (base::Status l = store::REC_LOCK(s, 5); !l) return l;
    base::Status w = assets.set_text(fcod, code);
    base::Status u = assets.unlock();
    if (!w) return w;
    if (!u) return u;
    ++fill.items;
    std::string cpf = assets.text(fcpf);
    if (std::find(cpfs.begin(), cpfs.end(), cpf) == cpfs.end()) cpfs.push_back(cpf);
  }
  fill.taxpayers = int(cpfs.size());
  return fill;
}

void MENUSELECT(App& app, int command, int a, int b) {
  app.OPCAO_1 = command;
  int tens = command / 10;
  app.NPOSMENU = tens > 2 ? tens - 1 : tens;
  if (app.LESTOUNADECL) return;
  (void)b;
  store::Session& s = app.s;
  switch (command) {
    case 11:
      app.LESTOUNADECL = true;
      app.open_declaration(app);
      app.LESTOUNADECL = false;
      break;
    case 18: leave_program(app, 18); break;
    case 91: leave_program(app, 91); break;
    case 19: {
      ui::ScreenOperator op(app.ui);
      store::update_database(s);
      store::close_all_but_mark(s);
      break;
    }
    case 23: MODCOR(app, a); break;
    case 72: case 75: {
      base::Mens m;
      m.mode = 4;
      m.text = "Informe a letra do Drive";
      m.value = " ";
      m.input_width = 1;
      m.mask = "@!";
      if (command == 72) app.ui.message_line("Backup Compactado das pastas");
      std::string letter(base::ALLTRIM(base::UPPER(app.ui.MENS(m))));
      if (letter.empty()) {
        s.config.XDRIVE = "A";
        break;  // a blank answer means "A" and cancels
      }
      s.config.XDRIVE = letter.substr(0, 1);
      not_available(app);
      break;
    }
    case 21: SELAREA(app, 1); break;
    case 67: SELAREA(app, 2); break;
    case 25: fees(app); break;
    case 26: saving_mode(app, a); break;
    case 35: {
      ui::ScreenOperator op(app.ui);
      std::string ver = s.define.VER_ATUAL;
      VersionServer server = VersionServer::built_in();
      if (server.host.empty())
        not_available(app);
      else if (VER_VERSAO(op, server, true, ver) == VersionOutcome::LEAVE_TO_UPDATE)
        ROTSAIDA(app, 18);
      break;
    }
    case 36: display_settings(app, a); break;
    case 37: {
      if (!app.ui.AVISOSN({"Essa opção irá retirar todos os R$ 0,01 dos rendimentos na tela 1"_cps,
                           "das declarações na pasta"_cps + s.folders.LOCARQ},
                          base::BOX_YES_NO, "Retira os centavos de aviso").starts_with("S"))
        break;
      if (remove_one_cent_amounts(s)) ready(app, "Centavos Retirados");
      store::close_all_but_mark(s);
      break;
    }
    case 38: {
      if (!app.ui.AVISOSN({"Essa opção irá marcar em todos os contribuintes da pasta"_cps,
                           "para "s + (a == 1 ? "" : "não"_cps) + " enviar o nro do Celular e o email para a Receita!"},
                          base::BOX_YES_NO).starts_with("S"))
        break;
      if (mark_phone_sending(s, a == 1)) ready(app);
      store::close_all_but_mark(s);
      break;
    }
    case 39:
      if (a == 3 || a == 4) {
        bool from = a == 3;
        std::vector<std::string> q = from ? std::vector<std::string>{"Confirma a Inclusão dos CNPJs Do AUXfon"_cps, "Para a lista dos CNPJ dos Bancos?"}
                                          : std::vector<std::string>{"Confirma Inclusão dos CNPJ dos Bancos no"_cps, "Arquivo auxiliar dos Rendimentos?"};
        if (app.ui.AVISOSN(q, base::BOX_YES_NO, from ? "Inclui CNPJ" : "") != "S") break;
        base::Result<int> n = from ? banks_from_auxfon(s) : banks_to_auxfon(s);
        if (n)
          app.ui.AVISOSN({"Incluidos " + base::STR(*n, 3) + " CNPJs"}, base::BOX_INFO);
        else
          app.ui.AVISOSN({n.status().message()}, base::BOX_ERROR);
        store::close_all_but_mark(s);
        break;
      }
      if (a != 2) { not_available(app); break; }
      if (app.ui.AVISOSN({"Confirma a Exclusão dos CNPJs Repetidos"_cps}, base::BOX_YES_NO, "Retira repetição de CNPJ"_cps) != "S")
        break;
      if (base::Result<int> n = remove_repeated_cnpjs(s); n)
        app.ui.AVISOSN({"Excluidos " + base::STR(*n, 3) + " CNPJs"}, base::BOX_INFO);
      else
        app.ui.AVISOSN({"A lista de bancos está sendo usada no momento!"_cps}, base::BOX_ERROR);
      break;
    case 40:
      if (a == 2) {
        if (app.ui.AVISOSN({"Essa opção precorre a declarações de bens"_cps, "de todos os contribuintes da pasta atual",
                            "preenchendo os códigos das cidades "_cps, "evitando a sua falta ao transferir a",
                            "declaração para a Receita."_cps},
                           base::BOX_YES_NO) != "S")
          break;
        if (base::Result<CityFill> f = fill_city_codes(s); f)
          app.ui.AVISOSN({"Preenchida códigos em "_cps + base::STR(f->items, 4) + " itens",
                          "Em " + base::STR(f->taxpayers, 4) + " declarações"_cps});
        else
          app.ui.AVISOSN({"Arquivo da Declaração de Bens está"_cps, "sendo usado no momento!"}, base::BOX_ERROR);
        store::close_all_but_mark(s);
        break;
      }
      if (app.ui.AVISOSN({"A busca do CEP está "_cps + (app.LBUSCACEP ? "ativada" : "desativada"),
                          "Deseja "s + (app.LBUSCACEP ? "desativar" : "ativar") + " nessa sessão a busca?"_cps},
                         base::BOX_YES_NO) == "S")
        app.LBUSCACEP = !app.LBUSCACEP;
      break;
    case 46: {
      auto ask = [&](const char* q, std::string& flag) {
        std::string ans = app.ui.AVISOSN({base::utf8_to_cp850(q)}, base::BOX_YES_NO);
        flag = ans == "S" ? "S" : "N";
      };
      ask("Mostre as Impressoras Existentes antes de imprimir ?", s.config.mosimp);
      ask("Mostre no video o texto a ser impresso antes de imprimir ?", s.config.mostel);
      ask("Cria uma cópia (TXT) do texto a ser impresso?", s.config.mosCPF);
      break;
    }
    case 47: copies_command(app); break;
    case 52:
      if (!std::filesystem::exists(s.folders.LOCTRAB + "NAO-DOS.TXT"))
        app.ui.AVISOSN({"Gere antes o arquivo a ser impresso! "}, base::BOX_ERROR);
      else
        not_available(app);
      break;
    case 54: lines_command(app); break;
    case 64:
      if (a == 1) {
        base::Mens m;
        m.mode = 4;
        m.text = "Informe o código do Estatus para declaração transferida! "_cps;
        m.input = base::Mens::Input::NUMBER;
        m.value = s.config.SOESTE.text(0);
        m.input_width = 2;
        m.mask = "@z 99";
        auto n = base::Decimal::parse(base::ALLTRIM(app.ui.MENS(m)));
        if (!n || n->is_negative() || *n > 99) break;
        s.config.SOESTE = *n;
        s.config.OPTTRAN = 2;
        app.ui.AVISOSN({"A partir de agora somente as declarações com o Status "_cps + base::STR(*n, 2),
                        "serão transferidas para o IRPF ao terminar a declaração"_cps});
      } else if (a == 2) {
        s.config.OPTTRAN = 0;
        app.ui.AVISOSN({"A partir de agora nenhuma declaração será transferida"_cps, " para o IRPF ao terminar a declaração"_cps});
      } else {
        not_available(app);
      }
      break;
    case 65:
      if (a == 1) {
        s.config.OPTTRAN = 1;
        app.ui.AVISOSN({"A partir de agora todas as declarações independente do status"_cps,
                        "serão transferidas para o IRPF ao terminar a declaração"_cps});
      } else if (s.config.OPTTRAN == 2) {
        app.ui.AVISOSN({"A partir de agora somente as declarações com o Status "_cps + base::STR(s.config.SOESTE, 2),
                        "serão transferidas para o IRPF ao terminar a declaração"_cps});
      } else {
        s.config.OPTTRAN = 0;
        app.ui.AVISOSN({"A partir de agora nenhuma declaração será transferida"_cps, " para o IRPF ao terminar a declaração"_cps});
      }
      break;
    case 66:
      if (app.ui.AVISOSN({"Após o envio deseja que o Estatus passe para transmitidas?"_cps}, base::BOX_YES_NO) == "S") {
        s.config.ENV_STAT = 1;
        base::Mens m;
        m.mode = 4;
        m.text = "Informe o código do Estatus de declaração transmitidas? "_cps;
        m.input = base::Mens::Input::NUMBER;
        m.value = s.config.OPC_TRAN.text(0);
        m.input_width = 2;
        m.mask = "@z 99";
        auto n = base::Decimal::parse(base::ALLTRIM(app.ui.MENS(m)));
        if (n && !n->is_negative() && *n <= 99) s.config.OPC_TRAN = *n;
      } else {
        s.config.ENV_STAT = 0;
      }
      break;
    default:
      not_available(app);
      break;
  }
}

}  // namespace kardo::shell
