// ASCII-only letter case, comparisons that ignore it, the order of file names, and trimming of
// blanks.

#include "platform/ascii_text.h"

#include <algorithm>

namespace tarnvale::platform {

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string ToAsciiUpper(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(), AsciiUpper);
  return result;
}

std::string ToAsciiLower(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(), AsciiLower);
  return result;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && StartsWithIgnoreCase(a, b);
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
  if (prefix.size() > text.size()) return false;
  return std::equal(prefix.begin(), prefix.end(), text.begin(),
                    [](char p, char t) { return AsciiLower(p) == AsciiLower(t); });
}

bool NameOrderLess(std::string_view a, std::string_view b) {
  const auto upper_less = [](char x, char y) {
    return static_cast<unsigned char>(AsciiUpper(x)) < static_cast<unsigned char>(AsciiUpper(y));
  };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), upper_less)) return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), upper_less))
    return false;
  return a < b;
}

bool IsBlanksOnly(std::string_view text) { return std::all_of(text.begin(), text.end(), IsBlank); }

std::string_view TrimmedBlanks(std::string_view text) {
  const auto first = std::find_if_not(text.begin(), text.end(), IsBlank);
  if (first == text.end()) return text;  // blanks only: left as it is
  const auto last = std::find_if_not(text.rbegin(), text.rend(), IsBlank).base();
  return text.substr(static_cast<std::size_t>(first - text.begin()),
                     static_cast<std::size_t>(last - first));
}

void TrimBlanks(std::string& text) {
  const std::string_view trimmed = TrimmedBlanks(text);
  if (trimmed.size() == text.size()) return;
  text = std::string(trimmed);
}

}  // namespace tarnvale::platform
