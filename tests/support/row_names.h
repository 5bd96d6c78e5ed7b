// Names for the rows of parameterised tests, so that a test's name says
// which row it ran and stays the same from run to run.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarnvale::testing {

// "<index>_<the letters and digits of text>", each run of other characters
// written as one underscore: "3_a_b_bgl" for row 3 and "a.b.bgl"; "3_none"
// for a text without any.
inline std::string RowName(std::size_t index, std::string_view text) {
  std::string name = std::to_string(index);
  bool gap = true;
  for (const char c : text) {
    const bool letter_or_digit =
        (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (letter_or_digit) {
      if (gap) name += '_';
      name += c;
    }
    gap = !letter_or_digit;
  }
  if (name.find('_') == std::string::npos) name += "_none";
  return name;
}

}  // namespace tarnvale::testing
