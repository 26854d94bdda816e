// Look-up lists: the pop-up browse (HBROWSE) over a table, and the lists shown for the field
// being edited (GERAL, GERAL2), each defined by the asking field's name: the table, the columns
// (title, field, mask), the rectangle and what Enter hands back.
//
// The browse is one engine for every list (and the item grids): rows in the table's active
// order, arrows, pages, first and last row, panning over columns, a mouse click moving to
// the row clicked, the wheel scrolling, F1/F2/F3 switching to order 2, 1, 3, and, for the
// lists that allow it, a typed character seeking the nearest row whose key begins with it.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "store/session.h"
#include "ui/ui.h"

namespace kardo::shell {

struct BrowseColumn {
  BrowseColumn(std::string title, std::string field, std::string mask = {}, int cut = 0)
      : title(std::move(title)), field(std::move(field)), mask(std::move(mask)), cut(cut) {}
  std::string title;
  std::string field;  // the table's field shown
  std::string mask;   // display mask ("@S30", "@R 999.999.999-99", "@Z 99"); empty: the field as stored
  int cut = 0;        // show only the first `cut` characters (0: all)
  // A computed column instead of a field (`width` cells).
  std::function<std::string(xbase::Table&)> value;
  int width = 0;
};

struct BrowseOptions {
  term::Rect rect{8, 6, 21, 70};
  bool seek_by_character = false;  // a typed character seeks in order 1 (digits) or 2
  std::vector<std::string> footers;
};

// The browse over table `t` (its active order) inside `rect`; the record chosen with Enter,
// nullopt on Esc or Ctrl+Enter. The table is left on the chosen (or last current) row.
std::optional<uint32_t> HBROWSE(ui::Ui& ui, xbase::Table& t, const std::vector<BrowseColumn>& columns,
                                const BrowseOptions& options);

// A list definition.
struct ListDefinition {
  std::vector<std::string> asking;  // the field names that show it
  int slot = 0;                     // the table's number (opened when not open)
  int order = 0;                    // the order to show it in; 0: as it is
  std::vector<BrowseColumn> columns;
  term::Rect rect{8, 6, 21, 70};
  // What Enter hands back: name of the value → field of the chosen row.
  std::vector<std::pair<std::string, std::string>> puts;
  bool close_after = false;  // the table is closed after the choice
};

// The definition of the list for an asking field (case ignored; "M->" kept as written), or
// nullptr when the field has no list.
const ListDefinition* list_for(std::string_view asking);

// The state of the service: PROG, set while a list is up.
struct LookupState {
  bool PROG = false;
};

// GERAL for an asking field: shows its list and returns the values Enter hands back (names of
// the definition's `puts`, values as stored, trailing blanks cut); nullopt when the field has
// no list, a list is already up, the table cannot be opened, or the operator left.
//
// Mode 1 with "M->CPF" or "M->NOMECONTR" shows the short register list (name, CPF, status
// description) of the register in slot 9, handing back CPF and NOMECONTR.
// `editing` names the field being edited when it differs from the asking field: with the
// state field "M->UF" the municipality list is titled "Nome dos Estados", and a row that reads
// as a state ("SP - São Paulo": two letters, a blank, a "-") hands back UF alone. A hyphenated
// town ("Sem-Peixe") is a town, not a state.
std::optional<std::map<std::string, std::string>> GERAL(ui::Ui& ui, store::Session& s, LookupState& state,
                                                         std::string_view asking, std::string_view editing = {},
                                                         int mode = 0);

// GERAL2: the list of a field preset by the caller; the code chosen (the first value the list
// hands back), "" when none.
std::string GERAL2(ui::Ui& ui, store::Session& s, LookupState& state, std::string_view asking);

}  // namespace kardo::shell
