// Damaged files: whatever the bytes hold, loading never reads outside the
// file, never hangs and never fails (run these under the sanitizers).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fs2004_test_support.h"
#include "scenery/bgl_loader.h"
#include "scenery/nav_database.h"
#include "sceneryfab/fs2004_writer.h"
#include "sceneryfab/random.h"
#include "support/temp_dir.h"

namespace tarnvale {
namespace {

fab::Bytes OneOfEachFile() {
  return fab::BuildFs2004File(fab::MakeFs2004File(testing::OneOfEach()));
}

std::size_t RecordTotal(const NavDatabase& db) {
  std::size_t total = 0;
  for (const auto& [kind, count] : testing::Counts(db)) total += count;
  return total;
}

// Every prefix of `bytes` loads without harm and yields no more than the
// whole file does.
void LoadEveryPrefix(const fab::Bytes& bytes, FsVersion fs_version) {
  NavDatabase whole;
  ASSERT_EQ(LoadBglBytes(whole, bytes, fs_version), LoadResult::Ok);
  for (std::size_t length = 0; length <= bytes.size(); ++length) {
    NavDatabase db;
    const std::vector<std::uint8_t> prefix(bytes.begin(),
                                           bytes.begin() + static_cast<std::ptrdiff_t>(length));
    ASSERT_EQ(LoadBglBytes(db, prefix, fs_version), LoadResult::Ok) << length;
    ASSERT_LE(RecordTotal(db), RecordTotal(whole)) << length;
  }
}

TEST(BglRobustness, FilesCutAtEveryOffset) {
  const fab::Bytes bytes = OneOfEachFile();
  LoadEveryPrefix(bytes, FsVersion::Fs2004);
  LoadEveryPrefix(bytes, FsVersion::Fs2002);
}

TEST(BglRobustness, RandomlyDamagedFiles) {
  const fab::Bytes original = OneOfEachFile();
  fab::Random random(20240611);
  for (int round = 0; round < 3000; ++round) {
    fab::Bytes bytes = original;
    const std::uint64_t changes = 1 + random.Below(8);
    for (std::uint64_t i = 0; i < changes; ++i) {
      const std::size_t at = random.Below(bytes.size());
      // Small and huge values break sizes and counts in different ways.
      bytes[at] =
          random.Chance(0.5) ? static_cast<std::uint8_t>(random.Next()) : std::uint8_t{0xFF};
    }
    NavDatabase db;
    ASSERT_EQ(LoadBglBytes(db, bytes, FsVersion::Fs2004), LoadResult::Ok) << round;
  }
}

TEST(BglRobustness, RandomBytes) {
  fab::Random random(7);
  for (int round = 0; round < 500; ++round) {
    fab::Bytes bytes(random.Below(2048));
    for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random.Next());
    if (bytes.size() >= 24) {  // give most of them a believable header
      fab::PutU16(bytes, 2, 0x1992);
      fab::PutU32(bytes, 4, static_cast<std::uint32_t>(random.Below(bytes.size())));
      fab::PutU32(bytes, 20, static_cast<std::uint32_t>(random.Below(64)));
    }
    for (const FsVersion version : {FsVersion::Fs2002, FsVersion::Fs2004}) {
      NavDatabase db;
      ASSERT_EQ(LoadBglBytes(db, bytes, version), LoadResult::Ok) << round;
    }
  }
}

TEST(BglRobustness, RealFilesCutAtEveryOffset) {
  const std::filesystem::path root = testing::RealDataDir();
  if (root.empty()) GTEST_SKIP() << testing::RealDataAbsent();
  const std::string text = testing::ReadFile(root / "lkaa-vfr-waypoints" / "scenery" / "lkcv.BGL");
  ASSERT_FALSE(text.empty());
  LoadEveryPrefix(fab::Bytes(text.begin(), text.end()), FsVersion::Fs2004);
  const std::string foreign = testing::ReadFile(root / "foreign" / "later-format-airport.bgl");
  LoadEveryPrefix(fab::Bytes(foreign.begin(), foreign.end()), FsVersion::Fs2004);
}

}  // namespace
}  // namespace tarnvale
