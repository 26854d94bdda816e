// `kardo --batch COMMAND [options]`: the batch jobs for scripts and acceptance tests.
//
// Conventions every command follows:
//   --data DIR       data folder (default: the DIR2019 variable, else the current folder)
//   --folder DIR     declaration folder (default: the terminal's current folder setting;
//                    for a new terminal the data folder)
//   --terminal NN    terminal number (default: TERMINAL when it is one or two digits, else 00)
//   --wait SECONDS   every lock wait gives up after that long (default 30)
// A question met in batch gets the answer that writes nothing or keeps what exists; the
// question and the answer are printed. Output is UTF-8 lines on standard output, errors on
// standard error. Exit 0: everything succeeded; 1: some items failed; 2: the command could
// not run at all (usage, folder missing, terminal in use).
#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/operator.h"
#include "store/session.h"

namespace kardo::shell {

enum BatchExit : int { BATCH_OK = 0, BATCH_SOME_FAILED = 1, BATCH_CANNOT_RUN = 2 };

struct BatchOptions {
  std::string command;
  std::string data_folder;
  std::optional<std::string> folder;  // absent: the terminal's current folder
  std::string terminal = "00";
  int wait_seconds = 30;
  std::map<std::string, std::string> extra;  // command options: --cpf X → extra["cpf"] = "X"
};

// The process environment as the batch reads it; tests pass their own.
using Getenv = std::function<std::optional<std::string>(const std::string&)>;
Getenv process_environment();

// Parses the arguments after --batch. On a usage error returns nullopt and writes why to err.
std::optional<BatchOptions> parse_batch_arguments(const std::vector<std::string>& args, const Getenv& env,
                                                  const std::string& current_folder, std::ostream& err);

// The operator of a batch run: boxes and messages are printed (errors to standard error),
// questions get the answer that writes nothing, Esc is never pressed.
class BatchOperator final : public base::Operator {
 public:
  BatchOperator(std::ostream& out, std::ostream& err, base::Clock& clock) : out_(out), err_(err), clock_(clock) {}
  std::string AVISOSN(const base::Box& box) override;
  std::string MENS(const base::Mens& m) override;
  void close_window(int) override {}
  bool escape_pressed() override { return false; }
  void tone(int, int) override {}
  base::Clock& clock() override { return clock_; }
  using Operator::AVISOSN;

 private:
  std::ostream& out_;
  std::ostream& err_;
  base::Clock& clock_;
};

// What a command runs with. The session holds the terminal's mark (DIRET<tt> opened
// exclusively) for the whole run, its folders set from the options: ARQDEF the data folder,
// LOCARQ --folder or the terminal's declaration folder (the data folder for a new terminal),
// LOCTRAB the terminal's work folder; every lock wait ends after --wait seconds.
struct BatchContext {
  BatchOptions options;
  base::Operator& op;
  base::Clock& clock;
  std::ostream& out;
  std::ostream& err;
  store::Session& session;
};

struct BatchCommand {
  const char* name;
  const char* usage;  // the options the command takes, for the list of commands
  std::function<int(BatchContext&)> run;
};

// The commands known to this build.
const std::vector<BatchCommand>& batch_commands();

// Runs `kardo --batch ARGS`; returns the exit status. The terminal's mark is taken before the
// command runs: a terminal number in use elsewhere prints "O programa Kardo19 no terminal NN
// está em uso" and exits 2.
int run_batch(const std::vector<std::string>& args, const Getenv& env, std::ostream& out, std::ostream& err);

}  // namespace kardo::shell
