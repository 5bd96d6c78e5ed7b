#include "platform/system_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <string>
#include <utility>

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

// Only regular files open; a FIFO without a writer must not make Open wait.
TEST(InputFile, RefusesAnythingButARegularFile) {
  TempDir dir;
  fs::create_directory(dir / "scenery.bgl");
  EXPECT_FALSE(InputFile::Open(dir / "scenery.bgl"));
#ifdef _WIN32  // no FIFOs in the file system; a device instead
  EXPECT_FALSE(InputFile::Open("NUL"));
#else
  ASSERT_EQ(::mkfifo((dir / "pipe.bgl").c_str(), 0600), 0);
  EXPECT_FALSE(InputFile::Open(dir / "pipe.bgl"));
#endif
  EXPECT_FALSE(InputFile::Open(dir / "missing.bgl"));
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
