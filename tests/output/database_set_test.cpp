// Tests of replacing a database set whole: commit, abandon, a refused swap, and recovery after a
// kill or a power cut mid-swap.

#include "output/database_set.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "support/temp_dir.h"

namespace tarnvale {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// Every entry of a folder with the content of each file ("<folder>" for folders).
std::map<std::string, std::string> Contents(const fs::path& folder) {
  std::map<std::string, std::string> contents;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    contents[entry.path().filename().string()] =
        entry.is_directory() ? "<folder>" : ReadFile(entry.path());
  }
  return contents;
}

// What the fixture's folder holds once the new set of two files is in place.
const std::map<std::string, std::string> kNewSetBesideTheUsersFiles = {
    {"Program_Config.cfg", "settings"},
    {"world_airports.dat", "new airports"},
    {"magdec.bgl", "new magdec"},
    {"world_airports.dat.bak", "user's copy"}};

class DatabaseSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(target_ / "Program_Config.cfg", "settings");
    WriteFile(target_ / "world_airports.dat", "old airports");
    WriteFile(target_ / "WORLD_NAVAIDS.DAT", "old navaids");
    WriteFile(target_ / "world_navaids.dat", "old navaids, other case");
    WriteFile(target_ / "magdec.bgl", "old magdec");
    WriteFile(target_ / "world_airports.dat.bak", "user's copy");
    before_ = Contents(target_.Path());
  }

  StagedDatabaseSet Stage(std::map<std::string, std::string> files) {
    SetFailure failure;
    std::optional<StagedDatabaseSet> staged = StagedDatabaseSet::Create(target_.Path(), failure);
    EXPECT_TRUE(staged.has_value()) << failure.Describe();
    for (const auto& [name, bytes] : files) WriteFile(staged->Folder() / name, bytes);
    return std::move(*staged);
  }

  TempDir target_;
  std::map<std::string, std::string> before_;
};

TEST_F(DatabaseSetTest, CommitLeavesExactlyTheNewSetBesideTheOtherFiles) {
  StagedDatabaseSet staged =
      Stage({{"world_airports.dat", "new airports"}, {"magdec.bgl", "new magdec"}});
  EXPECT_EQ(staged.Commit(), std::nullopt);
  EXPECT_EQ(Contents(target_.Path()), kNewSetBesideTheUsersFiles);
}

TEST_F(DatabaseSetTest, AnUncommittedSetLeavesTheOldOneAsItWas) {
  { StagedDatabaseSet staged = Stage({{"world_airports.dat", "new airports"}}); }
  EXPECT_EQ(Contents(target_.Path()), before_);
}

TEST_F(DatabaseSetTest, AFolderUnderAnOutputNameRefusesTheSwapBeforeAnythingChanges) {
  WriteFile(target_ / "World_Markers.dat" / "inside", "x");
  before_ = Contents(target_.Path());
  {
    StagedDatabaseSet staged = Stage({{"world_airports.dat", "new airports"}});
    const std::optional<SetFailure> failure = staged.Commit();
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->path, target_ / "World_Markers.dat");
  }
  EXPECT_EQ(Contents(target_.Path()), before_);
}

// A run killed after the journal was written, part way through the swap: the
// next run finishes it.
TEST_F(DatabaseSetTest, RecoveryFinishesADecidedSwap) {
  const fs::path staging = target_ / std::string(kStagingFolderName);
  WriteFile(staging / "journal", "world_airports.dat\nmagdec.bgl\n../escape\n");
  WriteFile(staging / "magdec.bgl", "new magdec");
  WriteFile(target_ / "world_airports.dat", "new airports");  // already placed
  fs::remove(target_ / "world_navaids.dat");                  // already removed
  EXPECT_EQ(RecoverDatabaseSet(target_.Path()), std::nullopt);
  EXPECT_EQ(Contents(target_.Path()), kNewSetBesideTheUsersFiles);
}

TEST_F(DatabaseSetTest, RecoveryDropsAnUndecidedSwapAndOurLeftoversOnly) {
  const fs::path staging = target_ / std::string(kStagingFolderName);
  WriteFile(staging / "world_airports.dat", "half");
  WriteFile(target_ / "Program_Config.cfg.tmp-a1B2c3", "half settings");
  WriteFile(target_ / "MAGDEC.BGL.tmp-Zz9999", "half copy");
  WriteFile(target_ / "notes.tmp-abcdef", "user");
  WriteFile(target_ / "world_airports.dat.tmp-abc", "user");
  WriteFile(target_ / "world_airports.dat.tmp-abc!ef", "user");
  const std::map<std::string, std::string> users = Contents(target_.Path());
  EXPECT_EQ(RecoverDatabaseSet(target_.Path()), std::nullopt);
  std::map<std::string, std::string> expected = users;
  for (const char* ours :
       {".tarnvale-staging", "Program_Config.cfg.tmp-a1B2c3", "MAGDEC.BGL.tmp-Zz9999"}) {
    expected.erase(ours);
  }
  EXPECT_EQ(Contents(target_.Path()), expected);
}

// A power cut after old files were moved aside, before the journal was
// written: the folder of old files kept the moves, the target folder kept
// some of the old names too. The next start puts each old file back once,
// and leaves aside one whose name another file took.
TEST_F(DatabaseSetTest, RecoveryPutsBackAnOldFileThatAPowerCutLeftUnderBothNames) {
  const fs::path previous = target_ / std::string(kStagingFolderName) / "previous";
  WriteFile(previous / "magdec.bgl", "old magdec");
  fs::remove(target_ / "magdec.bgl");
  WriteFile(previous / "world_airports.dat", "old airports");
  WriteFile(previous / "world_navaids.dat", "another file");
  const std::optional<SetFailure> failure = RecoverDatabaseSet(target_.Path());
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->path, target_ / "world_navaids.dat");
  EXPECT_EQ(failure->error, std::errc::file_exists);
  std::map<std::string, std::string> expected = before_;
  expected[std::string(kStagingFolderName)] = "<folder>";
  EXPECT_EQ(Contents(target_.Path()), expected);
  EXPECT_EQ(Contents(previous),
            (std::map<std::string, std::string>{{"world_navaids.dat", "another file"}}));
}

}  // namespace
}  // namespace tarnvale
