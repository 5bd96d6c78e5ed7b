// Text helpers for 8-bit configuration and scenery texts.
//
// Letter case is folded for ASCII letters only: bytes above 127 belong to
// whatever code page the file was written in and are compared as they are.
#pragma once

#include <string>
#include <string_view>

namespace tarnvale::platform {

char AsciiUpper(char c);
char AsciiLower(char c);
std::string ToAsciiUpper(std::string_view text);
std::string ToAsciiLower(std::string_view text);

// True when the texts are equal once ASCII letters are folded.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// True when `text` begins with `prefix`, ASCII letter case ignored.
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);

// The order of names in folder searches: by ASCII upper-cased name, then by
// the raw name, so that names differing only in case still have one order.
bool NameOrderLess(std::string_view a, std::string_view b);

// A blank (32) or a tab (9). Tested inline, as the scenery decoders trim
// every ident and name they read.
inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// `text` without its leading and trailing blanks and tabs. A text
// made of blanks and tabs only is returned whole: the scenery and the
// configuration files rely on a blanks-only name staying as it is.
std::string_view TrimmedBlanks(std::string_view text);
// True for an empty text and one made only of blanks and tabs.
bool IsBlanksOnly(std::string_view text);

// TrimmedBlanks in place.
void TrimBlanks(std::string& text);

}  // namespace tarnvale::platform
