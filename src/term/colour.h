// Colour bytes and colour pairs.
//
// A colour byte is 16 × background + foreground, each 0 … 15 in the PC text order:
// 0 black, 1 blue, 2 green, 3 cyan, 4 red, 5 magenta, 6 brown, 7 light grey, and 8 … 15
// their bright forms. Settings and screens also write colours as pairs, "foreground/
// background" in letters: N 0, B 1, G 2, BG 3, R 4, BR 5, GR 6, W 7, a "+" after a letter
// for the bright form (8 … 15). So 30 is "GR+/B", 112 "N/W", 79 "W+/R", 7 "W/N".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kardo::term {

// The pair of a colour byte ("GR+/B" for 30).
std::string colour_pair(int colour);

// The colour byte of a pair. Letters in either case and in either order ("GB" = "BG",
// "RB" = "BR"); a "*" after the background (blinking, shown as a bright background) counts
// as "+"; a list of pairs ("W/N,N/W") gives its first pair; an empty foreground or background
// is 0. Anything else is nullopt.
std::optional<int> colour_number(std::string_view pair);

}  // namespace kardo::term
