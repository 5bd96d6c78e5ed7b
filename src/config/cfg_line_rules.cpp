// The line rules of both configuration files: line ends, keys and values, decimals read as the C
// library reads them, flags and scenery folders.

#include "config/cfg_line_rules.h"

#include <algorithm>
#include <limits>

#include "platform/ascii_text.h"
#include "platform/paths.h"

namespace tarnvale {
namespace {

bool IsSlash(char c) { return c == '\\' || c == '/'; }

bool IsLeadingBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The sign and magnitude of a decimal text read the way the C library reads
// one: blanks, a sign, then digits. The magnitude saturates just above the
// unsigned 32-bit range so both readers can tell an overflow.
struct DecimalText {
  bool negative = false;
  std::uint64_t magnitude = 0;
};

constexpr std::uint64_t kOverflow = std::uint64_t{1} << 32;

DecimalText ScanDecimal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsLeadingBlank(text[i])) ++i;
  DecimalText result;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) result.negative = text[i++] == '-';
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    result.magnitude =
        std::min(result.magnitude * 10 + static_cast<std::uint64_t>(text[i] - '0'), kOverflow);
  }
  return result;
}

}  // namespace

std::string LineCutter::EndLine() {
  std::string line;
  line.swap(line_);
  started_ = false;
  platform::TrimBlanks(line);
  return line;
}

bool StartsWithKey(std::string_view name, std::string_view line) {
  return platform::StartsWithIgnoreCase(line, name);
}

std::string GetKeyValue(std::string_view name, std::string_view line) {
  if (!StartsWithKey(name, line) || line.size() <= name.size()) return {};
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return {};
  const std::size_t begin = equals + 1;
  const std::size_t end = std::min(line.find("//"), line.size());
  if (end < begin) return {};
  return std::string(platform::TrimmedBlanks(line.substr(begin, end - begin)));
}

void StripOuterSlash(std::string& text) {
  if (text.empty()) return;
  if (IsSlash(text.front())) text.front() = ' ';
  if (IsSlash(text.back())) text.back() = ' ';
  platform::TrimBlanks(text);
}

void StripFolderSlashes(std::string& text) {
  if (text.empty() || text.front() != '/') return StripOuterSlash(text);
  if (text.size() > 1 && IsSlash(text.back())) text.pop_back();
  platform::TrimBlanks(text);
}

std::filesystem::path ResolveSceneryFolder(std::string_view local,
                                           const std::filesystem::path& simulator_folder) {
  if (local.empty() || SceneryFolderTooLong(local, simulator_folder)) return {};
  return platform::ExistingFolder(std::string(local) + "\\Scenery", simulator_folder);
}

std::optional<OtherCodePageFolder> SceneryFolderInOtherCodePage(
    std::string_view local, const std::filesystem::path& simulator_folder) {
  const bool eight_bit = std::any_of(local.begin(), local.end(),
                                     [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  if (!eight_bit || !ResolveSceneryFolder(local, simulator_folder).empty()) return std::nullopt;
  for (const platform::CodePage code_page : platform::kCodePages) {
    if (code_page == platform::ActiveCodePage()) continue;
    const std::string text = platform::DecodeCodePage(local, code_page);
    const std::filesystem::path found = ResolveSceneryFolder(text, simulator_folder);
    if (!found.empty()) {
      return OtherCodePageFolder{code_page, platform::Utf8Of(found.parent_path().filename())};
    }
  }
  return std::nullopt;
}

bool SceneryFolderTooLong(std::string_view local, const std::filesystem::path& simulator_folder) {
  if (local.empty()) return false;
  const std::size_t folder = local.size() + std::string_view("\\Scenery").size();
  const bool absolute = platform::HasDriveLetter(local) || IsSlash(local.front());
  const std::size_t length = absolute ? folder : simulator_folder.native().size() + 1 + folder;
  return length > kMaxFolderLength;
}

std::int32_t ParseDecimal(std::string_view text) {
  const DecimalText decimal = ScanDecimal(text);
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  const std::int64_t limit = decimal.negative ? kMax + 1 : kMax;
  const std::int64_t magnitude = std::min(static_cast<std::int64_t>(decimal.magnitude), limit);
  return static_cast<std::int32_t>(decimal.negative ? -magnitude : magnitude);
}

std::uint32_t ParseUnsignedDecimal(std::string_view text) {
  const DecimalText decimal = ScanDecimal(text);
  if (decimal.magnitude >= kOverflow) return std::numeric_limits<std::uint32_t>::max();
  const auto magnitude = static_cast<std::uint32_t>(decimal.magnitude);
  return decimal.negative ? 0u - magnitude : magnitude;
}

std::uint8_t ParseFlag(std::string_view value, std::uint8_t current) {
  if (platform::EqualsIgnoreCase(value, "TRUE")) return 1;
  if (platform::EqualsIgnoreCase(value, "FALSE")) return 0;
  return current;
}

}  // namespace tarnvale
