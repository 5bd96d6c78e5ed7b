#include "output/output_cleanup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "support/temp_dir.h"

namespace tarnvale {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::WriteFile;

std::set<std::string> FilesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

TEST(DeleteOutputFiles, AFolderWithoutOutputIsLeftAlone) {
  const TempDir target;
  WriteFile(target / "Program_Config.cfg", "x");
  fs::create_directory(target / "DEFAULT_DB");
  EXPECT_EQ(DeleteOutputFiles(target.Path()), 0);
  EXPECT_EQ(FilesIn(target.Path()), (std::set<std::string>{"DEFAULT_DB", "Program_Config.cfg"}));
}

TEST(DeleteOutputFiles, DeletesEveryOutputFileInAnyLetterCase) {
  const TempDir target;
  for (const std::string_view name : kOutputFileSet) WriteFile(target / name, "x");
  WriteFile(target / "WORLD_AIRPORTS.DAT", "x");
  WriteFile(target / "MagDec.BGL", "x");
  WriteFile(target / "world_airports.dat.bak", "x");
  EXPECT_EQ(DeleteOutputFiles(target.Path()), 0);
  EXPECT_EQ(FilesIn(target.Path()), std::set<std::string>{"world_airports.dat.bak"});
}

TEST(DeleteOutputFiles, StopsAtTheFirstEntryThatCannotBeDeleted) {
  const TempDir target;
  for (const std::string_view name : kOutputFileSet) WriteFile(target / name, "x");
  // A folder stands where the navaids file would be: it is not deleted, and
  // the files after it in the order stay too.
  fs::remove(target / "world_navaids.dat");
  WriteFile(target / "World_Navaids.dat" / "inside", "x");
  EXPECT_EQ(DeleteOutputFiles(target.Path()), 1);
  std::set<std::string> left(kOutputFileSet.begin() + 2, kOutputFileSet.end());
  left.insert("World_Navaids.dat");
  EXPECT_EQ(FilesIn(target.Path()), left);
}

}  // namespace
}  // namespace tarnvale
