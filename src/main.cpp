#include <cstdio>
#include <cstring>

#include "shell/version.h"

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("%s\n", kardo::shell::version_text().data());
    return 0;
  }
  std::fprintf(stderr, "kardo: usage: kardo --version\n");
  return 2;
}
