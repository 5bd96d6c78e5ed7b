// Tests of folder searches: patterns matched without regard to letter case, and files found in
// search order.

#include "platform/directory_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/row_names.h"
#include "support/temp_dir.h"

namespace tarnvale::platform {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

struct PatternCase {
  const char* name;
  const char* pattern;
  bool matches;
};

class MatchesPatternTest : public ::testing::TestWithParam<PatternCase> {};

TEST_P(MatchesPatternTest, Table) {
  EXPECT_EQ(MatchesPattern(GetParam().name, GetParam().pattern), GetParam().matches)
      << GetParam().name << " vs " << GetParam().pattern;
}

INSTANTIATE_TEST_SUITE_P(
    Table, MatchesPatternTest,
    ::testing::Values(PatternCase{"a.bgl", "*.bgl", true}, PatternCase{"A.BGL", "*.bgl", true},
                      PatternCase{".bgl", "*.bgl", true}, PatternCase{"a.bglx", "*.bgl", false},
                      PatternCase{"bgl", "*.bgl", false}, PatternCase{"a.b.bgl", "*.bgl", true},
                      PatternCase{"SCENERY.CFG", "Scenery.cfg", true},
                      PatternCase{"Scenery.cfg.bak", "Scenery.cfg", false},
                      PatternCase{"abc", "a?c", true}, PatternCase{"ac", "a?c", false},
                      PatternCase{"aXbYbZc", "a*b*c", true}, PatternCase{"abcbc", "*bc", true},
                      PatternCase{"", "*", true}, PatternCase{"x", "", false},
                      PatternCase{"", "", true}),
    [](const auto& info) {
      return testing::RowName(info.index, std::string(info.param.name) + " " + info.param.pattern);
    });

TEST(FindFiles, RegularFilesInSearchOrder) {
#ifdef _WIN32
  GTEST_SKIP() << "needs symbolic links and names that differ only in letter case; on Windows "
                  "see WindowsPaths.ListingOrderIgnoresTheFileSystemsOrder";
#endif
  TempDir dir;
  for (const char* name :
       {"b.bgl", "a.bgl", "_x.bgl", "Z.BGL", "A.bgl", "notes.txt", "deep/c.bgl"}) {
    testing::WriteFile(dir / name, "x");
  }
  fs::create_directory(dir / "folder.bgl");
  fs::create_symlink("b.bgl", dir / "link.bgl");
  fs::create_symlink("missing", dir / "broken.bgl");
  fs::create_symlink("loop.bgl", dir / "loop.bgl");

  std::vector<std::string> names;
  for (const fs::path& path : FindFiles(dir.Path(), "*.BGL")) {
    EXPECT_EQ(path.parent_path(), dir.Path());
    names.push_back(path.filename().string());
  }
  EXPECT_EQ(names,
            (std::vector<std::string>{"A.bgl", "a.bgl", "b.bgl", "link.bgl", "Z.BGL", "_x.bgl"}));
}

TEST(FindFiles, ExactNameAndMissingFolder) {
  TempDir dir;
  testing::WriteFile(dir / "SCENERY.CFG", "x");
  EXPECT_EQ(FindFile(dir.Path(), "Scenery.cfg"), dir / "SCENERY.CFG");
  EXPECT_EQ(FindFile(dir.Path(), "fs9.exe"), fs::path());
  EXPECT_TRUE(FindFiles(dir / "missing", "*").empty());
  EXPECT_TRUE(FindFiles(dir / "SCENERY.CFG", "*").empty());
}

}  // namespace
}  // namespace tarnvale::platform
