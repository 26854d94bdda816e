#include "shell/batch.h"

#include "shell/batch_decl.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>

#include "base/codepage.h"
#include "base/xtext.h"
#include "base/year.h"
#include "shell/batch_init.h"
#include "store/abertura.h"
#include "store/configura.h"

namespace kardo::shell {

using namespace base::literals;

namespace {

std::string utf8(std::string_view cp850) { return base::cp850_to_utf8(cp850); }

bool is_terminal_number(std::string_view s) { return !s.empty() && s.size() <= 2 && base::all_digits(s); }

std::string two_digits(std::string_view s) { return s.size() == 1 ? "0" + std::string(s) : std::string(s); }

std::string with_slash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

bool is_folder(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_directory(path, ec);
}

// The session's folders and the defaults of new settings records, from the options, the
// environment and the terminal's CONFIG record when it has one.
void set_up_session(store::Session& s, const BatchOptions& o, const Getenv& env) {
  s.NUSU = o.terminal;
  s.wait_limit = std::chrono::seconds(o.wait_seconds);
  s.home = env("HOME").value_or("");
  s.startup_folder = env(std::string(base::DATA_FOLDER_VARIABLE)).value_or("");
  s.default_printer = env("PRINTER").value_or("");
  s.folders.ARQDEF = with_slash(o.data_folder);
  std::optional<store::config::Record> config = store::find_config(s);
  std::string declarations = o.folder ? *o.folder : "";
  if (declarations.empty() && config) declarations = std::string(base::RTRIM(config->ROTADOANO));
  if (!is_folder(declarations)) declarations = o.data_folder;
  std::string work = config ? std::string(base::RTRIM(config->dirtrab)) : o.data_folder;
  if (!is_folder(work)) work = declarations;
  s.folders.LOCARQ = with_slash(declarations);
  s.folders.LOCTRAB = with_slash(work);
  s.folders.DIRORIG = s.folders.LOCARQ;
}

void print_commands(std::ostream& err) {
  err << "commands:";
  if (batch_commands().empty()) err << " (none in this build)";
  err << "\n";
  for (const BatchCommand& c : batch_commands()) err << "  " << c.name << " " << c.usage << "\n";
}

}  // namespace

Getenv process_environment() {
  return [](const std::string& name) -> std::optional<std::string> {
    const char* v = std::getenv(name.c_str());
    if (!v) return std::nullopt;
    return std::string(v);
  };
}

std::optional<BatchOptions> parse_batch_arguments(const std::vector<std::string>& args, const Getenv& env,
                                                  const std::string& current_folder, std::ostream& err) {
  BatchOptions o;
  if (args.empty() || args[0].starts_with("--")) {
    err << "kardo --batch: a command is needed\n";
    print_commands(err);
    return std::nullopt;
  }
  o.command = args[0];
  std::optional<std::string> data = env(std::string(base::DATA_FOLDER_VARIABLE));
  o.data_folder = data && !data->empty() ? *data : current_folder;
  if (auto t = env("TERMINAL"); t && is_terminal_number(*t)) o.terminal = two_digits(*t);

  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!a.starts_with("--") || a.size() < 3) {
      err << "kardo --batch: unexpected argument '" << a << "'\n";
      return std::nullopt;
    }
    std::string name = a.substr(2);
    std::string value;
    if (size_t eq = name.find('='); eq != std::string::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      err << "kardo --batch: option --" << name << " needs a value\n";
      return std::nullopt;
    }
    if (name == "data") {
      o.data_folder = value;
    } else if (name == "folder") {
      o.folder = value;
    } else if (name == "terminal") {
      if (!is_terminal_number(value)) {
        err << "kardo --batch: --terminal takes one or two digits\n";
        return std::nullopt;
      }
      o.terminal = two_digits(value);
    } else if (name == "wait") {
      if (!base::all_digits(value) || value.size() > 6) {
        err << "kardo --batch: --wait takes a number of seconds\n";
        return std::nullopt;
      }
      o.wait_seconds = std::atoi(value.c_str());
    } else {
      o.extra[name] = value;
    }
  }
  return o;
}

std::string BatchOperator::AVISOSN(const base::Box& box) {
  std::ostream& to = box.mode == base::BOX_ERROR ? err_ : out_;
  std::string text;
  for (size_t i = 0; i < box.lines.size(); ++i) text += (i ? " " : "") + std::string(base::ALLTRIM(box.lines[i]));
  std::string answer;
  if (box.is_question()) {
    answer = box.batch_answer;
    if (answer.empty()) {
      if (box.mode == base::BOX_YES_NO || box.mode == base::BOX_SIM_NAO_FIM) answer = "N";
      else if (box.mode == base::BOX_YES_NO_CANCEL) answer = "I";
      else answer = "0";
    }
    to << "? " << utf8(text) << " -> " << utf8(answer) << "\n";
  } else {
    to << (box.mode == base::BOX_ERROR ? "error: " : "") << utf8(text) << "\n";
    if (box.mode == base::BOX_PLAIN) answer = "N";
  }
  return answer;
}

std::string BatchOperator::MENS(const base::Mens& m) {
  switch (m.kind()) {
    case 0:
    case 3:
      return "";  // message line and progress windows are not printed
    case 1:
      out_ << utf8(base::ALLTRIM(m.text)) << "\n";
      return "";
    case 2: {
      std::string answer = m.letters.empty() ? "" : m.letters.substr(m.letters.size() - 1);
      out_ << "? " << utf8(base::ALLTRIM(m.text)) << " -> " << utf8(answer) << "\n";
      return answer;
    }
    default:
      out_ << "? " << utf8(base::ALLTRIM(m.text)) << " -> (" << utf8(m.value) << ")\n";
      return m.value;  // an input keeps its value
  }
}

const std::vector<BatchCommand>& batch_commands() {
  static const std::vector<BatchCommand> commands = [] {
    std::vector<BatchCommand> all = {
        {"init", "--data DIR [--folder DIR] [--tables DIR]", run_init},
    };
    for (BatchCommand& c : declaration_commands()) all.push_back(std::move(c));
    return all;
  }();
  return commands;
}

int run_batch(const std::vector<std::string>& args, const Getenv& env, std::ostream& out, std::ostream& err) {
  std::error_code ec;
  std::string cwd = std::filesystem::current_path(ec).string();
  std::optional<BatchOptions> options = parse_batch_arguments(args, env, cwd, err);
  if (!options) return BATCH_CANNOT_RUN;
  const BatchCommand* command = nullptr;
  for (const BatchCommand& c : batch_commands())
    if (options->command == c.name) command = &c;
  if (!command) {
    err << "kardo --batch: unknown command '" << options->command << "'\n";
    print_commands(err);
    return BATCH_CANNOT_RUN;
  }
  if (!std::filesystem::is_directory(options->data_folder, ec)) {
    err << "kardo --batch: data folder " << options->data_folder << " not found\n";
    return BATCH_CANNOT_RUN;
  }
  if (options->folder && !is_folder(*options->folder)) {
    err << "kardo --batch: declaration folder " << *options->folder << " not found\n";
    return BATCH_CANNOT_RUN;
  }
  base::SystemClock clock;
  BatchOperator op(out, err, clock);
  store::Session session(op, xbase::Env::posix());
  set_up_session(session, *options, env);
  if (base::Status mark = store::take_terminal_mark(session); !mark) {
    if (mark.code() == base::Code::LOCKED)
      err << utf8("O programa Kardo"_cp) << base::CANOATUAL << " no terminal " << session.NUSU
          << utf8(" está em uso"_cp) << "\n";
    else
      err << "kardo --batch: the terminal's folder list cannot be opened: " << mark.message() << "\n";
    return BATCH_CANNOT_RUN;
  }
  BatchContext ctx{*options, op, clock, out, err, session};
  if (int rc = recover_before_batch(ctx); rc != BATCH_OK) return rc;
  return command->run(ctx);
}

}  // namespace kardo::shell
