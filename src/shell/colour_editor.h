// The colour editor (MODCOR): one of the seven colour settings of the terminal chosen on a
// palette of 8 backgrounds × 16 foregrounds, written to the terminal's CORES record.
//
// The editor sets both the colour number and its pair ("GR+/B"); window writes leave the
// pairs alone, so the choice lasts until the editor changes it again, and the next start
// loads it from CORES.
#pragma once

#include "shell/app.h"

namespace kardo::shell {

// Item 1 … 7: text, window frames, chosen item, data entry, messages, help, background.
void MODCOR(App& app, int item);

// The colour number an item edits, and setting it (with its pair) on the colours.
int colour_of_item(const ui::Colours& c, int item);
void set_colour_of_item(ui::Colours& c, int item, int number);

// Writes the colours into the terminal's CORES record (and the session's copy).
base::Status store_cores(store::Session& s, const ui::Colours& c);

}  // namespace kardo::shell
