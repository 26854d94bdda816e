#include "xbase/lock.h"

#include <chrono>
#include <thread>

namespace kardo::xbase::lock {

Status brief(File& f, uint64_t off, uint64_t len) {
  using namespace std::chrono;
  auto deadline = steady_clock::now() + milliseconds(500);
  auto pause = microseconds(10);
  for (;;) {
    Status s = f.lock(off, len, true);
    if (s.code() != Code::LOCKED || steady_clock::now() >= deadline) return s;
    std::this_thread::sleep_for(pause);
    if (pause < milliseconds(2)) pause *= 2;
  }
}

}  // namespace kardo::xbase::lock
