// Huge sparse FS2004 files whose header, tables or records claim more than
// they hold, and files larger than memory: the loader brings in only what it
// decodes, whatever a file claims and however large it is.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "scenery/bgl_loader.h"
#include "scenery/bounded_memory.h"
#include "scenery/fs2002_test_helpers.h"
#include "scenery/fs2004_sections.h"
#include "scenery/fs2004_test_support.h"
#include "sceneryfab/fs2002_format.h"
#include "sceneryfab/fs2004_writer.h"
#include "support/temp_dir.h"

namespace tarnvale::testing {
namespace {

constexpr std::uint64_t kThirtyTwoGiB = std::uint64_t{32} << 30;

struct HugeFileCase {
  std::string name;
  FsVersion fs_version;
  std::uint64_t size;
  fab::Bytes head;  // the file's first bytes; the rest is zero
  std::map<std::string, std::size_t> counts;
  FileStatus status;
};

// One airport with one runway.
fab::Bytes AirportFile() {
  fab::Airport airport;
  airport.ident = "AAAA";
  airport.runways.push_back(fab::Runway{});
  fab::Fs2004File file;
  file.sections.push_back(
      fab::MakeFs2004Section(fab::kFs2004Airports, {fab::Serialize(fab::EncodeAirport(airport))}));
  return fab::BuildFs2004File(file);
}

// `bytes` with the size word of the first record of the first section set
// to `size`, or, when nothing, to reach the end of a file of `file_size`.
fab::Bytes WithFirstRecordSize(fab::Bytes bytes, std::optional<std::uint32_t> size,
                               std::uint64_t file_size = 0) {
  const ByteCursor file(bytes);
  const std::size_t subsections = file.U32(fab::kFs2004HeaderSize + 12);
  const std::size_t first = file.U32(subsections + 8);
  fab::PutU32(bytes, first + 2, size.value_or(static_cast<std::uint32_t>(file_size - first)));
  return bytes;
}

// The records `bytes` hold, read from memory.
std::map<std::string, std::size_t> CountsOf(const fab::Bytes& bytes, FsVersion fs_version) {
  NavDatabase db;
  EXPECT_EQ(LoadBglBytes(db, bytes, fs_version), LoadResult::Ok);
  return Counts(db);
}

std::vector<HugeFileCase> Cases() {
  fab::Bytes header(kFs2004HeaderSize, 0);  // no sections behind it
  fab::PutU16(header, 2, kFs2004Magic);
  fab::PutU32(header, 4, kFs2004HeaderSize);
  fab::PutU32(header, 20, 0xFFFFFFFF);
  const fab::Bytes fs2004 = fab::BuildFs2004File(fab::MakeFs2004File(OneOfEach()));
  const fab::Bytes fs2002 =
      fab::BuildFs2002FacilityFile(fab::MakeFs2002FacilityFile(SampleFs2002Content()));
  return {
      {"section count 0xFFFFFFFF", FsVersion::Fs2004, kFourGiB, header, Counts(NavDatabase()),
       FileStatus::Damaged},
      {"record size 0xFFFFFFFF", FsVersion::Fs2004, kFourGiB,
       WithFirstRecordSize(AirportFile(), 0xFFFFFFFF), Counts(NavDatabase()), FileStatus::Damaged},
      {"record spanning the file", FsVersion::Fs2004, kFourGiB,
       WithFirstRecordSize(AirportFile(), std::nullopt, kFourGiB),
       CountsOf(AirportFile(), FsVersion::Fs2004), FileStatus::Read},
      {"FS2004 file of 32 GiB", FsVersion::Fs2004, kThirtyTwoGiB, fs2004,
       CountsOf(fs2004, FsVersion::Fs2004), FileStatus::Read},
      {"FS2002 file of 32 GiB", FsVersion::Fs2002, kThirtyTwoGiB, fs2002,
       CountsOf(fs2002, FsVersion::Fs2002), FileStatus::Read},
  };
}

TEST(HugeFile, ReadsWhatItDecodesInBoundedMemory) {
  const TempDir dir;
  for (const HugeFileCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    const std::filesystem::path path = dir / "HUGE.bgl";
    if (const auto why = WriteSparseFile(path, c.size, {{0, c.head}})) GTEST_SKIP() << *why;
    const std::optional<PeakMemory> peak = PeakMemory::Reset();
    std::error_code error;
    const std::unique_ptr<BglFile> file = BglFile::Open(path, error);
    ASSERT_TRUE(file) << error.message();
    NavDatabase db;
    FileReading reading;
    ASSERT_EQ(LoadBgl(db, *file, c.fs_version, &reading), LoadResult::Ok);
    EXPECT_EQ(Counts(db), c.counts);
    EXPECT_EQ(reading.status, c.status);
    EXPECT_LE(file->BroughtIn(), kMiB);
    if (peak) {
      EXPECT_LT(peak->Rise(), 32 * kMiB);
    }
    std::filesystem::remove(path);
  }
}

}  // namespace
}  // namespace tarnvale::testing
