#include "ui/colours.h"

#include "term/colour.h"

namespace kardo::ui {

int colour_of_set(std::string_view set, int index) {
  for (int i = 0; i < index; ++i) {
    size_t comma = set.find(',');
    if (comma == std::string_view::npos) return 7;
    set.remove_prefix(comma + 1);
  }
  return term::colour_number(set).value_or(7);
}

std::string ACHACOR(int number) { return term::colour_pair(number); }
int ACHACOR(std::string_view pair) { return term::colour_number(pair).value_or(7); }

}  // namespace kardo::ui
