// FS2002 files of 4 GiB that hold a little navigation data: the loader
// brings in what the readers read, never the whole file.
#include <gtest/gtest.h>

#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "scenery/bgl_loader.h"
#include "scenery/bounded_memory.h"
#include "scenery/fs2002_test_helpers.h"
#include "scenery/fs2004_test_support.h"
#include "sceneryfab/fs2002_format.h"
#include "support/temp_dir.h"

namespace tarnvale::testing {
namespace {

struct HugeFileCase {
  std::string name;
  fab::Bytes bytes;  // the file as the builder writes it
  // The header word holding the offset of the data that is moved to the
  // end of the 4 GiB file; nothing: the bytes stay at the start.
  std::optional<std::size_t> moved_data_word;
};

std::vector<HugeFileCase> Cases() {
  const fab::SceneryContent content = SampleFs2002Content();
  fab::Fs2002FacilityFile navigation = fab::MakeFs2002FacilityFile(content);
  navigation.airport_chain.clear();  // data blocks hold file offsets: they stay put
  return {
      {"facility file at the start",
       fab::BuildFs2002FacilityFile(fab::MakeFs2002FacilityFile(content)), std::nullopt},
      {"VOR section at the end",
       fab::BuildFs2002VorFile(fab::MakeFs2002VorFile(content.vors, content.ilss)), 18},
      {"NDB section at the end", fab::BuildFs2002NdbFile(fab::MakeFs2002NdbFile(content.ndbs)), 78},
      {"navigation chain at the end", fab::BuildFs2002FacilityFile(navigation), 164},
  };
}

// Writes `c` as a sparse 4 GiB file; its moved data ends with the file.
std::optional<std::string> WriteHugeFile(const std::filesystem::path& path, const HugeFileCase& c) {
  if (!c.moved_data_word) return WriteSparseFile(path, kFourGiB, {{0, c.bytes}});
  const std::span<const std::uint8_t> bytes(c.bytes);
  const std::size_t data = ByteCursor(bytes).U32(*c.moved_data_word);
  const std::uint64_t moved_to = kFourGiB - (bytes.size() - data);
  fab::Bytes header(c.bytes.begin(), c.bytes.begin() + static_cast<std::ptrdiff_t>(data));
  fab::PutU32(header, *c.moved_data_word, static_cast<std::uint32_t>(moved_to));
  return WriteSparseFile(path, kFourGiB, {{0, header}, {moved_to, bytes.subspan(data)}});
}

TEST(Fs2002HugeFile, LoadsItsRecordsInBoundedMemory) {
  const TempDir dir;
  for (const HugeFileCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    NavDatabase expected;
    ASSERT_EQ(LoadBglBytes(expected, c.bytes, FsVersion::Fs2002), LoadResult::Ok);
    const auto counts = Counts(expected);
    ASSERT_GT(std::accumulate(counts.begin(), counts.end(), std::size_t{0},
                              [](std::size_t sum, const auto& kind) { return sum + kind.second; }),
              0u);

    const std::filesystem::path file = dir / "HUGE.bgl";
    if (const auto why = WriteHugeFile(file, c)) GTEST_SKIP() << *why;
    const std::optional<PeakMemory> peak = PeakMemory::Reset();
    NavDatabase db;
    FileReading reading;
    ASSERT_EQ(BglLoader(db, file, FsVersion::Fs2002, &reading), LoadResult::Ok);
    EXPECT_EQ(Counts(db), counts);
    EXPECT_EQ(reading.status, FileStatus::Read);
    if (!peak) GTEST_SKIP() << "the peak resident memory cannot be reset here";
    EXPECT_LT(peak->Rise(), 32 * kMiB);
    std::filesystem::remove(file);
  }
}

}  // namespace
}  // namespace tarnvale::testing
