// Tests of the ASCII text helpers: letter case folded for ASCII letters only, and blanks trimmed.

#include "platform/ascii_text.h"

#include <gtest/gtest.h>

#include <string>

namespace tarnvale::platform {
namespace {

TEST(AsciiText, FoldsAsciiLettersOnly) {
  EXPECT_EQ(ToAsciiUpper("Scenery.cfg \xe9"), "SCENERY.CFG \xe9");
  EXPECT_EQ(ToAsciiLower("[AREA.001]"), "[area.001]");
  EXPECT_TRUE(EqualsIgnoreCase("Fs9.Exe", "FS9.EXE"));
  EXPECT_FALSE(EqualsIgnoreCase("fs9.exe", "fs9.ex"));
  EXPECT_FALSE(EqualsIgnoreCase("\xe9", "\xc9"));
  EXPECT_TRUE(StartsWithIgnoreCase("[AREA.001]", "[Area."));
  EXPECT_FALSE(StartsWithIgnoreCase("[Area", "[Area."));
}

TEST(AsciiText, TrimBlanksKeepsBlanksOnlyTexts) {
  for (const auto& [text, trimmed] : {std::pair<std::string, std::string>{" \tx y\t ", "x y"},
                                      {"x", "x"},
                                      {"", ""},
                                      {" \t ", " \t "},
                                      {"\nx\n", "\nx\n"}}) {
    std::string in_place = text;
    TrimBlanks(in_place);
    EXPECT_EQ(in_place, trimmed) << '"' << text << '"';
    EXPECT_EQ(TrimmedBlanks(text), trimmed);
  }
}

}  // namespace
}  // namespace tarnvale::platform
