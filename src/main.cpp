#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "base/clock.h"
#include "shell/app.h"
#include "shell/batch.h"
#include "shell/version.h"
#include "term/ncurses_backend.h"
#include "ui/screen_operator.h"
#include "ui/ui.h"
#include "xbase/file.h"

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("%s\n", kardo::shell::version_text().data());
    return 0;
  }
  if (argc > 1 && std::strcmp(argv[1], "--batch") == 0) {
    std::vector<std::string> args(argv + 2, argv + argc);
    return kardo::shell::run_batch(args, kardo::shell::process_environment(), std::cout, std::cerr);
  }
  if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
    std::fprintf(stderr, "kardo: usage: kardo [NN] | kardo --version | kardo --batch COMMAND [options]\n");
    return 2;
  }
  kardo::shell::StartArgs start;
  start.args.assign(argv + 1, argv + argc);
  start.env = kardo::shell::process_environment();
  std::error_code ec;
  start.current_folder = std::filesystem::current_path(ec).string();
  try {
    std::unique_ptr<kardo::term::Backend> backend = kardo::term::make_ncurses_backend();
    kardo::term::Terminal terminal(*backend);
    kardo::base::SystemClock clock;
    kardo::ui::Ui ui(terminal, clock);
    kardo::ui::ScreenOperator op(ui);
    kardo::store::Session session(op, kardo::xbase::Env::posix());
    return kardo::shell::run_program(ui, session, start);
  } catch (const kardo::term::TerminalLost&) {
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kardo: %s\n", e.what());
    return 1;
  }
}
