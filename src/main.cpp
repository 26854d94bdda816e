#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "shell/batch.h"
#include "shell/version.h"

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("%s\n", kardo::shell::version_text().data());
    return 0;
  }
  if (argc > 1 && std::strcmp(argv[1], "--batch") == 0) {
    std::vector<std::string> args(argv + 2, argv + argc);
    return kardo::shell::run_batch(args, kardo::shell::process_environment(), std::cout, std::cerr);
  }
  std::fprintf(stderr, "kardo: usage: kardo --version | kardo --batch COMMAND [options]\n");
  return 2;
}
