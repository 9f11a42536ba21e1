#pragma once

// File dialog filters: the converter writes them as "description|patterns|...|" pairs, with
// the patterns separated by ';'. Qt reads the patterns from the description's parentheses,
// separated by blanks, so each pair becomes one "description (pattern pattern)" entry.

#include <string>
#include <string_view>
#include <vector>

namespace pelagor::app {

// "Garmin WTR/EVO Files (*.wtr;*.evo)|*.wtr;*.evo||" gives
// "Garmin WTR/EVO Files (*.wtr *.evo *.WTR *.EVO)". A pattern with lower-case letters also
// comes in upper case, because GPS receivers name their files in upper case and a Linux file
// system tells the two apart where Windows does not.
std::vector<std::string> NameFilters(std::string_view filter);

}  // namespace pelagor::app
