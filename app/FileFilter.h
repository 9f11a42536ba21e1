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

// The extension of the filter's type `index` (counted from 0), from its first pattern: "gpx" for
// type 1 of "...|*.mps|GPX 1.1 Files (*.gpx)|*.gpx||"; empty when the type has no plain one.
std::string FilterExtension(std::string_view filter, std::size_t index);

}  // namespace pelagor::app
