// The real program in a real terminal: kardo runs under tmux on a fresh data folder; menus
// open with keys and the mouse, leaving asks for confirmation, and a second start on the same
// terminal number is refused while the first runs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;

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

class KardoTmux : public ::testing::Test {
 protected:
  void SetUp() override {
    if (system("command -v tmux >/dev/null 2>&1") != 0) GTEST_SKIP() << "tmux is not installed";
    socket_ = "kardo-shell-test-" + std::to_string(getpid());
    data_ = fs::temp_directory_path() / socket_;
    fs::remove_all(data_);
    fs::create_directories(data_);
    ASSERT_EQ(system((std::string(KARDO_PROGRAM) + " --batch init --data " + data_.string() + " >/dev/null 2>&1").c_str()), 0);
    ASSERT_EQ(system((tmux() + " -f /dev/null start-server").c_str()), 0);
  }
  void TearDown() override {
    if (!socket_.empty()) system((tmux() + " kill-server >/dev/null 2>&1").c_str());
    if (!data_.empty()) fs::remove_all(data_);
  }
  std::string tmux() const { return "tmux -L " + socket_; }
  void start(const std::string& session, const std::string& terminal) {
    std::string cmd = tmux() + " new-session -d -x 80 -y 25 -s " + session +
                      " \"env LANG=C.UTF-8 LC_ALL=C.UTF-8 TERM=tmux-256color DIR2019=" + data_.string() + " " +
                      KARDO_PROGRAM + " " + terminal + "; echo kardo-ended; sleep 30\"";
    ASSERT_EQ(system(cmd.c_str()), 0) << cmd;
  }
  std::string screen(const std::string& session) { return run(tmux() + " capture-pane -p -t " + session); }
  void keys(const std::string& session, const std::string& k) {
    ASSERT_EQ(system((tmux() + " send-keys -t " + session + " " + k).c_str()), 0) << k;
  }
  bool wait_for(const std::string& session, const std::string& text, bool present = true) {
    for (int i = 0; i < 100; ++i) {
      if ((screen(session).find(text) != std::string::npos) == present) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  void click(const std::string& session, int row, int col) {
    std::string at = std::to_string(col + 1) + ";" + std::to_string(row + 1);
    keys(session, "-l '\033[<0;" + at + "M\033[<0;" + at + "m'");
  }
  bool running(const std::string& session) { return screen(session).find("kardo-ended") == std::string::npos; }

  std::string socket_;
  fs::path data_;
};

TEST_F(KardoTmux, MenusLeavingAndTheTerminalMark) {
  start("one", "03");
  ASSERT_TRUE(wait_for("one", "Declaração  Opções")) << screen("one");
  // Keys: Alt O opens "Opções"; Esc closes it.
  keys("one", "M-o");
  ASSERT_TRUE(wait_for("one", "Valores a Cobrar")) << screen("one");
  keys("one", "Escape");
  ASSERT_TRUE(wait_for("one", "Valores a Cobrar", false)) << screen("one");
  // The mouse: a click on "Backup" opens it, a click on an item runs it.
  std::string s = screen("one");
  size_t first_line_end = s.find('\n');
  ASSERT_NE(s.substr(0, first_line_end).find("Backup"), std::string::npos);
  click("one", 0, 60);
  ASSERT_TRUE(wait_for("one", "Informa o processador")) << screen("one");
  keys("one", "Escape");
  ASSERT_TRUE(wait_for("one", "Informa o processador", false)) << screen("one");

  // A second start on terminal 03 is refused while the first runs; 04 starts.
  start("two", "03");
  ASSERT_TRUE(wait_for("two", "está em uso")) << screen("two");
  keys("two", "Enter");
  EXPECT_TRUE(wait_for("two", "kardo-ended")) << screen("two");
  start("three", "04");
  ASSERT_TRUE(wait_for("three", "Declaração  Opções")) << screen("three");

  // Leaving asks; No stays, Yes leaves.
  keys("one", "Escape");
  ASSERT_TRUE(wait_for("one", "Confirma saída do programa?")) << screen("one");
  keys("one", "n");
  ASSERT_TRUE(wait_for("one", "Confirma saída do programa?", false)) << screen("one");
  EXPECT_TRUE(running("one"));
  keys("one", "Escape");
  ASSERT_TRUE(wait_for("one", "Confirma saída do programa?")) << screen("one");
  keys("one", "s");
  EXPECT_TRUE(wait_for("one", "kardo-ended")) << screen("one");
  EXPECT_TRUE(running("three"));
}

}  // namespace
