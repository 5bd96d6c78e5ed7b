// Tests of Scenery.cfg reading: areas and their folders, unusable and huge files, memory running
// out, and two real files from FS2004 installations.

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <functional>
#include <string>
#include <vector>

#include "config/cfg_file_reader.h"
#include "platform/fault_injection.h"
#include "platform/system_file.h"
#include "scenery/bounded_memory.h"
#include "support/deadline.h"
#include "support/temp_dir.h"

namespace tarnvale {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::WriteFile;

// A simulator folder with a Scenery.cfg and the area folders it names.
class SceneryLibrary {
 public:
  explicit SceneryLibrary(const std::string& text, const std::vector<std::string>& folders = {}) {
    WriteFile(simulator() / "Scenery.cfg", text);
    for (const std::string& folder : folders) fs::create_directories(simulator() / folder);
  }
  fs::path simulator() const { return dir_ / "FS9"; }
  CfgResult Read(CFG_File_Reader& reader) const {
    return reader.ReadSceneryLibrary(simulator() / "Scenery.cfg");
  }

 private:
  TempDir dir_;
};

std::vector<std::string> Titles(const CFG_File_Reader& reader) {
  std::vector<std::string> titles;
  for (const SceneryArea& area : reader.SceneryAreas)
    titles.push_back(area.Title.value_or("<none>"));
  return titles;
}

struct AreasCase {
  const char* name;
  std::string text;
  std::function<void(const std::vector<SceneryArea>&)> check;
};

class SceneryLibraryReadTest : public ::testing::TestWithParam<AreasCase> {};

TEST_P(SceneryLibraryReadTest, Table) {
  const SceneryLibrary library(GetParam().text);
  CFG_File_Reader reader;
  ASSERT_EQ(library.Read(reader), CfgResult::Ok);
  GetParam().check(reader.SceneryAreas);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SceneryLibraryReadTest,
    ::testing::Values(
        AreasCase{"AnyCaseOfAreaHeaderOpensAnArea",
                  "[AREA.001]\n[area.001]\n[Area.xyz\n[Area.001]\n",
                  [](const auto& areas) { EXPECT_EQ(areas.size(), 4u); }},
        AreasCase{"NewAreasStartCleared", "[Area.001]\n",
                  [](const auto& areas) {
                    ASSERT_EQ(areas.size(), 1u);
                    EXPECT_FALSE(areas[0].Title.has_value());
                    EXPECT_TRUE(areas[0].Local.empty());
                    EXPECT_EQ(areas[0].Remote, "");
                    EXPECT_EQ(areas[0].Active, 0);
                    EXPECT_EQ(areas[0].Required, 0);
                    EXPECT_EQ(areas[0].Layer, 0);
                    EXPECT_EQ(areas[0].Texture_ID, 0);
                  }},
        AreasCase{"FlagsAreTrueOrFalseOnly",
                  "[Area.1]\nActive=true\nRequired=TRUE\n[Area.2]\nActive=1\n[Area.3]\nActive=yes\n"
                  "[Area.4]\nActive=TRUE\nActive=FALSE\n",
                  [](const auto& areas) {
                    ASSERT_EQ(areas.size(), 4u);
                    EXPECT_EQ(areas[0].Active, 1);
                    EXPECT_EQ(areas[0].Required, 1);
                    EXPECT_EQ(areas[1].Active, 0);
                    EXPECT_EQ(areas[2].Active, 0);
                    EXPECT_EQ(areas[3].Active, 0);
                  }},
        AreasCase{"Numbers",
                  "[Area.1]\nTexture_ID=300\nLayer=abc\n[Area.2]\nLayer=-3\nTexture_ID=-1\n",
                  [](const auto& areas) {
                    EXPECT_EQ(areas[0].Texture_ID, 44);
                    EXPECT_EQ(areas[0].Layer, 0);
                    EXPECT_EQ(areas[1].Layer, -3);
                    EXPECT_EQ(areas[1].Texture_ID, 255);
                  }},
        AreasCase{"TitlesAndComments",
                  "[Area.1]\nTitle=My Area // comment\n[Area.2]\nTitle=A//B\n[Area.3]\nTitle=//B\n"
                  "[Area.4]\nTitle=First\nTitles=Second\nRemote=\\\\server\\x\\\n",
                  [](const auto& areas) {
                    EXPECT_EQ(areas[0].Title, "My Area");
                    EXPECT_EQ(areas[1].Title, "A");
                    EXPECT_FALSE(areas[2].Title.has_value());
                    EXPECT_EQ(areas[3].Title, "Second");  // prefix match
                    EXPECT_EQ(areas[3].Remote, "\\\\server\\x\\");
                  }},
        AreasCase{
            "OnlyAreaSectionsTakeKeys",
            "Title=Before\n[General]\nTitle=General\n[Area.1]\nTitle=One\n[Cache.001]\nTitle=Cache\n"
            "[Area.2]\nTitle=Two\n[Extras]\nTitle=StillTwo\nActive=TRUE\n",
            [](const auto& areas) {
              ASSERT_EQ(areas.size(), 2u);
              EXPECT_EQ(areas[0].Title, "One");
              EXPECT_EQ(areas[1].Title, "StillTwo");
              EXPECT_EQ(areas[1].Active, 1);
            }},
        AreasCase{"LongLineKeepsOnly254Characters",
                  "[Area.1]\nTitle=" + std::string(294, 'x') + "\nActive=TRUE",
                  [](const auto& areas) {
                    EXPECT_EQ(areas[0].Title, std::string(248, 'x'));
                    EXPECT_EQ(areas[0].Active, 1);  // the line after, without a line end
                  }},
        AreasCase{"LineEndsReadTheSame",
                  "[Area.1]\rActive=TRUE\r[Area.2]\r\nActive=TRUE\n\r[Area.3]\fActive=TRUE",
                  [](const auto& areas) {
                    ASSERT_EQ(areas.size(), 3u);
                    for (const SceneryArea& area : areas) EXPECT_EQ(area.Active, 1);
                  }},
        AreasCase{"NoAreaHeader", "[General]\nTitle=World\n",
                  [](const auto& areas) { EXPECT_TRUE(areas.empty()); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SceneryLibrary, AreaFoldersResolveAgainstTheSimulatorFolder) {
  const SceneryLibrary library(
      "[Area.1]\nLocal=\\Scenery\\World\\\n"
      "[Area.2]\nLocal=scenery/WORLD\n"
      "[Area.3]\nLocal=Scenery\\Missing\n"
      "[Area.4]\nLocal=Scenery\\World\nLocal=Scenery\\Missing\n"
      "[Area.5]\nLocal=Addon Scenery\n",
      {"Scenery/World/scenery", "Addon Scenery/Scenery"});
  CFG_File_Reader reader;
  ASSERT_EQ(library.Read(reader), CfgResult::Ok);
  ASSERT_EQ(reader.SceneryAreaCount(), 5);
  const fs::path world = library.simulator() / "Scenery/World/scenery";
  EXPECT_EQ(reader.SceneryAreas[0].Local, world);
  EXPECT_EQ(reader.SceneryAreas[1].Local, world);
  EXPECT_EQ(reader.SceneryAreas[2].Local, fs::path());
  EXPECT_EQ(reader.SceneryAreas[3].Local, fs::path());
  EXPECT_EQ(reader.SceneryAreas[4].Local, library.simulator() / "Addon Scenery/Scenery");
}

TEST(SceneryLibrary, AbsoluteAndDriveLetterFolders) {
  TempDir addon;
  fs::create_directories(addon / "Pack/Scenery");
  const SceneryLibrary library("[Area.1]\nLocal=" + (addon / "PACK").string() +
                               "/\n[Area.2]\nLocal=" + (addon / "Gone").string() +
                               "\n[Area.3]\nLocal=D:\\Pack\n");
  CFG_File_Reader reader;
  ASSERT_EQ(library.Read(reader), CfgResult::Ok);
  EXPECT_EQ(reader.SceneryAreas[0].Local, addon / "Pack/Scenery");
  EXPECT_EQ(reader.SceneryAreas[1].Local, fs::path());
  EXPECT_EQ(reader.SceneryAreas[2].Local, fs::path());  // no Wine prefix holds the simulator
}

TEST(SceneryLibrary, ReadingAppendsAndReleaseEmpties) {
  const SceneryLibrary library("[Area.1]\nTitle=One\n[Area.2]\n");
  CFG_File_Reader reader;
  library.Read(reader);
  library.Read(reader);
  EXPECT_EQ(Titles(reader), (std::vector<std::string>{"One", "<none>", "One", "<none>"}));
  reader.ReleaseSceneryAreas();
  EXPECT_EQ(reader.SceneryAreaCount(), 0);
}

// A settings file that is missing or no regular file gives nothing and says
// why; a FIFO (no writer will ever come) is turned away at once.
TEST(SceneryLibrary, UnusableFilesGiveNothingAndSayWhy) {
  TempDir dir;
  fs::create_directories(dir / "folder.cfg");
#ifndef _WIN32
  ASSERT_EQ(::mkfifo((dir / "fifo.cfg").c_str(), 0600), 0);
  const testing::Deadline deadline(20);
#endif
  const std::vector<std::pair<std::string, std::error_code>> rows = {
      {"missing.cfg", std::make_error_code(std::errc::no_such_file_or_directory)},
      {"folder.cfg", platform::NotARegularFile()},
#ifndef _WIN32
      {"fifo.cfg", platform::NotARegularFile()},
#endif
  };
  for (const auto& [name, reason] : rows) {
    for (const auto read :
         {&CFG_File_Reader::ReadSceneryLibrary, &CFG_File_Reader::ReadProgramConfig}) {
      CFG_File_Reader reader;
      std::error_code error;
      EXPECT_EQ((reader.*read)(dir / name, &error), CfgResult::Unreadable) << name;
      EXPECT_EQ(error, reason) << name << ": " << error.message();
      EXPECT_EQ(reader.SceneryAreaCount(), 0);
    }
  }
}

// A file of gigabytes (here mostly NUL bytes, which add nothing to a line)
// is read line by line: memory holds a piece and a line, not the file.
TEST(SceneryLibrary, AHugeFileIsReadInBoundedMemory) {
  using testing::kMiB;
  TempDir dir;
  const std::uint64_t size = (testing::kAddressSanitizer ? 256 : 2048) * std::uint64_t{kMiB};
  const std::string first = "[Area.001]\r\nTitle=First\r\n";
  const std::string last = "\r\n[Area.002]\r\nTitle=Last";
  const auto bytes = [](const std::string& text) {
    return std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  };
  if (const auto why = testing::WriteSparseFile(
          dir / "Scenery.cfg", size, {{0, bytes(first)}, {size - last.size(), bytes(last)}})) {
    GTEST_SKIP() << *why;
  }
  const std::optional<testing::PeakMemory> peak = testing::PeakMemory::Reset();
  CFG_File_Reader reader;
  ASSERT_EQ(reader.ReadSceneryLibrary(dir / "Scenery.cfg"), CfgResult::Ok);
  EXPECT_EQ(Titles(reader), (std::vector<std::string>{"First", "Last"}));
  if (!peak) GTEST_SKIP() << "the peak resident memory cannot be reset here";
  EXPECT_LT(peak->Rise(), 32 * kMiB);
}

TEST(SceneryLibrary, OutOfMemoryStopsReadingAndKeepsWhatWasRead) {
  const SceneryLibrary library("[Area.1]\nTitle=One\n[Area.2]\nTitle=Two\n[Area.3]\n");
  platform::FaultScope faults;
  for (const auto& [budget, titles] : std::vector<std::pair<unsigned, std::vector<std::string>>>{
           {0, {}}, {1, {"<none>"}}, {3, {"One", "<none>"}}, {4, {"One", "Two"}}}) {
    CFG_File_Reader reader;
    faults.LimitAllocations(platform::FaultSite::ConfigAllocation, budget);
    EXPECT_EQ(library.Read(reader), CfgResult::Failed) << budget;
    EXPECT_EQ(Titles(reader), titles) << budget;
  }
  CFG_File_Reader reader;
  faults.LimitAllocations(platform::FaultSite::ConfigAllocation, 5);
  EXPECT_EQ(library.Read(reader), CfgResult::Ok);
}

// Two real scenery library files from FS2004 installations.
class RealSceneryLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = testing::RealDataDir() / "scenery-cfg";
    if (testing::RealDataDir().empty()) GTEST_SKIP() << testing::RealDataAbsent();
  }
  // Reads `name` as the Scenery.cfg of a simulator folder that holds the
  // scenery folders of the stock areas (lower-case "scenery" inside).
  CFG_File_Reader ReadInstalled(const std::string& name) {
    fs::copy_file(folder_ / name, simulator_ / "SCENERY.CFG");
    fs::create_directories(simulator_ / "Scenery/World/scenery");
    fs::create_directories(simulator_ / "Scenery/Cities/Berlin/scenery");
    fs::create_directories(simulator_ / "Addon Scenery/scenery");
    CFG_File_Reader reader;
    EXPECT_EQ(reader.ReadSceneryLibrary(simulator_ / "Scenery.cfg"), CfgResult::Ok);
    return reader;
  }
  fs::path folder_;
  TempDir dir_;
  fs::path simulator_ = dir_.Path();
};

TEST_F(RealSceneryLibraryTest, LfFileWith120Areas) {
  const CFG_File_Reader reader = ReadInstalled("large-120-areas-lf.cfg");
  ASSERT_EQ(reader.SceneryAreaCount(), 120);
  const std::vector<std::string> titles = Titles(reader);
  EXPECT_EQ(titles.front(), "Default Terrain");
  EXPECT_EQ(titles[117], "Berlin");
  EXPECT_EQ(titles.back(), "Addon Scenery");
  int resolved = 0;
  for (std::size_t i = 0; i < reader.SceneryAreas.size(); ++i) {
    const SceneryArea& area = reader.SceneryAreas[i];
    EXPECT_EQ(area.Active, 1) << i;
    EXPECT_EQ(area.Layer, static_cast<std::int32_t>(i + 1)) << i;
    resolved += !area.Local.empty();
  }
  EXPECT_EQ(resolved, 3);
  EXPECT_EQ(reader.SceneryAreas[0].Local, simulator_ / "Scenery/World/scenery");
  EXPECT_EQ(reader.SceneryAreas[0].Texture_ID, 1);
  EXPECT_EQ(reader.SceneryAreas[0].Required, 1);
  EXPECT_EQ(reader.SceneryAreas[2].Required, 0);
  EXPECT_EQ(reader.SceneryAreas[117].Local, simulator_ / "Scenery/Cities/Berlin/scenery");
  EXPECT_EQ(reader.SceneryAreas.back().Local, simulator_ / "Addon Scenery/scenery");
}

TEST_F(RealSceneryLibraryTest, CrLfFileWithStringTableTitles) {
  const CFG_File_Reader reader = ReadInstalled("string-table-titles-crlf.cfg");
  ASSERT_EQ(reader.SceneryAreaCount(), 124);
  EXPECT_EQ(reader.SceneryAreas.front().Title, "@IDS_AREA001_DEFAULTTERRAIN");
  EXPECT_EQ(reader.SceneryAreas.back().Title, "@IDS_AREA121_ADDONSCENERY");
  EXPECT_EQ(reader.SceneryAreas.front().Local, simulator_ / "Scenery/World/scenery");
  for (const SceneryArea& area : reader.SceneryAreas) {
    EXPECT_EQ(area.Active, 1);
    ASSERT_TRUE(area.Title.has_value());
    EXPECT_EQ(area.Title->rfind("@IDS_", 0), 0u) << *area.Title;
    EXPECT_EQ(area.Title->find('\r'), std::string::npos);
  }
}

TEST_F(RealSceneryLibraryTest, ReadInPlaceNoAreaHasAFolder) {
  CFG_File_Reader reader;
  ASSERT_EQ(reader.ReadSceneryLibrary(folder_ / "large-120-areas-lf.cfg"), CfgResult::Ok);
  ASSERT_EQ(reader.SceneryAreaCount(), 120);
  for (const SceneryArea& area : reader.SceneryAreas) EXPECT_TRUE(area.Local.empty());
}

}  // namespace
}  // namespace tarnvale
