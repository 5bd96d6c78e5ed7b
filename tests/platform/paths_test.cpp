// Tests of resolving Windows path texts on this machine: letter case, code pages, links, and drive
// letters through a Wine prefix.

#include "platform/paths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ascii_text.h"
#include "platform/code_page.h"
#include "support/temp_dir.h"

namespace tarnvale::platform {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

void MakeFolders(const fs::path& base, const std::vector<std::string>& folders) {
  for (const std::string& folder : folders) fs::create_directories(base / PathFromUtf8(folder));
}

std::string Backslashed(std::string text) {
  for (char& c : text) c = c == '/' ? '\\' : c;
  return text;
}

struct ResolveCase {
  const char* name;
  std::vector<std::string> folders;  // created under the base first
  std::string text;
  std::string expected;  // relative to the base
};

class ResolvePathTest : public ::testing::TestWithParam<ResolveCase> {};

TEST_P(ResolvePathTest, MatchesComponentsAgainstWhatExists) {
  const ResolveCase& c = GetParam();
#ifdef _WIN32
  if (c.folders.size() == 2 && EqualsIgnoreCase(c.folders[0], c.folders[1])) {
    GTEST_SKIP() << "names that differ only in letter case are one name on Windows";
  }
#endif
  TempDir dir;
  MakeFolders(dir.Path(), c.folders);
  EXPECT_EQ(ResolvePath(c.text, dir.Path()), dir.Path() / c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ResolvePathTest,
    ::testing::Values(
        ResolveCase{"ExactBackslashes", {"Scenery/World"}, "Scenery\\World", "Scenery/World"},
        ResolveCase{"OtherLetterCase", {"Scenery/World"}, "SCENERY\\world", "Scenery/World"},
        ResolveCase{"MixedAndDoubledSeparators",
                    {"Scenery/World"},
                    "Scenery//World\\\\.\\",
                    "Scenery/World"},
        ResolveCase{"ExactNameWinsOverCaseVariant", {"Data", "DATA"}, "Data", "Data"},
        ResolveCase{"CaseVariantsTakenInSearchOrder", {"Data", "DATA"}, "data", "DATA"},
        ResolveCase{"MissingComponentsKeptAsWritten",
                    {"Scenery"},
                    "scenery\\Missing\\BGL",
                    "Scenery/Missing/BGL"},
        ResolveCase{"ParentComponent", {"A/B", "C"}, "a\\b\\..\\..\\c", "A/B/../../C"}),
    [](const auto& info) { return std::string(info.param.name); });

// Scenery.cfg texts in a Windows code page against folders Wine named in
// UTF-8. Byte 0xFC is ü in 1252 and 1250; byte 0xC8 (written \310, as a hex
// escape would take in the "e") is Č in 1250 but È in 1252.
struct CodePageCase {
  const char* name;
  CodePage code_page;
  std::string text;
  std::string expected;  // relative to the base
};

class ResolveCodePageTest : public ::testing::TestWithParam<CodePageCase> {};

TEST_P(ResolveCodePageTest, MatchesUtf8Names) {
  const CodePageCase& c = GetParam();
  TempDir dir;
  MakeFolders(dir.Path(), {"Addon Scenery/Zürich", "Addon Scenery/Česko"});
  const CodePage saved = ActiveCodePage();
  SetActiveCodePage(c.code_page);
#ifdef _WIN32  // names are Unicode: a name kept as written is read in the code page
  EXPECT_EQ(ResolvePath(c.text, dir.Path()), dir.Path() / PathFromUtf8(DisplayText(c.expected)));
#else
  EXPECT_EQ(ResolvePath(c.text, dir.Path()), dir.Path() / c.expected);
#endif
  SetActiveCodePage(saved);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ResolveCodePageTest,
    ::testing::Values(CodePageCase{"Western", CodePage::Windows1252, "addon scenery\\Z\xFCrich",
                                   "Addon Scenery/Zürich"},
                      CodePageCase{"WesternOtherLetterCase", CodePage::Windows1252,
                                   "ADDON SCENERY\\z\xFCRICH", "Addon Scenery/Zürich"},
                      CodePageCase{"CentralEuropean", CodePage::Windows1250,
                                   "Addon Scenery\\\310esko", "Addon Scenery/Česko"},
                      CodePageCase{"OtherCodePageMatchesNothing", CodePage::Windows1252,
                                   "Addon Scenery\\\310esko\\BGL", "Addon Scenery/\310esko/BGL"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResolvePath, LeadingSeparatorIsTheRoot) {
  TempDir dir;
  MakeFolders(dir.Path(), {"Flight Simulator 9"});
  const std::string written = Backslashed(dir.Path().string()) + "\\FLIGHT SIMULATOR 9\\";
  EXPECT_EQ(ResolvePath(written, "/elsewhere"), dir.Path() / "Flight Simulator 9");
  EXPECT_EQ(ExistingFolder(written), dir.Path() / "Flight Simulator 9");
}

TEST(ResolvePath, RelativeTextWithoutBaseStaysRelative) {
  EXPECT_EQ(ResolvePath("no-such-folder-here\\x"), fs::path("no-such-folder-here/x"));
}

TEST(ResolvePath, MatchLetterCaseOnMachinePaths) {
  TempDir dir;
  testing::WriteFile(dir / "Sim/Scenery.cfg", "");
  EXPECT_EQ(MatchLetterCase(dir / "SIM/SCENERY.CFG"), dir / "Sim/Scenery.cfg");
  EXPECT_EQ(MatchLetterCase(dir / "SIM/new.cfg"), dir / "Sim/new.cfg");
}

TEST(ResolvePath, LinkLoopMatchesNothing) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links need a privilege on Windows";
#endif
  TempDir dir;
  fs::create_directory_symlink("loop", dir / "loop");
  EXPECT_EQ(ExistingFolder("LOOP\\x", dir.Path()), fs::path());
  EXPECT_FALSE(IsFolder(dir / "loop"));
  EXPECT_FALSE(IsFile(dir / "loop"));
}

TEST(ExistingFolder, FilesAndMissingFoldersGiveEmpty) {
  TempDir dir;
  testing::WriteFile(dir / "file", "x");
  EXPECT_EQ(ExistingFolder("FILE", dir.Path()), fs::path());
  EXPECT_EQ(ExistingFolder("missing", dir.Path()), fs::path());
  EXPECT_EQ(ExistingFolder("", dir.Path()), dir.Path());
}

// A Wine prefix: drive_c holds the simulator, dosdevices maps the letters.
class WinePrefixTest : public ::testing::Test {
 protected:
  void SetUp() override {
#ifdef _WIN32
    GTEST_SKIP() << "Wine prefixes are a matter of the Linux build; on Windows a drive letter "
                    "is part of the path (WindowsPaths.DriveLettersAndSharesArePartOfThePath)";
#endif
    MakeFolders(prefix(),
                {"drive_c/Program Files/FS9", "drive_c/Addon/Pack/Scenery", "dosdevices"});
    MakeFolders(dir.Path(), {"disk/Other"});
    simulator = prefix() / "drive_c/Program Files/FS9";
  }
  fs::path prefix() const { return dir / "wine"; }
  void MapDrives() {
    fs::create_directory_symlink("../drive_c", prefix() / "dosdevices/c:");
    fs::create_directory_symlink(dir / "disk", prefix() / "dosdevices/d:");
  }

  TempDir dir;
  fs::path simulator;
};

TEST_F(WinePrefixTest, DriveLettersGoThroughDosdevices) {
  MapDrives();
  const fs::path c = ResolvePath("C:\\addon\\PACK", simulator);
  EXPECT_EQ(c, prefix() / "dosdevices/c:/Addon/Pack");
  EXPECT_TRUE(fs::equivalent(c, prefix() / "drive_c/Addon/Pack"));
  EXPECT_EQ(ExistingFolder("d:/other", simulator), prefix() / "dosdevices/d:/Other");
  EXPECT_EQ(ExistingFolder("E:\\Other", simulator), fs::path());
}

TEST_F(WinePrefixTest, DriveCFallsBackToTheDriveCFolder) {
  EXPECT_EQ(WineDriveFolder('c', simulator), prefix() / "drive_c");
  EXPECT_EQ(ExistingFolder("C:\\Addon\\Pack\\Scenery", simulator),
            prefix() / "drive_c/Addon/Pack/Scenery");
  EXPECT_EQ(WineDriveFolder('D', simulator), fs::path());
}

TEST_F(WinePrefixTest, DriveLetterOutsideAnyPrefixNamesNoFolder) {
  EXPECT_EQ(ResolvePath("C:\\Addon", dir / "disk"), fs::path());
  EXPECT_EQ(ResolvePath("C:\\Addon"), fs::path());
  EXPECT_EQ(WineDriveFolder('1', simulator), fs::path());
}

TEST(HasDriveLetter, OnlyALetterAndAColon) {
  EXPECT_TRUE(HasDriveLetter("C:\\FS9"));
  EXPECT_TRUE(HasDriveLetter("d:"));
  EXPECT_FALSE(HasDriveLetter("1:\\x"));
  EXPECT_FALSE(HasDriveLetter("C"));
  EXPECT_FALSE(HasDriveLetter("\\C:"));
}

}  // namespace
}  // namespace tarnvale::platform
