// The real tarnvale-cli against folders and files that fight back: each run
// must end with a clear message and a failure status (or succeed where the
// bad entry is only skipped), and must leave Program_Config.cfg sound.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>

#include "app/messages.h"
#include "hostile/hostile_environment.h"
#include "output/database_reader.h"

namespace tarnvale::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSuccess = "completed successfully";

std::string Printed(const CliResult& result) { return result.out + result.err; }

// Every database file left in `folder` reads back whole: a file cut short
// would pass for a damaged database in the target program.
void ExpectNoDamagedDatabaseFile(const fs::path& folder) {
  for (const fs::path& file : DatabaseFilesIn(folder)) {
    const DatabaseFileContents contents = ReadDatabaseFile(file);
    EXPECT_FALSE(contents.failure) << file << ": " << DescribeFailure(*contents.failure);
  }
}

void ExpectRefused(const CliResult& result, const std::string& message) {
  EXPECT_EQ(result.exit_code, 1) << Printed(result);
  EXPECT_NE(Printed(result).find(message), std::string::npos) << Printed(result);
  EXPECT_EQ(Printed(result).find(kSuccess), std::string::npos) << Printed(result);
}

TEST(HostileTarget, TargetThatIsAFile) {
  const Installation installation;
  const CliResult result = RunCli({"create", "--target", installation.ConfigFile().string()});
  ExpectRefused(result, "PROGRAM_CONFIG.CFG file is missing");
  EXPECT_EQ(ReadFile(installation.ConfigFile()), installation.ConfigText());
}

TEST(HostileTarget, ProgramConfigThatIsAFolder) {
  const Installation installation;
  fs::remove(installation.ConfigFile());
  fs::create_directories(installation.ConfigFile() / "inside");
  ExpectRefused(installation.Create(), "PROGRAM_CONFIG.CFG file is missing");
  EXPECT_TRUE(fs::is_directory(installation.ConfigFile() / "inside"));
}

TEST(HostileTarget, SceneryCfgThatIsAFolder) {
  const Installation installation;
  fs::remove(installation.Simulator() / "Scenery.cfg");
  fs::create_directories(installation.Simulator() / "Scenery.cfg");
  ExpectRefused(installation.Create(), "SCENERY.CFG is missing");
  // The start error blanks the simulator folder so that the next start asks
  // for it; everything else of the file stays.
  const std::string config = ReadFile(installation.ConfigFile());
  EXPECT_NE(config.find("Program_Id=2"), std::string::npos) << config;
  EXPECT_NE(config.find("FS_Directory=\r\n"), std::string::npos) << config;
}

TEST(HostileTarget, FolderStandingInForADatabaseFile) {
  const Installation installation;
  const fs::path stand_in = installation.Target() / "world_airports.dat";
  WriteFile(stand_in / "keep.txt", "the user's own file");
  ExpectRefused(installation.Create(), "Error");
  EXPECT_EQ(ReadFile(stand_in / "keep.txt"), "the user's own file");
  EXPECT_EQ(ReadFile(installation.ConfigFile()), installation.ConfigText());
}

TEST(HostileTarget, LockedOutputFolder) {
  const Installation installation;
  const ImmutableMark lock(installation.Target());
  if (!lock.Available()) GTEST_SKIP() << "cannot mark a folder immutable here";
  ExpectRefused(installation.Create(), "The previous database files were kept.");
  EXPECT_TRUE(DatabaseFilesIn(installation.Target()).empty());
  EXPECT_EQ(ReadFile(installation.ConfigFile()), installation.ConfigText());
}

TEST(HostileTarget, FullFileSystemLeavesNoDamagedFile) {
  const ScratchFileSystem disk("16k");
  if (!disk.Available()) GTEST_SKIP() << "cannot mount a tmpfs here (needs CAP_SYS_ADMIN)";
  const Installation installation(disk.Path() / "radar");
  ExpectRefused(installation.Create(), "No space left on device");
  ExpectNoDamagedDatabaseFile(installation.Target());
  EXPECT_EQ(ReadFile(installation.ConfigFile()), installation.ConfigText());
}

// Nothing can be installed: the summary lists no file as written, and the
// set made before stays.
TEST(HostileTarget, ReadOnlyFileSystem) {
  const ScratchFileSystem disk("4m");
  if (!disk.Available()) GTEST_SKIP() << "cannot mount a tmpfs here (needs CAP_SYS_ADMIN)";
  const Installation installation(disk.Path() / "radar");
  ASSERT_EQ(installation.Create().exit_code, 0);
  const Snapshot before = Take(installation.Target());
  ASSERT_TRUE(disk.MakeReadOnly());
  const CliResult result = installation.Create();
  ExpectRefused(result, "Error");
  EXPECT_EQ(Printed(result).find("Files written"), std::string::npos) << Printed(result);
  EXPECT_EQ(Differences(Take(installation.Target()), before), std::vector<std::string>{});
}

// An old database file that cannot be replaced (immutable; on Windows held
// open without delete sharing, as the radar program may hold it) is found
// before the swap is decided: the whole old set stays, run after run, and
// each run says so.
TEST(HostileTarget, UnreplaceableDatabaseFileKeepsTheWholeOldSet) {
  const Installation installation;
  ASSERT_EQ(installation.Create().exit_code, 0);
  WriteFile(installation.Target() / "world_airports.dat", "the old set's airports");
  const Snapshot before = Take(installation.Target());
  const ImmutableMark lock(installation.Target() / "world_navaids.dat");
  if (!lock.Available()) GTEST_SKIP() << "cannot mark a file immutable here";
  for (int run = 1; run <= 2; ++run) {
    const CliResult result = installation.Create();
    ExpectRefused(result, std::string(text::kPreviousSetKept));
    EXPECT_NE(Printed(result).find("world_navaids.dat"), std::string::npos) << Printed(result);
    EXPECT_EQ(Printed(result).find("Files written"), std::string::npos) << Printed(result);
    EXPECT_EQ(Differences(Take(installation.Target()), before), std::vector<std::string>{})
        << "run " << run;
  }
}

// Ways in which Program_Config.cfg cannot be replaced when the options name
// a new simulator: the run must stop with the file as it was, and with it
// the database files (none here) that stood beside it.
struct UnreplaceableCase {
  const char* name;
  const char* size;  // of the tmpfs holding the program folder
  // Makes the file unreplaceable; false when this machine cannot.
  std::function<bool(const ScratchFileSystem&, const Installation&)> lock;
};

void PrintTo(const UnreplaceableCase& unreplaceable, std::ostream* out) {
  *out << unreplaceable.name;
}

class UnreplaceableProgramConfig : public ::testing::TestWithParam<UnreplaceableCase> {};

TEST_P(UnreplaceableProgramConfig, StopsWithTheFileIntact) {
  const ScratchFileSystem disk(GetParam().size);
  if (!disk.Available()) GTEST_SKIP() << "cannot mount a tmpfs here (needs CAP_SYS_ADMIN)";
  Installation installation(disk.Path() / "radar");
  installation.RecordAnotherSimulator();
  if (!GetParam().lock(disk, installation)) GTEST_SKIP() << "cannot lock the file here";
  ExpectRefused(installation.CreateReplacingSimulator(),
                std::string(text::kDatabaseFilesNotWritten));
  EXPECT_EQ(ReadFile(installation.ConfigFile()), installation.ConfigText());
  EXPECT_TRUE(DatabaseFilesIn(installation.Target()).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, UnreplaceableProgramConfig,
    ::testing::Values(UnreplaceableCase{"FullFileSystem", "64k",
                                        [](const ScratchFileSystem& disk, const Installation&) {
                                          disk.Fill();
                                          return true;
                                        }},
                      UnreplaceableCase{"ReadOnlyFileSystem", "1m",
                                        [](const ScratchFileSystem& disk, const Installation&) {
                                          return disk.MakeReadOnly();
                                        }}),
    [](const ::testing::TestParamInfo<UnreplaceableCase>& info) { return info.param.name; });

TEST(HostileTarget, ImmutableProgramConfig) {
  Installation installation;
  installation.RecordAnotherSimulator();
  const ImmutableMark lock(installation.ConfigFile());
  if (!lock.Available()) GTEST_SKIP() << "cannot mark a file immutable here";
  ExpectRefused(installation.CreateReplacingSimulator(),
                std::string(text::kDatabaseFilesNotWritten));
  EXPECT_EQ(ReadFile(installation.ConfigFile()), installation.ConfigText());
  EXPECT_TRUE(DatabaseFilesIn(installation.Target()).empty());
}

// Symbolic link loops, folders, a FIFO and a dangling link named like BGL
// files, a looping area folder and a cut-off BGL are skipped: the run
// succeeds and writes exactly what the clean installation gives.
TEST(HostileScenery, OddEntriesInAreasAreSkipped) {
  const Installation clean;
  ASSERT_EQ(clean.Create().exit_code, 0);
  const Installation hostile;
  const fs::path region = hostile.RegionFolder();
  const fs::path scenery = hostile.Simulator() / "Scenery";
  fs::create_directories(region / "folder.bgl");
  WriteFile(region / "cut.bgl", ReadFile(region / "AP0000.bgl").substr(0, 3000));
  fs::create_directories(scenery / "Cycle");
#ifndef _WIN32  // symbolic links need a privilege on Windows; FIFOs do not exist there
  fs::create_symlink("loop.bgl", region / "loop.bgl");
  fs::create_symlink("nowhere", region / "dangling.bgl");
  ASSERT_EQ(::mkfifo((region / "pipe.bgl").c_str(), 0644), 0);
  fs::create_symlink("Loop", scenery / "Loop");
  fs::create_symlink("..", scenery / "Cycle" / "Scenery");
#endif
  WriteFile(hostile.Simulator() / "Scenery.cfg",
            ReadFile(hostile.Simulator() / "Scenery.cfg") +
                "[Area.005]\r\nTitle=Loop\r\nLocal=Scenery\\Loop\r\nActive=TRUE\r\n"
                "[Area.006]\r\nTitle=Cycle\r\nLocal=Scenery\\Cycle\r\nActive=TRUE\r\n");

  const CliResult result = hostile.Create();
  ASSERT_EQ(result.exit_code, 0) << Printed(result);
  const std::vector<fs::path> expected = DatabaseFilesIn(clean.Target());
  const std::vector<fs::path> written = DatabaseFilesIn(hostile.Target());
  ASSERT_EQ(written.size(), expected.size());
  for (std::size_t i = 0; i < written.size(); ++i) {
    EXPECT_EQ(ReadFile(written[i]), ReadFile(expected[i])) << written[i].filename();
  }
}

}  // namespace
}  // namespace tarnvale::testing
