// Tests of written installations: Scenery.cfg, the program file, magdec.bgl and area folders, and
// generated worlds that repeat with their seed.

#include "sceneryfab/installation_generator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>

#include "scenery/byte_cursor.h"
#include "sceneryfab/installation_writer.h"
#include "support/temp_dir.h"

namespace tarnvale::fab {
namespace {

namespace fs = std::filesystem;
using tarnvale::testing::ReadFile;
using tarnvale::testing::TempDir;

TEST(SceneryCfg, ListsAreasInOrderWithCrLf) {
  PlannedArea world("World", "Scenery\\World");
  PlannedArea addon("Addon", "D:\\Addon Scenery");
  addon.active = false;
  addon.required = true;
  addon.layer = 7;
  addon.texture_id = 300;
  const std::string text = SceneryCfgText({world, addon});
  EXPECT_EQ(text.find("[General]\r\n"), 0u);
  EXPECT_NE(
      text.find("[Area.001]\r\nTitle=World\r\nLocal=Scenery\\World\r\nRemote=\r\nActive=TRUE\r\n"
                "Required=FALSE\r\nLayer=1\r\n\r\n"),
      std::string::npos);
  EXPECT_NE(
      text.find(
          "[Area.002]\r\nTitle=Addon\r\nLocal=D:\\Addon Scenery\r\nRemote=\r\nActive=FALSE\r\n"
          "Required=TRUE\r\nLayer=7\r\nTexture_ID=300\r\n"),
      std::string::npos);
  EXPECT_EQ(text.find('\n', text.find("Layer=1") + 8), text.find("Layer=1") + 8);
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
    EXPECT_EQ(text[at - 1], '\r') << at;
  }
}

TEST(Installation, PlacesProgramMagdecAndAreaFolders) {
  EXPECT_EQ(AreaBglFolder("\\Scenery\\World\\"), fs::path("Scenery/World/Scenery"));
  EXPECT_EQ(AreaBglFolder("Addon/Pack"), fs::path("Addon/Pack/Scenery"));
  EXPECT_THROW(SimulatorProgramName(FsVersionFromNumber(7)), std::invalid_argument);
  for (const FsVersion version : {FsVersion::Fs2002, FsVersion::Fs2004}) {
    TempDir dir;
    Installation installation(dir.Path(), version);
    EXPECT_TRUE(fs::is_regular_file(dir / SimulatorProgramName(version)));
    EXPECT_EQ(ReadFile(dir.Path() / MagdecRelativePath(version)).size(),
              MagdecBytes(version).size());
    EXPECT_EQ(installation.AddArea(PlannedArea("Area", "Scenery\\Area")),
              dir.Path() / "Scenery/Area/Scenery");
    EXPECT_TRUE(fs::is_directory(dir / "Scenery/Area/Scenery"));
    installation.WriteSceneryCfg();
    EXPECT_EQ(ReadFile(dir / "Scenery.cfg"), SceneryCfgText(installation.Areas()));
  }
  EXPECT_EQ(MagdecRelativePath(FsVersion::Fs2004), fs::path("Scenery/BASE/Scenery/magdec.bgl"));
  EXPECT_EQ(MagdecRelativePath(FsVersion::Fs2002), fs::path("scenery/magdec.bgl"));
}

TEST(Installation, MagdecHoldsNothingTheLoaderReads) {
  const Bytes fs9 = MagdecBytes(FsVersion::Fs2004);
  const ByteCursor cursor(fs9);
  EXPECT_EQ(cursor.U16(2), 0x1992);
  ASSERT_EQ(cursor.U32(20), 1u);
  EXPECT_EQ(cursor.U32(56), 104u);
  const Bytes fs8 = MagdecBytes(FsVersion::Fs2002);
  for (std::size_t offset : {18, 78, 118}) EXPECT_EQ(ByteCursor(fs8).U32(offset), 0u) << offset;
}

// Every file below `root` with its bytes, by relative path.
std::map<std::string, std::string> Tree(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file())
      files[fs::relative(entry.path(), root).generic_string()] = ReadFile(entry.path());
  }
  return files;
}

GenerateSummary GenerateDemo(const fs::path& out, std::uint64_t seed) {
  GenerateOptions options;
  options.out = out;
  options.seed = seed;
  return GenerateInstallation(options);
}

TEST(GenerateInstallation, DemoIsALibraryOfReadableAreas) {
  TempDir dir;
  const GenerateSummary summary = GenerateDemo(dir.Path(), 1);
  EXPECT_TRUE(fs::is_regular_file(dir / "fs9.exe"));
  EXPECT_TRUE(fs::is_regular_file(dir / "Scenery/BASE/Scenery/magdec.bgl"));
  const std::string cfg = ReadFile(dir / "Scenery.cfg");
  std::size_t bgl_files = 0;
  std::uintmax_t bgl_bytes = 0;
  for (const auto& [path, bytes] : Tree(dir.Path())) {
    const std::string extension = fs::path(path).extension().string();
    if (extension != ".bgl" && extension != ".BGL") continue;
    ++bgl_files;
    bgl_bytes += bytes.size();
    // Every BGL file lies in the folder of an area the library lists.
    const std::string local = fs::path(path).parent_path().parent_path().generic_string();
    std::string listed = local;
    for (char& c : listed) c = c == '/' ? '\\' : c;
    EXPECT_NE(cfg.find("Local=" + listed + "\r\n"), std::string::npos) << path;
  }
  EXPECT_EQ(summary.bgl_files, bgl_files);
  EXPECT_EQ(summary.bgl_bytes, bgl_bytes);
  EXPECT_GT(summary.navigation_files, 0u);
  EXPECT_EQ(summary.areas, 4u);  // base, two regions, an inactive add-on
  EXPECT_EQ(summary.active_areas, 3u);
  EXPECT_NE(cfg.find("Active=FALSE"), std::string::npos);
  EXPECT_EQ(summary.records.at("airports"), 36u);
  EXPECT_GT(bgl_bytes, 2 * summary.navigation_bytes);  // skipped files outweigh navigation data
}

TEST(GenerateInstallation, SameSeedSameInstallation) {
  TempDir first, second, other;
  GenerateDemo(first.Path(), 42);
  GenerateDemo(second.Path(), 42);
  GenerateDemo(other.Path(), 43);
  const auto tree = Tree(first.Path());
  EXPECT_EQ(tree, Tree(second.Path()));
  const auto changed = Tree(other.Path());
  ASSERT_EQ(tree.size(), changed.size());
  EXPECT_NE(tree.at("Scenery/Region01/Scenery/AP0000.bgl"),
            changed.at("Scenery/Region01/Scenery/AP0000.bgl"));
}

TEST(GenerateInstallation, WorldScaleShrinksEverything) {
  TempDir dir;
  GenerateOptions options;
  options.out = dir.Path();
  options.preset = Preset::World;
  options.scale = 0.005;
  const GenerateSummary summary = GenerateInstallation(options);
  EXPECT_EQ(summary.records.at("airports"), 120u);
  EXPECT_EQ(summary.records.at("fixes"), 375u);
  EXPECT_EQ(summary.navigation_files, 3u);  // one tile: airports, navaids, boundaries
  EXPECT_EQ(summary.skipped_files, 4u);
  EXPECT_NEAR(static_cast<double>(summary.skipped_bytes),
              10.0 * static_cast<double>(summary.navigation_bytes),
              0.2 * static_cast<double>(summary.navigation_bytes));
}

TEST(GenerateInstallation, RejectsBadOptions) {
  TempDir dir;
  GenerateOptions options;
  EXPECT_THROW(GenerateInstallation(options), std::invalid_argument);  // no folder
  options.out = dir.Path();
  options.fs_version = FsVersionFromNumber(7);
  EXPECT_THROW(GenerateInstallation(options), std::invalid_argument);
  options.fs_version = FsVersion::Fs2004;
  options.scale = -2;
  EXPECT_THROW(GenerateInstallation(options), std::invalid_argument);
  tarnvale::testing::WriteFile(dir / "left-over.bgl", "old");
  options.scale = 1;
  EXPECT_THROW(GenerateInstallation(options), std::runtime_error);  // would mix with older files
}

}  // namespace
}  // namespace tarnvale::fab
