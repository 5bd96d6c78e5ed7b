// Tests of the whole-file operations and of the fault seam: replace, copy and delete, and a failure
// that leaves everything as it was.

#include "platform/file_operations.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <optional>
#include <string>
#include <system_error>

#include "platform/fault_injection.h"
#include "support/deadline.h"
#include "support/temp_dir.h"

namespace tarnvale::platform {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

std::size_t EntryCount(const fs::path& folder) {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++count;
  return count;
}

// An injected fault hits exactly the calls it was armed for, then the
// system's own answer comes back.
TEST(FaultInjection, FailsTheArmedCallsOnly) {
  TempDir dir;
  FaultScope faults;
  faults.Inject(FaultSite::SyncFolder, std::make_error_code(std::errc::io_error), /*skip=*/1);
  faults.Inject(FaultSite::Rename, std::make_error_code(std::errc::permission_denied), 0, 0);
  EXPECT_FALSE(SyncFolder(dir.Path()));
  EXPECT_EQ(SyncFolder(dir.Path()), std::errc::io_error);
  EXPECT_FALSE(SyncFolder(dir.Path()));
  WriteFile(dir / "a", "a");
  for (int attempt = 0; attempt < 3; ++attempt) {
    EXPECT_EQ(RenameEntry(dir / "a", dir / "b"), std::errc::permission_denied);
  }
  ClearFaults();
  EXPECT_FALSE(RenameEntry(dir / "a", dir / "b"));
  EXPECT_EQ(ReadFile(dir / "b"), "a");
}

// A name so long that no temporary name can be made beside it.
std::string LongestName() { return std::string(250, 'n'); }

TEST(ReplaceFileContents, CreatesAndReplacesKeepingPermissions) {
  TempDir dir;
  const fs::path target = dir / "Program_Config.cfg";
  ASSERT_FALSE(ReplaceFileContents(target, "first"));
  EXPECT_EQ(ReadFile(target), "first");
#ifndef _WIN32  // Windows files have no permission bits, only a read-only flag
  EXPECT_EQ(fs::status(target).permissions(), fs::perms(0644));
  fs::permissions(target, fs::perms(0600));
#endif
  ASSERT_FALSE(ReplaceFileContents(target, std::string("second\0x", 8)));
  EXPECT_EQ(ReadFile(target), std::string("second\0x", 8));
#ifndef _WIN32
  EXPECT_EQ(fs::status(target).permissions(), fs::perms(0600));
#endif
  EXPECT_EQ(EntryCount(dir.Path()), 1u);
}

TEST(ReplaceFileContents, FailureLeavesEverythingAsItWas) {
  TempDir dir;
  WriteFile(dir / "Program_Config.cfg/inside", "keep");
  EXPECT_TRUE(ReplaceFileContents(dir / "Program_Config.cfg", "new"));
  EXPECT_EQ(ReadFile(dir / "Program_Config.cfg/inside"), "keep");

  WriteFile(dir / LongestName(), "old");
  EXPECT_TRUE(ReplaceFileContents(dir / LongestName(), "new"));
  EXPECT_EQ(ReadFile(dir / LongestName()), "old");

  EXPECT_TRUE(ReplaceFileContents(dir / "missing/file", "new"));
  EXPECT_EQ(EntryCount(dir.Path()), 2u);  // no temporary file left behind
}

TEST(CopyFileInto, AppendsEveryByteOfARegularFileOnly) {
  TempDir dir;
  WriteFile(dir / "sim/magdec.bgl", "new magnetic data");
  fs::create_directories(dir / "target");
  std::error_code error;
  std::optional<OutputFile> copy = OutputFile::Create(dir / "target/magdec.bgl", error);
  ASSERT_TRUE(copy) << error.message();
  EXPECT_EQ(CopyFileInto(dir / "sim/missing.bgl", *copy), std::errc::no_such_file_or_directory);
  EXPECT_EQ(CopyFileInto(dir / "sim", *copy), NotARegularFile());
#ifndef _WIN32  // a FIFO named like the source: turned away at once, never waited on
  ASSERT_EQ(::mkfifo((dir / "sim/fifo.bgl").c_str(), 0600), 0);
  {
    const testing::Deadline deadline(20);
    EXPECT_EQ(CopyFileInto(dir / "sim/fifo.bgl", *copy), NotARegularFile());
  }
#endif
  ASSERT_FALSE(copy->Write("head: "));
  ASSERT_FALSE(CopyFileInto(dir / "sim/magdec.bgl", *copy));
  ASSERT_FALSE(copy->Finish());
  EXPECT_EQ(ReadFile(dir / "target/magdec.bgl"), "head: new magnetic data");
  // Opened by the caller, a good source fails the copy only through `to`.
  const std::optional<InputFile> source = InputFile::Open(dir / "sim/magdec.bgl", error);
  ASSERT_TRUE(source) << error.message();
  EXPECT_EQ(CopyFileInto(*source, *copy), std::errc::bad_file_descriptor);  // already closed
}

TEST(DeleteFile, RemovesFilesAndLinksOnly) {
  TempDir dir;
  WriteFile(dir / "world_airports.dat", "x");
#ifndef _WIN32  // symbolic links need a privilege on Windows
  fs::create_symlink("world_airports.dat", dir / "link.dat");
  EXPECT_FALSE(DeleteFile(dir / "link.dat"));
  EXPECT_TRUE(fs::exists(dir / "world_airports.dat"));
#endif
  EXPECT_FALSE(DeleteFile(dir / "world_airports.dat"));
  EXPECT_FALSE(fs::exists(dir / "world_airports.dat"));

  EXPECT_EQ(DeleteFile(dir / "world_airports.dat"), std::errc::no_such_file_or_directory);
  fs::create_directory(dir / "empty.dat");
  EXPECT_TRUE(DeleteFile(dir / "empty.dat"));
  EXPECT_TRUE(fs::is_directory(dir / "empty.dat"));
}

}  // namespace
}  // namespace tarnvale::platform
