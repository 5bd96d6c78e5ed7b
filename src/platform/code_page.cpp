// The high halves of the Central European, Cyrillic and Western code pages, and text turned between
// them and UTF-8.

#include "platform/code_page.h"

#include <array>
#include <atomic>
#include <cstdlib>

#include "platform/ascii_text.h"
#ifdef _WIN32
#include "platform/windows_system.h"
#endif

namespace tarnvale::platform {
namespace {

constexpr char16_t kUndefined = u'\uFFFD';
constexpr char16_t X = kUndefined;  // a byte the code page leaves undefined

using HighHalf = std::array<char16_t, 128>;  // the characters of bytes 0x80-0xFF

// Central European.
constexpr HighHalf kWindows1250 = {
    0x20AC, X,      0x201A, X,      0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    X,      0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 0x88
    X,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    X,      0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 0x98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // 0xA0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // 0xA8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // 0xB8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // 0xC0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // 0xC8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // 0xD0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // 0xD8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // 0xE0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // 0xE8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // 0xF0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // 0xF8
};

// Cyrillic.
constexpr HighHalf kWindows1251 = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 0x88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    X,      0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 0x98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // 0xA0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // 0xA8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // 0xB8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // 0xC0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // 0xC8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // 0xD0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // 0xD8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // 0xE0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // 0xE8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // 0xF0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // 0xF8
};

// Western.
constexpr HighHalf kWindows1252 = {
    0x20AC, X,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, X,      0x017D, X,       // 0x88
    X,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, X,      0x017E, 0x0178,  // 0x98
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,  // 0xA0
    0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,  // 0xA8
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,  // 0xB8
    0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7,  // 0xC0
    0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF,  // 0xC8
    0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7,  // 0xD0
    0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF,  // 0xD8
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,  // 0xE0
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF,  // 0xE8
    0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7,  // 0xF0
    0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,  // 0xF8
};

const HighHalf& Table(CodePage code_page) {
  switch (code_page) {
    case CodePage::Windows1250:
      return kWindows1250;
    case CodePage::Windows1251:
      return kWindows1251;
    case CodePage::Windows1252:
      break;
  }
  return kWindows1252;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {  // the tables hold only characters below U+10000
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The character that starts at `text[at]`, `at` moved past it; empty (and
// `at` left as is) when the bytes there are no well-formed UTF-8: a stray or
// missing continuation byte, an overlong form, a surrogate or a value beyond
// U+10FFFF.
std::optional<char32_t> NextUtf8(std::string_view text, std::size_t& at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) return text[at++];
  if (lead < 0xC0 || lead >= 0xF8) return std::nullopt;  // a continuation or no lead byte
  // The sequence length, the payload bits of the lead byte, the least value
  // that needs this length.
  std::size_t length = 4;
  char32_t c = lead & 0x07;
  char32_t least = 0x10000;
  if (lead < 0xE0) {
    length = 2;
    c = lead & 0x1F;
    least = 0x80;
  } else if (lead < 0xF0) {
    length = 3;
    c = lead & 0x0F;
    least = 0x800;
  }
  if (text.size() - at < length) return std::nullopt;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (byte(at + i) & 0x3F);
  }
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
  at += length;
  return c;
}

// The byte of `c` in `table`'s code page, if it has one.
std::optional<char> ByteOf(char32_t c, const HighHalf& table) {
  if (c < 0x80) return static_cast<char>(c);
  if (c == kUndefined) return std::nullopt;
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (table[i] == c) return static_cast<char>(0x80 + i);
  }
  return std::nullopt;
}

#ifdef _WIN32
// On Windows the simulator's files are in the system's ANSI code page.
CodePage CodePageFromEnvironment() {
  const char* value = std::getenv("TARNVALE_CODEPAGE");
  const std::optional<CodePage> named = value ? CodePageNamed(value) : std::nullopt;
  return named.value_or(CodePageNamed(std::to_string(::GetACP())).value_or(CodePage::Windows1252));
}
#else
CodePage CodePageFromEnvironment() {
  const char* value = std::getenv("TARNVALE_CODEPAGE");
  return value ? CodePageNamed(value).value_or(CodePage::Windows1252) : CodePage::Windows1252;
}
#endif

std::atomic<CodePage>& Active() {
  static std::atomic<CodePage> active{CodePageFromEnvironment()};
  return active;
}

}  // namespace

#ifdef _WIN32
const std::string_view kDefaultCodePageWords =
    "%TARNVALE_CODEPAGE%, else the system's ANSI code page when it is one of these, else 1252";
#else
const std::string_view kDefaultCodePageWords = "$TARNVALE_CODEPAGE, else 1252";
#endif

std::string_view CodePageNumber(CodePage code_page) {
  switch (code_page) {
    case CodePage::Windows1250:
      return "1250";
    case CodePage::Windows1251:
      return "1251";
    case CodePage::Windows1252:
      break;
  }
  return "1252";
}

std::optional<CodePage> CodePageNamed(std::string_view text) {
  const std::string name = ToAsciiLower(text);
  std::string_view number = name;
  for (const std::string_view prefix : {"windows-", "cp"}) {
    if (number.starts_with(prefix)) {
      number.remove_prefix(prefix.size());
      break;
    }
  }
  for (const CodePage code_page : kCodePages) {
    if (number == CodePageNumber(code_page)) return code_page;
  }
  return std::nullopt;
}

CodePage ActiveCodePage() { return Active().load(std::memory_order_relaxed); }

void SetActiveCodePage(CodePage code_page) { Active().store(code_page, std::memory_order_relaxed); }

std::string DecodeCodePage(std::string_view bytes, CodePage code_page) {
  const HighHalf& table = Table(code_page);
  std::string out;
  out.reserve(bytes.size());
  for (const char b : bytes) {
    const auto byte = static_cast<unsigned char>(b);
    AppendUtf8(out, byte < 0x80 ? char32_t{byte} : char32_t{table[byte - 0x80]});
  }
  return out;
}

std::optional<std::string> EncodeCodePage(std::string_view utf8, CodePage code_page) {
  const HighHalf& table = Table(code_page);
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const std::optional<char32_t> c = NextUtf8(utf8, at);
    if (!c) return std::nullopt;
    const std::optional<char> byte = ByteOf(*c, table);
    if (!byte) return std::nullopt;
    out += *byte;
  }
  return out;
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    if (!NextUtf8(text, at)) return false;
  }
  return true;
}

std::string DisplayText(std::string_view text) {
  return IsValidUtf8(text) ? std::string(text) : DecodeCodePage(text, ActiveCodePage());
}

}  // namespace tarnvale::platform
