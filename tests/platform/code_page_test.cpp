// Tests of the Windows code pages: anchor bytes, every defined byte round-tripped, refused texts,
// code page names, and display texts.

#include "platform/code_page.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tarnvale::platform {
namespace {

// Chooses a code page for one test, then puts back the one before.
class ActiveCodePageFor {
 public:
  explicit ActiveCodePageFor(CodePage code_page) : saved_(ActiveCodePage()) {
    SetActiveCodePage(code_page);
  }
  ~ActiveCodePageFor() { SetActiveCodePage(saved_); }

 private:
  CodePage saved_;
};

struct Anchor {
  const char* name;
  CodePage code_page;
  unsigned char byte;
  const char* utf8;  // empty: the byte is undefined
};

class CodePageAnchorTest : public ::testing::TestWithParam<Anchor> {};

TEST_P(CodePageAnchorTest, ByteAndCharacterCorrespond) {
  const Anchor& a = GetParam();
  const std::string byte(1, static_cast<char>(a.byte));
  const std::string utf8 = *a.utf8 ? a.utf8 : "\uFFFD";
  EXPECT_EQ(DecodeCodePage(byte, a.code_page), utf8);
  EXPECT_EQ(EncodeCodePage(utf8, a.code_page), *a.utf8 ? std::optional(byte) : std::nullopt);
}

constexpr CodePage k1250 = CodePage::Windows1250;
constexpr CodePage k1251 = CodePage::Windows1251;
constexpr CodePage k1252 = CodePage::Windows1252;

INSTANTIATE_TEST_SUITE_P(
    Table, CodePageAnchorTest,
    ::testing::Values(
        Anchor{"W1252_80_Euro", k1252, 0x80, "\u20AC"}, Anchor{"W1252_8A", k1252, 0x8A, "\u0160"},
        Anchor{"W1252_9F", k1252, 0x9F, "\u0178"}, Anchor{"W1252_FC", k1252, 0xFC, "\u00FC"},
        Anchor{"W1252_81", k1252, 0x81, ""}, Anchor{"W1252_8D", k1252, 0x8D, ""},
        Anchor{"W1252_8F", k1252, 0x8F, ""}, Anchor{"W1252_90", k1252, 0x90, ""},
        Anchor{"W1252_9D", k1252, 0x9D, ""}, Anchor{"W1250_8A", k1250, 0x8A, "\u0160"},
        Anchor{"W1250_9A", k1250, 0x9A, "\u0161"}, Anchor{"W1250_C8", k1250, 0xC8, "\u010C"},
        Anchor{"W1250_E8", k1250, 0xE8, "\u010D"}, Anchor{"W1250_F8", k1250, 0xF8, "\u0159"},
        Anchor{"W1250_81", k1250, 0x81, ""}, Anchor{"W1251_C0", k1251, 0xC0, "\u0410"},
        Anchor{"W1251_FF", k1251, 0xFF, "\u044F"}, Anchor{"W1251_A8", k1251, 0xA8, "\u0401"},
        Anchor{"W1251_B8", k1251, 0xB8, "\u0451"}, Anchor{"W1251_88_Euro", k1251, 0x88, "\u20AC"},
        Anchor{"W1251_98", k1251, 0x98, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// Every defined byte comes back from its character; ASCII passes unchanged.
TEST(CodePage, EveryDefinedByteRoundTrips) {
  for (const auto& [code_page, undefined] : {std::pair{k1250, 5}, {k1251, 1}, {k1252, 5}}) {
    int undefined_seen = 0;
    for (int i = 0; i < 256; ++i) {
      const std::string byte(1, static_cast<char>(i));
      const std::string utf8 = DecodeCodePage(byte, code_page);
      EXPECT_EQ(utf8 == byte, i < 0x80) << i;
      if (utf8 == "\uFFFD") {
        ++undefined_seen;
        continue;
      }
      EXPECT_EQ(EncodeCodePage(utf8, code_page), byte) << static_cast<int>(code_page) << ' ' << i;
    }
    EXPECT_EQ(undefined_seen, undefined) << static_cast<int>(code_page);
  }
}

TEST(CodePage, WholeTexts) {
  EXPECT_EQ(DecodeCodePage("Addon Scenery\\Z\xFCrich", k1252), "Addon Scenery\\Zürich");
  EXPECT_EQ(DecodeCodePage("\310esko", k1250), "Česko");  // \310: byte 0xC8
  EXPECT_EQ(DecodeCodePage("\xCC\xEE\xF1\xEA\xE2\xE0", k1251), "Москва");
  EXPECT_EQ(EncodeCodePage("Москва", k1251), "\xCC\xEE\xF1\xEA\xE2\xE0");
  EXPECT_EQ(EncodeCodePage("", k1252), "");
}

TEST(CodePage, EncodeRefusesInvalidUtf8AndMissingCharacters) {
  for (const char* text : {
           "Z\xFCrich",         // 8-bit text, not UTF-8
           "\xC3",              // cut short
           "\xC3(",             // no continuation byte
           "\x80",              // a stray continuation byte
           "\xC1\xBC",          // overlong
           "\xED\xA0\x80",      // a surrogate
           "\xF4\x90\x80\x80",  // beyond U+10FFFF
       }) {
    EXPECT_FALSE(IsValidUtf8(text)) << text;
    EXPECT_EQ(EncodeCodePage(text, k1252), std::nullopt) << text;
  }
  EXPECT_EQ(EncodeCodePage("Česko", k1252), std::nullopt);
  EXPECT_EQ(EncodeCodePage("Zürich", k1251), std::nullopt);
  EXPECT_EQ(EncodeCodePage("Москва", k1250), std::nullopt);
  EXPECT_EQ(EncodeCodePage("\uFFFD", k1252), std::nullopt);
  EXPECT_EQ(EncodeCodePage("\U0001F6E9", k1252), std::nullopt);
}

TEST(CodePage, Names) {
  EXPECT_EQ(CodePageNamed("1250"), k1250);
  EXPECT_EQ(CodePageNamed("cp1251"), k1251);
  EXPECT_EQ(CodePageNamed("CP1252"), k1252);
  EXPECT_EQ(CodePageNamed("Windows-1250"), k1250);
  EXPECT_EQ(CodePageNamed("WINDOWS-1251"), k1251);
  for (const char* text : {"", "1253", "cp", "utf-8", "cp 1252", "windows1252", "1252 "}) {
    EXPECT_EQ(CodePageNamed(text), std::nullopt) << '"' << text << '"';
  }
}

TEST(CodePage, DisplayTextDecodesOnlyWhatIsNotUtf8) {
  const ActiveCodePageFor cyrillic(k1251);
  EXPECT_EQ(ActiveCodePage(), k1251);
  EXPECT_EQ(DisplayText("Scenery\\World"), "Scenery\\World");
  EXPECT_EQ(DisplayText("Zürich"), "Zürich");
  EXPECT_EQ(DisplayText("\xCC\xEE\xF1\xEA\xE2\xE0"), "Москва");
  EXPECT_EQ(DisplayText("\x98"), "\uFFFD");
}

}  // namespace
}  // namespace tarnvale::platform
