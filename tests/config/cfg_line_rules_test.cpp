// Tests of the configuration line rules: lines cut at any piece boundary, keys and values, slashes,
// decimals, flags, and scenery folders.

#include "config/cfg_line_rules.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "support/row_names.h"
#include "support/temp_dir.h"

namespace tarnvale {
namespace {

namespace fs = std::filesystem;

// The lines of `text` handed over in pieces of `piece` characters.
std::vector<std::string> AllLines(std::string_view text, std::size_t piece) {
  std::vector<std::string> lines;
  const auto take = [&lines](std::string line) { lines.push_back(std::move(line)); };
  LineCutter cutter;
  for (std::size_t at = 0; at < text.size(); at += piece) cutter.Cut(text.substr(at, piece), take);
  cutter.Finish(take);
  return lines;
}

struct LinesCase {
  const char* name;
  std::string text;
  std::vector<std::string> lines;
};

class ReadLineTest : public ::testing::TestWithParam<LinesCase> {};

// A line end split between two pieces (CR | LF) is still one line end.
TEST_P(ReadLineTest, CutsTheTextIntoTrimmedLines) {
  for (const std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{4096}}) {
    EXPECT_EQ(AllLines(GetParam().text, piece), GetParam().lines) << piece;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReadLineTest,
    ::testing::Values(
        LinesCase{"CrLf", "a\r\nb\r\n", {"a", "b"}}, LinesCase{"CrOnly", "a\rb\r", {"a", "b"}},
        LinesCase{"LfOnly", "a\nb\n", {"a", "b"}}, LinesCase{"FormFeed", "a\fb", {"a", "b"}},
        LinesCase{"LfCrGivesAnEmptyLine", "a\n\rb", {"a", "", "b"}},
        LinesCase{"NoEndOnTheLastLine", "a\n  last \t", {"a", "last"}},
        LinesCase{"BlanksAndTabsTrimmed", " \t[Area.001] \t\r\n", {"[Area.001]"}},
        LinesCase{"BlanksOnlyLineKept", "   \n", {"   "}},
        LinesCase{"ConsecutiveEnds", "\n\n", {"", ""}},
        LinesCase{"NulAddsNothing", std::string("Ti\0tle=x", 8), {"Title=x"}},
        LinesCase{
            "LongLineKeeps254", std::string(300, 'x') + "\nnext", {std::string(254, 'x'), "next"}},
        LinesCase{"CrOfTheLastByte", "a\r", {"a"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StartsWithKey, CaseInsensitivePrefix) {
  EXPECT_TRUE(StartsWithKey("[Area.", "[AREA.001]"));
  EXPECT_TRUE(StartsWithKey("Title", "Titles=x"));
  EXPECT_TRUE(StartsWithKey("Program_Id", "program_idX=2"));
  EXPECT_FALSE(StartsWithKey("[Area.", "[Area"));
  EXPECT_FALSE(StartsWithKey("Title", " Title=x"));
}

struct ValueCase {
  const char* key;
  const char* line;
  const char* value;
};

class GetKeyValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(GetKeyValueTest, Table) {
  EXPECT_EQ(GetKeyValue(GetParam().key, GetParam().line), GetParam().value) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Table, GetKeyValueTest,
    ::testing::Values(ValueCase{"Title", "Title=My Area // comment", "My Area"},
                      ValueCase{"Title", "Title=A//B", "A"},  // only the comment goes
                      ValueCase{"Title", "TITLE= a b ", "a b"}, ValueCase{"Title", "Titles=x", "x"},
                      ValueCase{"FS_Version",
                                "FS_Version=9         // Please don't change this number.", "9"},
                      ValueCase{"Title", "Title", ""},             // not longer than the key
                      ValueCase{"Title", "Title x", ""},           // no "="
                      ValueCase{"Title", "Title//x=y", ""},        // comment before the value
                      ValueCase{"Title", "Title=//x", ""},         // comment right after "="
                      ValueCase{"Title", "Title=a=b", "a=b"},      // the first "=" counts
                      ValueCase{"Title", "Title=   // x", "   "},  // blanks only stay
                      ValueCase{"Local", "Title=x", ""}),
    [](const auto& info) { return testing::RowName(info.index, info.param.line); });

TEST(StripSlashes, OneAtEachEnd) {
  for (const auto& [text, outer, folder] :
       std::vector<std::tuple<std::string, std::string, std::string>>{
           {"\\Scenery\\World\\", "Scenery\\World", "Scenery\\World"},
           {"\\\\server\\share", "\\server\\share", "\\server\\share"},
           {"C:\\FS9\\", "C:\\FS9", "C:\\FS9"},
           {"/home/me/FS9/", "home/me/FS9", "/home/me/FS9"},
           {"/", " ", "/"},
           {"\\", " ", " "},
           {"\\ x /", "x", "x"},
           {"", "", ""}}) {
    std::string stripped = text;
    StripOuterSlash(stripped);
    EXPECT_EQ(stripped, outer) << text;
    stripped = text;
    StripFolderSlashes(stripped);
    EXPECT_EQ(stripped, folder) << text;
  }
}

TEST(ParseNumbers, DecimalTexts) {
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  for (const auto& [text, value] :
       std::vector<std::pair<std::string, std::int32_t>>{{"300", 300},
                                                         {"-3", -3},
                                                         {"abc", 0},
                                                         {"", 0},
                                                         {"+7x", 7},
                                                         {" 12", 12},
                                                         {"- 3", 0},
                                                         {"2147483647", kMax},
                                                         {"99999999999", kMax},
                                                         {"-2147483648", kMin},
                                                         {"-99999999999", kMin}}) {
    EXPECT_EQ(ParseDecimal(text), value) << text;
  }
  for (const auto& [text, value] :
       std::vector<std::pair<std::string, std::uint32_t>>{{"4294967295", 4294967295u},
                                                          {"4294967296", 4294967295u},
                                                          {"-1", 4294967295u},
                                                          {"16777215", 16777215u},
                                                          {"x", 0u}}) {
    EXPECT_EQ(ParseUnsignedDecimal(text), value) << text;
  }
}

TEST(ParseFlag, TrueAndFalseInAnyCase) {
  EXPECT_EQ(ParseFlag("true", 0), 1);
  EXPECT_EQ(ParseFlag("FaLsE", 1), 0);
  EXPECT_EQ(ParseFlag("1", 0), 0);
  EXPECT_EQ(ParseFlag("yes", 1), 1);
  EXPECT_EQ(ParseFlag("TRUE ", 0), 0);
}

class ResolveSceneryFolderTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(simulator() / "Scenery/World/scenery"); }
  fs::path simulator() const { return dir / "FS9"; }
  testing::TempDir dir;
};

TEST_F(ResolveSceneryFolderTest, RelativeFoldersJoinTheSimulatorFolder) {
  const fs::path expected = simulator() / "Scenery/World/scenery";
  EXPECT_EQ(ResolveSceneryFolder("Scenery\\World", simulator()), expected);
  EXPECT_EQ(ResolveSceneryFolder("SCENERY/world", simulator()), expected);
  EXPECT_EQ(ResolveSceneryFolder("Scenery\\Missing", simulator()), fs::path());
}

TEST_F(ResolveSceneryFolderTest, AbsoluteFoldersStandAlone) {
  fs::create_directories(dir / "Addon/Scenery Pack/Scenery");
  const std::string absolute = (dir / "addon/SCENERY PACK").string();
  EXPECT_EQ(ResolveSceneryFolder(absolute, "/elsewhere"), dir / "Addon/Scenery Pack/Scenery");
  EXPECT_EQ(ResolveSceneryFolder((dir / "Gone").string(), simulator()), fs::path());
}

TEST_F(ResolveSceneryFolderTest, DriveLettersGoThroughTheWinePrefix) {
#ifdef _WIN32
  GTEST_SKIP() << "Wine prefixes are a matter of the Linux build";
#endif
  const fs::path simulator = dir / "prefix/drive_c/FS9";
  fs::create_directories(simulator);
  fs::create_directories(dir / "prefix/drive_c/Addon/Scenery");
  EXPECT_EQ(ResolveSceneryFolder("C:\\Addon", simulator), dir / "prefix/drive_c/Addon/Scenery");
  EXPECT_EQ(ResolveSceneryFolder("D:\\Addon", simulator), fs::path());
}

TEST_F(ResolveSceneryFolderTest, TextsLongerThanAFolderBufferNameNoFolder) {
  // "<simulator>\<local>\Scenery" must fit in 259 characters.
  const std::size_t room = kMaxFolderLength - simulator().native().size() - 1 - 8;
  const std::string fits(room, 'a');
  fs::create_directories(simulator() / fits / "Scenery");
  EXPECT_EQ(ResolveSceneryFolder(fits, simulator()), simulator() / fits / "Scenery");
  const std::string too_long = fits + "\\..\\" + fits;
  EXPECT_EQ(ResolveSceneryFolder(too_long, simulator()), fs::path());
}

}  // namespace
}  // namespace tarnvale
