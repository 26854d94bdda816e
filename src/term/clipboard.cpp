#include "term/clipboard.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <optional>
#include <vector>

#include "base/codepage.h"

extern char** environ;

namespace kardo::term {

namespace {

bool on_path(const std::string& program) {
  const char* path = std::getenv("PATH");
  if (!path) return false;
  std::string p = path;
  size_t start = 0;
  while (start <= p.size()) {
    size_t end = p.find(':', start);
    if (end == std::string::npos) end = p.size();
    std::string dir = p.substr(start, end - start);
    if (!dir.empty() && access((dir + "/" + program).c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

// Runs `argv` with `input` on its standard input; gives its standard output (when
// `capture`; a copying helper that stays behind to serve the selection gets /dev/null) when
// it exits with status 0 within two seconds, nullopt otherwise, so a hung helper never
// hangs the program.
std::optional<std::string> run(const std::vector<std::string>& argv, std::string_view input, bool capture) {
  int in[2], out[2];
  if (pipe2(in, O_CLOEXEC) != 0) return std::nullopt;
  if (pipe2(out, O_CLOEXEC) != 0) { close(in[0]); close(in[1]); return std::nullopt; }
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_adddup2(&fa, in[0], 0);
  if (capture) posix_spawn_file_actions_adddup2(&fa, out[1], 1);
  else posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid;
  int rc = posix_spawnp(&pid, args[0], &fa, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&fa);
  close(in[0]);
  close(out[1]);
  if (rc != 0) { close(in[1]); close(out[0]); return std::nullopt; }
  // The input is small (one field or line); a pipe holds it whole.
  size_t done = 0;
  while (done < input.size()) {
    ssize_t n = write(in[1], input.data() + done, input.size() - done);
    if (n <= 0) break;
    done += size_t(n);
  }
  close(in[1]);
  std::string result;
  char buf[4096];
  int waited = 0;
  while (capture) {
    pollfd p{out[0], POLLIN, 0};
    int r = poll(&p, 1, 100);
    if (r == 0) {
      if (++waited >= 20) break;
      continue;
    }
    if (r < 0) break;
    ssize_t n = read(out[0], buf, sizeof buf);
    if (n <= 0) break;
    result.append(buf, size_t(n));
  }
  close(out[0]);
  int status = 0;
  for (int i = 0; i < 20; ++i) {
    pid_t w = waitpid(pid, &status, WNOHANG);
    if (w == pid) return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? std::optional(result) : std::nullopt;
    usleep(100000);
  }
  kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  return std::nullopt;
}

bool wayland() { return std::getenv("WAYLAND_DISPLAY") != nullptr; }
bool x11() { return std::getenv("DISPLAY") != nullptr; }

}  // namespace

SystemClipboard::SystemClipboard(std::function<void(std::string_view)> write_terminal)
    : write_terminal_(std::move(write_terminal)) {}

std::string SystemClipboard::osc52(std::string_view utf8) {
  static const char* b64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out = "\033]52;c;";
  size_t i = 0;
  for (; i + 2 < utf8.size(); i += 3) {
    unsigned v = (unsigned char)utf8[i] << 16 | (unsigned char)utf8[i + 1] << 8 | (unsigned char)utf8[i + 2];
    out += b64[v >> 18];
    out += b64[(v >> 12) & 63];
    out += b64[(v >> 6) & 63];
    out += b64[v & 63];
  }
  if (size_t rest = utf8.size() - i; rest > 0) {
    unsigned v = (unsigned char)utf8[i] << 16 | (rest == 2 ? (unsigned char)utf8[i + 1] << 8 : 0);
    out += b64[v >> 18];
    out += b64[(v >> 12) & 63];
    out += rest == 2 ? b64[(v >> 6) & 63] : '=';
    out += '=';
  }
  out += "\a";
  return out;
}

void SystemClipboard::set(std::string_view cp850) {
  own_ = std::string(cp850);
  std::string utf8 = base::cp850_to_utf8(cp850);
  if (write_terminal_) write_terminal_(osc52(utf8));
  if (wayland() && on_path("wl-copy")) run({"wl-copy"}, utf8, false);
  else if (x11() && on_path("xclip")) run({"xclip", "-selection", "clipboard", "-i"}, utf8, false);
}

std::string SystemClipboard::get() {
  std::optional<std::string> got;
  if (wayland() && on_path("wl-paste")) got = run({"wl-paste", "-n"}, "", true);
  else if (x11() && on_path("xclip")) got = run({"xclip", "-selection", "clipboard", "-o"}, "", true);
  if (got) return base::utf8_to_cp850(*got);
  return own_;
}

}  // namespace kardo::term
