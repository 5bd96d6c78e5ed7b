// Tests of the system's files: reads at the end of a file, refusals of what is no regular file,
// errors that are not the file's, and writing.

#include "platform/system_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <string>
#include <utility>
#include <vector>

#include "platform/fault_injection.h"
#include "platform/system.h"
#include "support/deadline.h"
#include "support/temp_dir.h"

namespace tarnvale::platform {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// A read across the end of the file stops there without calling it a
// failure; a read wholly behind it reads nothing. A moved file reads on.
TEST(InputFile, ReadAtStopsAtTheEndOfTheFile) {
  TempDir dir;
  WriteFile(dir / "magdec.bgl", "0123456789");
  std::optional<InputFile> opened = InputFile::Open(dir / "magdec.bgl");
  ASSERT_TRUE(opened);
  const InputFile file = std::move(*opened);
  EXPECT_EQ(file.Size(), 10u);

  std::string bytes(8, '-');
  bool failed = false;
  EXPECT_EQ(file.ReadAt(6, bytes.data(), bytes.size(), failed), 4u);
  EXPECT_EQ(bytes, "6789----");
  EXPECT_EQ(file.ReadAt(10, bytes.data(), bytes.size(), failed), 0u);
  EXPECT_EQ(file.ReadAt(2, bytes.data(), 3, failed), 3u);
  EXPECT_EQ(bytes.substr(0, 3), "234");
  EXPECT_FALSE(failed);
}

// Only regular files open, and a refusal says why; a FIFO without a writer
// must not make Open wait.
// The process's read count, where the system keeps one, grows by at least
// what its reads return.
TEST(ProcessBytesRead, GrowsByWhatReadsReturn) {
  const TempDir dir;
  constexpr std::size_t kSize = 256 * 1024;
  WriteFile(dir / "read.bin", std::string(kSize, 'r'));
  const std::optional<std::uint64_t> before = ProcessBytesRead();
  if (!before) GTEST_SKIP() << "this system counts no bytes read";
  std::optional<InputFile> file = InputFile::Open(dir / "read.bin");
  ASSERT_TRUE(file);
  std::vector<char> buffer(kSize);
  std::error_code error;
  ASSERT_EQ(file->ReadAt(0, buffer.data(), kSize, error), kSize);
  const std::optional<std::uint64_t> after = ProcessBytesRead();
  ASSERT_TRUE(after);
  EXPECT_GE(*after - *before, kSize);
}

TEST(InputFile, RefusesAnythingButARegularFile) {
  TempDir dir;
  fs::create_directory(dir / "scenery.bgl");
  std::vector<std::pair<fs::path, std::error_code>> rows = {
      {dir / "scenery.bgl", NotARegularFile()},
      {dir / "missing.bgl", std::make_error_code(std::errc::no_such_file_or_directory)},
  };
#ifdef _WIN32  // no FIFOs in the file system; a device instead
  rows.push_back({"NUL", NotARegularFile()});
#else
  ASSERT_EQ(::mkfifo((dir / "pipe.bgl").c_str(), 0600), 0);
  rows.push_back({dir / "pipe.bgl", NotARegularFile()});
  rows.push_back({"/dev/zero", NotARegularFile()});
  const testing::Deadline deadline(20);
#endif
  for (const auto& [path, reason] : rows) {
    std::error_code error;
    EXPECT_FALSE(InputFile::Open(path, error)) << path;
    EXPECT_EQ(error, reason) << path << ": " << error.message();
    EXPECT_TRUE(IsFileOwnError(error)) << path;
  }
}

// Running out of file handles or memory, or a failing device, is no fault
// of the file being opened.
TEST(InputFile, ErrorsOfTheProcessOrDeviceAreNotTheFiles) {
  TempDir dir;
  WriteFile(dir / "magdec.bgl", "data");
  for (const std::errc errc :
       {std::errc::too_many_files_open, std::errc::too_many_files_open_in_system,
        std::errc::not_enough_memory, std::errc::io_error}) {
    const std::error_code injected = std::make_error_code(errc);
    FaultScope faults;
    faults.Inject(FaultSite::OpenInput, injected);
    std::error_code error;
    EXPECT_FALSE(InputFile::Open(dir / "magdec.bgl", error));
    EXPECT_EQ(error, injected);
    EXPECT_FALSE(IsFileOwnError(error)) << error.message();
  }
  for (const std::errc errc :
       {std::errc::permission_denied, std::errc::operation_not_permitted,
        std::errc::too_many_symbolic_link_levels, std::errc::not_a_directory}) {
    EXPECT_TRUE(IsFileOwnError(std::make_error_code(errc)));
  }
  std::error_code error;
  EXPECT_TRUE(InputFile::Open(dir / "magdec.bgl", error)) << error.message();
}

TEST(OutputFile, WritesTruncatesAndFinishes) {
  TempDir dir;
  WriteFile(dir / "world_airports.dat", "an older and longer file");
  std::error_code error;
  std::optional<OutputFile> file = OutputFile::Create(dir / "world_airports.dat", error);
  ASSERT_TRUE(file) << error.message();
  EXPECT_FALSE(file->Write("first "));
  EXPECT_FALSE(file->Write(std::string("second\0", 7)));
  EXPECT_FALSE(file->Finish());
  EXPECT_EQ(ReadFile(dir / "world_airports.dat"), std::string("first second\0", 13));
  EXPECT_TRUE(file->Write("after"));  // finished: closed

  EXPECT_FALSE(OutputFile::Create(dir / "missing" / "world_airports.dat", error));
  EXPECT_EQ(error, std::errc::no_such_file_or_directory);
}

}  // namespace
}  // namespace tarnvale::platform
