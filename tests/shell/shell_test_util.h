// Helpers of the shell's tests: an environment given as a map, and a program run with an
// argument vector.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "shell/batch.h"

namespace kardo::shell::testing_util {

inline Getenv env_of(std::map<std::string, std::string> vars) {
  return [vars](const std::string& n) -> std::optional<std::string> {
    auto it = vars.find(n);
    if (it == vars.end()) return std::nullopt;
    return it->second;
  };
}

// Runs a program with an argument vector; its standard output and error, and its exit status.
inline int run_program(const std::vector<std::string>& argv, std::string* output) {
  int out[2];
  if (::pipe(out) != 0) return -1;
  pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(out[1], 1);
    ::dup2(out[1], 2);
    ::close(out[0]);
    ::close(out[1]);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    ::execv(args[0], args.data());
    ::_exit(127);
  }
  ::close(out[1]);
  char buf[4096];
  ssize_t n;
  while ((n = ::read(out[0], buf, sizeof buf)) > 0) output->append(buf, size_t(n));
  ::close(out[0]);
  int st = 0;
  ::waitpid(pid, &st, 0);
  return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

}  // namespace kardo::shell::testing_util
