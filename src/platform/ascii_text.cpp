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

namespace {
constexpr std::string_view kBlanks = " \t";
}  // namespace

bool IsBlanksOnly(std::string_view text) {
  return text.find_first_not_of(kBlanks) == std::string_view::npos;
}

std::string_view TrimmedBlanks(std::string_view text) {
  if (IsBlanksOnly(text)) return text;
  const std::size_t first = text.find_first_not_of(kBlanks);
  const std::size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

void TrimBlanks(std::string& text) {
  const std::string_view trimmed = TrimmedBlanks(text);
  if (trimmed.size() == text.size()) return;
  text = std::string(trimmed);
}

}  // namespace tarnvale::platform
