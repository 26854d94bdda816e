// The real terminal path: ui_demo runs under tmux with the ncurses backend in an 80 × 25
// UTF-8 terminal; keys go in with send-keys and the screen comes back with capture-pane.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace {

std::string run(const std::string& command) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return out;
  std::array<char, 4096> buf;
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
  pclose(p);
  return out;
}

bool have_tmux() { return system("command -v tmux >/dev/null 2>&1") == 0; }

class Tmux : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!have_tmux()) GTEST_SKIP() << "tmux is not installed; the terminal test needs it";
    static int sessions = 0;
    socket_ = "kardo-ui-test-" + std::to_string(getpid()) + "-" + std::to_string(++sessions);
    // Keys such as Ctrl+Enter reach the program in their extended form (set before the
    // program starts, so its request for them is honoured).
    std::string cmd = tmux() + " -f /dev/null start-server \\; set -g extended-keys always \\; "
                      "new-session -d -x 80 -y 25 -s demo "
                      "\"env LANG=C.UTF-8 LC_ALL=C.UTF-8 TERM=tmux-256color " UI_DEMO "\"";
    ASSERT_EQ(system(cmd.c_str()), 0) << cmd;
    ASSERT_TRUE(wait_for("1 Calculadora")) << screen();
  }
  void TearDown() override {
    if (!socket_.empty()) system((tmux() + " kill-server >/dev/null 2>&1").c_str());
  }
  std::string tmux() const { return "tmux -L " + socket_; }
  std::string screen(bool colours = false) {
    return run(tmux() + " capture-pane -p " + (colours ? "-e " : "") + "-t demo");
  }
  void keys(const std::string& k) { ASSERT_EQ(system((tmux() + " send-keys -t demo " + k).c_str()), 0) << k; }
  bool wait_for(const std::string& text, bool colours = false) {
    for (int i = 0; i < 100; ++i) {
      if (screen(colours).find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  // Row and column (0-based, in characters) of `text` on the screen; -1, -1 when absent.
  std::pair<int, int> find(const std::string& text) {
    std::string s = screen();
    size_t at = s.find(text);
    if (at == std::string::npos) return {-1, -1};
    int row = 0, col = 0;
    for (size_t i = 0; i < at; ++i) {
      if (s[i] == '\n') { ++row; col = 0; }
      else if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) ++col;
    }
    return {row, col};
  }
  // A left click as an xterm-compatible terminal reports it (SGR encoding, 1-based).
  void click(int row, int col) {
    std::string at = std::to_string(col + 1) + ";" + std::to_string(row + 1);
    keys("-l '\033[<0;" + at + "M\033[<0;" + at + "m'");
  }
  bool exited() {
    for (int i = 0; i < 100; ++i) {
      if (run(tmux() + " has-session -t demo 2>&1").find("can't find") != std::string::npos ||
          run(tmux() + " list-sessions 2>&1").find("demo") == std::string::npos)
        return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  std::string socket_;
};

TEST_F(Tmux, WindowsBoxesAndTheCalculatorInARealTerminal) {
  // The menu window's frame in UTF-8; the bar in the chosen-item colour 79, white on red.
  std::string s = screen();
  EXPECT_NE(s.find("┌──────"), std::string::npos) << s;
  EXPECT_NE(screen(true).find("\033[41m1 Calculadora"), std::string::npos) << screen(true);

  // The calculator: 5 + 3 =, then Ctrl+Enter as Ctrl+J (its alternative in any terminal).
  keys("1");
  ASSERT_TRUE(wait_for("^Enter")) << screen();
  keys("5 + 3 =");
  ASSERT_TRUE(wait_for("             8")) << screen();
  keys("C-j");
  ASSERT_TRUE(wait_for("Resultado: 8.00")) << screen();
  EXPECT_EQ(screen().find("^Enter"), std::string::npos) << "the calculator's window stays";

  // The calculator's text colour 30 (yellow on blue, PC colour 14 on 1) reaches the terminal
  // as bright yellow on blue, its frame colour 31 as bright white.
  keys("1");
  ASSERT_TRUE(wait_for("^Enter")) << screen();
  std::string coloured = screen(true);
  EXPECT_NE(coloured.find("\033[93m Mr  Mc"), std::string::npos) << coloured;
  EXPECT_NE(coloured.find("\033[97m\033[44m"), std::string::npos) << coloured;
  keys("7");
  keys("C-Enter");  // Ctrl+Enter itself, in the terminal's extended report (alone: tmux drops it in a list)
  ASSERT_TRUE(wait_for("Resultado: 7.00")) << screen();

  // A message box answered No from the keyboard.
  keys("2");
  ASSERT_TRUE(wait_for("Deseja continuar?")) << screen();
  EXPECT_NE(screen().find("[   Não    ]"), std::string::npos) << screen();
  keys("n");
  ASSERT_TRUE(wait_for("Resultado: N")) << screen();

  // A form: the CPF field takes its picture, a full field goes on to the next one, and the
  // last decimal of the amount ends the form.
  keys("3");
  ASSERT_TRUE(wait_for("CPF:")) << screen();
  EXPECT_NE(screen().find("Digite o CPF e o valor"), std::string::npos) << "the status line over the last row";
  keys("1 1 1 4 4 4 7 7 7 3 5 1 2 3 4 , 5 6");
  ASSERT_TRUE(wait_for("Resultado: 11144477735 1234.56")) << screen();
  EXPECT_NE(screen().find("111.444.777-35"), std::string::npos) << screen();
  EXPECT_NE(screen().find("1.234,56"), std::string::npos) << screen();

  // The mouse: a double click chooses a menu item, a click presses a box's button.
  auto [item_row, item_col] = find("2 Mensagem");
  ASSERT_GE(item_row, 0) << screen();
  click(item_row, item_col);
  click(item_row, item_col);
  ASSERT_TRUE(wait_for("Deseja continuar?")) << screen();
  auto [button_row, button_col] = find("[   Não    ]");
  ASSERT_GE(button_row, 0) << screen();
  click(button_row, button_col + 4);
  ASSERT_TRUE(wait_for("Resultado: N\n")) << screen();  // the form's result replaced

  keys("5");
  EXPECT_TRUE(exited()) << screen();
}

TEST_F(Tmux, TheTerminalsSize) {
  // Larger: the grid at the top left, the status line under it.
  ASSERT_EQ(system((tmux() + " resize-window -t demo -x 100 -y 30").c_str()), 0);
  keys("3");
  ASSERT_TRUE(wait_for("CPF:")) << screen();
  EXPECT_EQ(find("Digite o CPF e o valor"), std::make_pair(25, 0)) << screen();
  EXPECT_EQ(find("1 Calculadora"), std::make_pair(2, 3)) << screen();
  keys("Escape");
  // Smaller: a request to enlarge it, until it is large enough again.
  ASSERT_EQ(system((tmux() + " resize-window -t demo -x 60 -y 20").c_str()), 0);
  ASSERT_TRUE(wait_for("Aumente-a para 80 colunas e 25 linhas")) << screen();
  ASSERT_EQ(system((tmux() + " resize-window -t demo -x 80 -y 25").c_str()), 0);
  ASSERT_TRUE(wait_for("1 Calculadora")) << screen();
  keys("Escape");
  EXPECT_TRUE(exited());
}

}  // namespace
