// A Ui on a headless terminal with a pinned clock, for the tests of the window layer.
#pragma once

#include <gtest/gtest.h>

#include "base/clock.h"
#include "base/codepage.h"
#include "base/xtext.h"
#include "term/headless.h"
#include "ui/ui.h"

namespace kardo::ui::testing {

using namespace base::literals;

// The code page 850 byte of a one-character literal.
inline unsigned char cp(std::string_view one) { return static_cast<unsigned char>(one[0]); }

class UiTest : public ::testing::Test {
 protected:
  term::HeadlessBackend h;
  term::Terminal terminal{h};
  base::FixedClock clock{base::Date(2019, 4, 1), 10, 0, 0};
  Ui ui{terminal, clock};

  term::Screen& s() { return terminal.screen(); }
  // A screen full of a pattern, so anything left behind shows.
  void pattern() {
    for (int r = 0; r < term::Screen::ROWS; ++r)
      for (int c = 0; c < term::Screen::COLS; ++c)
        s().put(r, c, static_cast<unsigned char>('a' + (r + c) % 26), static_cast<unsigned char>((r * 7 + c) % 256));
  }
  static ::testing::AssertionResult same(const term::Screen& a, const term::Screen& b) {
    for (int r = 0; r < term::Screen::ROWS; ++r)
      for (int c = 0; c < term::Screen::COLS; ++c)
        if (!(a.at(r, c) == b.at(r, c)))
          return ::testing::AssertionFailure() << "cell " << r << "," << c << " differs";
    return ::testing::AssertionSuccess();
  }
  // Row `row` of the screen as shown when the terminal last waited, in UTF-8.
  std::string shown_row(int row) { return base::cp850_to_utf8(h.shown().row_text(row)); }
};

}  // namespace kardo::ui::testing
