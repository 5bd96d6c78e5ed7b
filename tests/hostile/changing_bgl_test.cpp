// Scenery files that change under the loader, or claim more than they hold.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <thread>

#include "scenery/bgl_loader.h"
#include "sceneryfab/installation_generator.h"
#include "support/temp_dir.h"

namespace tarnvale::testing {
namespace {

namespace fs = std::filesystem;

std::size_t RecordCount(const NavDatabase& db) {
  return db.Airports.size() + db.FuelAreas.size() + db.Airspaces.size() + db.Vors.size() +
         db.Ndbs.size() + db.Markers.size() + db.Ilss.size() + db.Fixes.size() +
         db.JetAirways.size() + db.VictorAirways.size();
}

std::span<const std::uint8_t> BytesOf(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// A navigation file of the generated demo installation.
std::string DemoAirportFile(const TempDir& dir) {
  fab::GenerateOptions options;
  options.out = dir / "sim";
  fab::GenerateInstallation(options);
  return ReadFile(dir / "sim" / "Scenery" / "Region01" / "Scenery" / "AP0000.bgl");
}

// A file cut short: its tables point past its end. Read from disk (in
// parts, as the walk asks) it gives exactly what the same bytes give from
// memory.
TEST(ChangingBgl, FileShorterThanItsHeaderSays) {
  const TempDir dir;
  const std::string whole = DemoAirportFile(dir);
  ASSERT_GT(whole.size(), 1000u);
  for (std::size_t length = 0; length < whole.size(); length += 97) {
    const std::string cut = whole.substr(0, length);
    WriteFile(dir / "cut.bgl", cut);
    NavDatabase from_disk;
    NavDatabase from_memory;
    ASSERT_EQ(BglLoader(from_disk, dir / "cut.bgl", FsVersion::Fs2004), LoadResult::Ok);
    ASSERT_EQ(LoadBglBytes(from_memory, BytesOf(cut), FsVersion::Fs2004), LoadResult::Ok);
    EXPECT_EQ(RecordCount(from_disk), RecordCount(from_memory)) << "cut at " << length;
  }
}

// Another process cuts the file and writes it back again and again while
// it is loaded: every load ends normally with at most the whole file's
// records, and never reads outside its buffer (checked under the sanitizers).
TEST(ChangingBgl, FileCutWhileItIsRead) {
  const TempDir dir;
  const std::string whole = DemoAirportFile(dir);
  const fs::path file = dir / "changing.bgl";
  WriteFile(file, whole);
  NavDatabase reference;
  ASSERT_EQ(BglLoader(reference, file, FsVersion::Fs2004), LoadResult::Ok);

  std::atomic<bool> done{false};
  std::thread cutter([&] {
    for (std::size_t round = 0; !done; ++round) {
      fs::resize_file(file, (round * 131) % whole.size());
      WriteFile(file, whole);
    }
  });
  for (int load = 0; load < 300; ++load) {
    NavDatabase db;
    FileReading reading;
    ASSERT_EQ(BglLoader(db, file, FsVersion::Fs2004, &reading), LoadResult::Ok);
    EXPECT_LE(RecordCount(db), RecordCount(reference));
  }
  done = true;
  cutter.join();
}

}  // namespace
}  // namespace tarnvale::testing
