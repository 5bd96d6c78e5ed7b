// Line rules shared by the readers of Program_Config.cfg and Scenery.cfg.
//
// Both files are 8-bit INI-style texts written on Windows. A line ends at CR,
// LF or FF; section and key names match as case-insensitive prefixes of the
// line; a value ends before a "//" comment. The 254-character line limit and
// the prefix matching are kept as the sibling programs have always read these
// files, so that a file means the same to them and to us.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/code_page.h"

namespace tarnvale {

// Longest line kept; the rest of a longer line is consumed and dropped.
inline constexpr std::size_t kMaxLineLength = 254;
// Longest folder text a scenery area may name (a Windows MAX_PATH buffer).
inline constexpr std::size_t kMaxFolderLength = 259;

// Cuts a text handed over piece by piece into lines, so that a file is read
// in bounded memory whatever its size and the length of its lines. A line
// ends at CR, LF or FF, a CR LF pair ending one line (also across pieces);
// NUL bytes add nothing to it; it keeps at most kMaxLineLength characters,
// the rest being consumed and dropped; each line is trimmed with TrimBlanks.
// The last line is a line too when the text does not end with a line end.
class LineCutter {
 public:
  // Cuts `piece`, the text that follows the pieces before it, calling
  // `take(line)` for every line it ends.
  template <typename Take>
  void Cut(std::string_view piece, Take&& take) {
    for (const char c : piece) {
      if (after_cr_) {
        after_cr_ = false;
        if (c == '\n') continue;
      }
      if (c == '\r' || c == '\n' || c == '\f') {
        after_cr_ = c == '\r';
        take(EndLine());
      } else {
        started_ = true;
        if (c != '\0' && line_.size() < kMaxLineLength) line_.push_back(c);
      }
    }
  }

  // Ends the text: takes its last line when no line end closed it.
  template <typename Take>
  void Finish(Take&& take) {
    if (started_) take(EndLine());
    after_cr_ = false;
  }

 private:
  std::string EndLine();

  std::string line_;
  bool started_ = false;   // characters were cut since the last line end
  bool after_cr_ = false;  // the last character was a CR
};

// True when `line` begins with `name`, ASCII letter case ignored. A pure
// prefix test: "Title" matches 'Titles=x'.
bool StartsWithKey(std::string_view name, std::string_view line);

// The value of key `name` on `line`: the text after the line's first "=", up
// to a "//" comment, trimmed. Empty when the line does not start with the
// key, is not longer than it, has no "=", or has its "//" before the value.
std::string GetKeyValue(std::string_view name, std::string_view line);

// Blanks one leading and one trailing `\` or `/`, then trims (in place).
void StripOuterSlash(std::string& text);

// StripOuterSlash for a text that names a folder: a leading `/` is kept,
// since on this system it is the root of an absolute path.
void StripFolderSlashes(std::string& text);

// The folder of an area's BGL files: the "Scenery" sub-folder of the folder
// that `local` names (already passed through StripFolderSlashes), taken
// against `simulator_folder` when relative. Empty when `local` is empty, when
// that folder does not exist, or when its text (the simulator folder, "\"
// and `local` for a relative one) would not fit in kMaxFolderLength
// characters.
std::filesystem::path ResolveSceneryFolder(std::string_view local,
                                           const std::filesystem::path& simulator_folder);

// An area folder missing as `local` names it in the active code page but
// found when its text is read in another supported code page: that code
// page, and the name of the folder found (its last component, in UTF-8).
struct OtherCodePageFolder {
  platform::CodePage code_page;
  std::string name;
};
std::optional<OtherCodePageFolder> SceneryFolderInOtherCodePage(
    std::string_view local, const std::filesystem::path& simulator_folder);

// True when the folder text of ResolveSceneryFolder would not fit in
// kMaxFolderLength characters, so that the area's folder is dropped.
bool SceneryFolderTooLong(std::string_view local, const std::filesystem::path& simulator_folder);

// `text` read as a decimal number: optional blanks, an optional sign, then
// digits up to the first non-digit; no digits give 0. Values beyond the
// 32-bit range saturate at its ends.
std::int32_t ParseDecimal(std::string_view text);

// `text` read as an unsigned 32-bit decimal number; a leading minus negates
// modulo 2^32 and values beyond the range saturate at 4294967295.
std::uint32_t ParseUnsignedDecimal(std::string_view text);

// For "TRUE"/"FALSE" in any case: 1 or 0. Any other value: `current`.
std::uint8_t ParseFlag(std::string_view value, std::uint8_t current);

}  // namespace tarnvale
