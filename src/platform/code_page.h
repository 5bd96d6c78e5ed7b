// The Windows code pages of the simulator's 8-bit text files.
//
// Scenery.cfg and the sibling programs' configuration files are written in
// the code page of the Windows machine they come from, while Wine names
// folders on disk in UTF-8. These routines convert between the two for the
// Central European, Cyrillic and Western code pages.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarnvale::platform {

enum class CodePage { Windows1250, Windows1251, Windows1252 };
inline constexpr CodePage kCodePages[] = {CodePage::Windows1250, CodePage::Windows1251,
                                          CodePage::Windows1252};

// The code page named by `text`: "1252", "cp1252" or "windows-1252" (and
// likewise for 1250 and 1251), letter case ignored. Empty for anything else.
std::optional<CodePage> CodePageNamed(std::string_view text);

// The number a code page is known by: "1250", "1251" or "1252".
std::string_view CodePageNumber(CodePage code_page);

// The code page the files of this run are read in. Windows-1252 (on Windows,
// the system's ANSI code page when it is one of the three) unless the
// environment variable TARNVALE_CODEPAGE names another (read once, on first
// use; a value that names none is ignored) or SetActiveCodePage chose one.
// Set it at start-up, before any worker thread reads it.
CodePage ActiveCodePage();
void SetActiveCodePage(CodePage code_page);
// How ActiveCodePage() chooses when not told, in words for a help text.
extern const std::string_view kDefaultCodePageWords;

// 8-bit text in `code_page` as UTF-8. ASCII is kept as it is; a byte the code
// page leaves undefined becomes U+FFFD.
std::string DecodeCodePage(std::string_view bytes, CodePage code_page);

// UTF-8 text as 8-bit text in `code_page`. Empty when the text is not valid
// UTF-8 or holds a character the code page has no byte for.
std::optional<std::string> EncodeCodePage(std::string_view utf8, CodePage code_page);

// True when `text` is valid UTF-8 (pure ASCII is).
bool IsValidUtf8(std::string_view text);

// A text read from the simulator's files, for showing: kept as it is when it
// is valid UTF-8, otherwise decoded from ActiveCodePage().
std::string DisplayText(std::string_view text);

}  // namespace tarnvale::platform
