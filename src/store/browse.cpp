#include "store/browse.h"

namespace kardo::store {

base::Result<long> SKIPPED(xbase::Table& t, long n, bool may_end) {
  if (n == 0) {
    if (base::Status st = t.skip(0); !st) return st;
    return 0L;
  }
  long moved = 0;
  if (n > 0) {
    while (moved < n && !t.eof()) {
      if (base::Status st = t.skip(1); !st) return st;
      if (t.eof()) {
        if (may_end) {
          ++moved;
        } else if (base::Status st = t.skip(-1); !st) {  // back onto the last row
          return st;
        }
        break;
      }
      ++moved;
    }
    return moved;
  }
  while (moved > n) {
    if (base::Status st = t.skip(-1); !st) return st;
    if (t.bof()) break;  // on the first row already
    --moved;
  }
  return moved;
}

}  // namespace kardo::store
