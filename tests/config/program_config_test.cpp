// Tests of Program_Config.cfg: what each line sets, the file's fixed layout written and read back
// byte for byte, and a rewrite that never loses the old file.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "config/cfg_file_reader.h"
#include "support/temp_dir.h"

namespace tarnvale {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

CFG_File_Reader ReadProgramConfig(const std::string& text) {
  TempDir dir;
  WriteFile(dir / "Program_Config.cfg", text);
  CFG_File_Reader reader;
  EXPECT_EQ(reader.ReadProgramConfig(dir / "Program_Config.cfg"), CfgResult::Ok);
  return reader;
}

struct ReadCase {
  const char* name;
  std::string text;
  std::function<void(const CFG_File_Reader&)> check;
};

class ProgramConfigReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProgramConfigReadTest, Table) { GetParam().check(ReadProgramConfig(GetParam().text)); }

INSTANTIATE_TEST_SUITE_P(
    Table, ProgramConfigReadTest,
    ::testing::Values(
        ReadCase{
            "MainKeysWithComments",
            "[Main Settings]\r\nProgram_Name=Scopel v5.0\r\nProgram_Id=2         // Please don't change this "
            "number.\r\nFS_Version=9         // Please don't change this number.\r\nFS_Directory=C:\\FS9\\\r\n",
            [](const CFG_File_Reader& r) {
              EXPECT_EQ(r.Program_Name, "Scopel v5.0");
              EXPECT_EQ(r.Program_Id, TargetProgram::Radar);
              EXPECT_EQ(r.FS_Version, FsVersion::Fs2004);
              EXPECT_EQ(r.FS_Directory, "C:\\FS9");
              EXPECT_TRUE(r.HasSimulator());
            }},
        ReadCase{"AbsoluteLinuxFolderKeepsItsRoot",
                 "[MAIN SETTINGS]\nFS_Directory=/home/me/FS9/\nFS_Version=8\n",
                 [](const CFG_File_Reader& r) { EXPECT_EQ(r.FS_Directory, "/home/me/FS9"); }},
        ReadCase{"EmptyFolderIsNone", "[Main Settings]\nFS_Directory=\nFS_Version=9\n",
                 [](const CFG_File_Reader& r) {
                   EXPECT_FALSE(r.FS_Directory.has_value());
                   EXPECT_FALSE(r.HasSimulator());
                 }},
        ReadCase{"VersionZeroAsksAgain", "[Main Settings]\nFS_Directory=/x\nFS_Version=0\n",
                 [](const CFG_File_Reader& r) { EXPECT_FALSE(r.HasSimulator()); }},
        ReadCase{"IdWrapsIn16Bits", "[Main Settings]\nProgram_Id=70000\nFS_Version=-1\n",
                 [](const CFG_File_Reader& r) {
                   EXPECT_EQ(ToNumber(r.Program_Id), 4464);
                   EXPECT_EQ(ToNumber(r.FS_Version), -1);
                 }},
        ReadCase{"PrefixKeyCounts", "[Main Settings]\nProgram_IdX=2\n",
                 [](const CFG_File_Reader& r) { EXPECT_EQ(r.Program_Id, TargetProgram::Radar); }},
        ReadCase{"KeysOutsideMainIgnored", "Program_Id=2\n[Display Settings]\nProgram_Id=1\n",
                 [](const CFG_File_Reader& r) { EXPECT_EQ(r.Program_Id, TargetProgram::None); }},
        ReadCase{
            "IdBeforeDisplayGivesRadarFlags",
            "[Main Settings]\nProgram_Id=2\n[Display Settings]\nILS_Graphic=TRUE\nVORs_Graphic=true\n",
            [](const CFG_File_Reader& r) {
              EXPECT_EQ(r.RadarDisplay.ILS_Graphic, 1);
              EXPECT_EQ(r.RadarDisplay.VORs_Graphic, 1);
              EXPECT_EQ(r.ChartDisplay.ILS_Graphic, 0);
            }},
        ReadCase{"DisplayBeforeIdGivesNoFlags",
                 "[Display Settings]\nILS_Graphic=TRUE\n[Main Settings]\nProgram_Id=2\n",
                 [](const CFG_File_Reader& r) { EXPECT_EQ(r.RadarDisplay.ILS_Graphic, 0); }},
        ReadCase{
            "ChartFlags",
            "[Main Settings]\nProgram_Id=1\n[Display Settings]\nfollow_aircraft=true\nILS_Graphic=TRUE\n"
            "Fuel_Areas=TRUE\nRunways_Hdgs=Yes\n",
            [](const CFG_File_Reader& r) {
              EXPECT_EQ(r.ChartDisplay.Follow_Aircraft, 1);
              EXPECT_EQ(r.ChartDisplay.ILS_Graphic, 1);
              EXPECT_EQ(r.ChartDisplay.Fuel_Area, 1);  // prefix match
              EXPECT_EQ(r.ChartDisplay.Runways_Hdgs, 0);
              EXPECT_EQ(r.RadarDisplay.ILS_Graphic, 0);
            }},
        ReadCase{
            "LaterFalseClearsAFlag",
            "[Main Settings]\nProgram_Id=1\n[Display Settings]\nAirport_Name=TRUE\nAirport_Name=FALSE\n",
            [](const CFG_File_Reader& r) { EXPECT_EQ(r.ChartDisplay.Airport_Name, 0); }},
        ReadCase{
            "RadarNumbersWrap",
            "[Main Settings]\nProgram_Id=2\n[Traffic Settings]\nTraffic_Separation=300\n"
            "Traffic_Altitude_Diff=-9000 // x\nEnable_Traffic_Sound=TRUE\n[Mouse Settings]\nMouse_Pointer=200\n"
            "[Flights Settings]\nNotify_Arrival_FPs=true\n[Colors Settings]\nVORs_Graphic=4294967295\n",
            [](const CFG_File_Reader& r) {
              EXPECT_EQ(r.Traffic_Separation, 44);
              EXPECT_EQ(r.Traffic_Altitude_Diff, -9000);
              EXPECT_EQ(r.Enable_Traffic_Sound, 1);
              EXPECT_EQ(r.Mouse_Pointer, -56);
              EXPECT_EQ(r.Notify_Arrival_FPs, 1);
              EXPECT_EQ(r.Colors.VORs_Graphic, 4294967295u);
            }},
        ReadCase{
            "RadarSectionsIgnoredForTheChartProgram",
            "[Main Settings]\nProgram_Id=1\n[Traffic Settings]\nTraffic_Separation=3\n[Colors Settings]\n"
            "VORs_Graphic=5\n",
            [](const CFG_File_Reader& r) {
              EXPECT_EQ(r.Traffic_Separation, 0);
              EXPECT_EQ(r.Colors.VORs_Graphic, 0u);
            }},
        ReadCase{
            "KeysOnlyInTheirOwnSection",
            "[Main Settings]\nProgram_Id=2\n[Mouse Settings]\nTraffic_Separation=3\n[Unknown]\nMouse_Pointer=1\n",
            [](const CFG_File_Reader& r) {
              EXPECT_EQ(r.Traffic_Separation, 0);
              EXPECT_EQ(r.Mouse_Pointer, 1);  // an unknown header keeps the section
            }},
        ReadCase{
            "IdThreeReadsOnlyMain",
            "[Main Settings]\nProgram_Id=3\n[Display Settings]\nILS_Graphic=TRUE\n[Mouse Settings]\n"
            "Mouse_Pointer=1\n",
            [](const CFG_File_Reader& r) {
              EXPECT_EQ(r.RadarDisplay.ILS_Graphic, 0);
              EXPECT_EQ(r.ChartDisplay.ILS_Graphic, 0);
              EXPECT_EQ(r.Mouse_Pointer, 0);
            }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProgramConfig, MissingFileReadsNothing) {
  TempDir dir;
  CFG_File_Reader reader;
  EXPECT_EQ(reader.ReadProgramConfig(dir / "Program_Config.cfg"), CfgResult::Unreadable);
  WriteFile(dir / "Program_Config.cfg", "[Main Settings]\nProgram_Id=2\n");
  EXPECT_EQ(reader.ReadProgramConfig(dir.Path()), CfgResult::Unreadable);
  EXPECT_EQ(reader.Program_Id, TargetProgram::None);
  EXPECT_EQ(reader.ReadProgramConfig(dir / "PROGRAM_CONFIG.CFG"), CfgResult::Ok);
  EXPECT_EQ(reader.Program_Id, TargetProgram::Radar);
}

constexpr const char* kChartFirstUse =
    "[Main Settings]\r\n"
    "Program_Name=Brisolt v5.0\r\n"
    "Program_Id=1         // Please don't change this number.\r\n"
    "FS_Version=9         // Please don't change this number.\r\n"
    "FS_Directory=/opt/FS9\r\n"
    "\r\n"
    "[Display Settings]\r\n"
    "Follow_Aircraft=TRUE\r\n"
    "ILS_Graphic=TRUE\r\n"
    "ILS_Frequency=TRUE\r\n"
    "Taxiways_Graphic=TRUE\r\n"
    "Taxiways_IDs=TRUE\r\n"
    "Parkings_Graphic=TRUE\r\n"
    "Airport_Name=TRUE\r\n"
    "Runways_IDs=TRUE\r\n"
    "Fuel_Area=TRUE\r\n"
    "Runways_Hdgs=TRUE\r\n";

constexpr const char* kRadarFirstUse =
    "[Main Settings]\r\n"
    "Program_Name=\r\n"
    "Program_Id=2         // Please don't change this number.\r\n"
    "FS_Version=8         // Please don't change this number.\r\n"
    "FS_Directory=C:\\FS2002\r\n"
    "\r\n"
    "[Display Settings]\r\n"
    "Airport_Location=TRUE\r\n"
    "Airspaces_Graphic=TRUE\r\n"
    "Airways_J_Graphic=TRUE\r\n"
    "Airways_V_Graphic=TRUE\r\n"
    "ILS_Graphic=TRUE\r\n"
    "Intersections_Graphic=TRUE\r\n"
    "Markers_Graphic=TRUE\r\n"
    "NDBs_Graphic=TRUE\r\n"
    "Parkings_Graphic=TRUE\r\n"
    "Radar_Rings_Graphic=TRUE\r\n"
    "Runways_Graphic=TRUE\r\n"
    "Runways_IDs=TRUE\r\n"
    "Taxiways_Graphic=TRUE\r\n"
    "Taxiways_IDs=TRUE\r\n"
    "Tower_Airspaces_Graphic=TRUE\r\n"
    "Additional_Airspaces=TRUE\r\n"
    "Fuel_Areas=TRUE\r\n"
    "TRACON_Airspaces_Graphic=TRUE\r\n"
    "VORs_Graphic=TRUE\r\n"
    "World_Map_Graphic=TRUE\r\n"
    "\r\n"
    "[Colors Settings]         // Please don't change any number or value in this section.\r\n"
    "Airport_ICAO_ID=16777215\r\n"
    "Airport_Location=255\r\n"
    "Airspaces_Graphic=16776960\r\n"
    "Airways_J_Graphic=65280\r\n"
    "Airways_V_Graphic=65280\r\n"
    "ILS_Graphic=65535\r\n"
    "Inner_Markers_Graphic=16777215\r\n"
    "Intersections_Graphic=16777215\r\n"
    "Middle_Markers_Graphic=33023\r\n"
    "My_Airspace_Graphic=12583104\r\n"
    "NDBs_Graphic=65280\r\n"
    "Outer_Markers_Graphic=16711680\r\n"
    "Parkings_Graphic=4210816\r\n"
    "Radar_Rings_Graphic=8421504\r\n"
    "Runways_Graphic=49152\r\n"
    "Runways_Guide_Lines=49152\r\n"
    "Runways_IDs=16777215\r\n"
    "SIDs_Graphic=12632256\r\n"
    "STARs_Graphic=12632256\r\n"
    "Fuel_Areas=65535\r\n"
    "Taxiways_Graphic=12632256\r\n"
    "Taxiways_IDs=16777215\r\n"
    "VORs_Graphic=16711680\r\n"
    "World_Map_Graphic=8421504\r\n"
    "\r\n"
    "[Traffic Settings]\r\n"
    "Enable_Traffic_Sound=FALSE\r\n"
    "Traffic_Altitude_Diff=2000         // In feet. This number MUST BE bettween 0 and 9000 feet.\r\n"
    "Traffic_Separation=3         // In miles. This number MUST BE bettween 0 and 5 miles.\r\n"
    "\r\n"
    "[Flights Settings]\r\n"
    "Notify_Arrival_FPs=TRUE\r\n"
    "\r\n"
    "[Mouse Settings]\r\n"
    "Mouse_Pointer=1         // This value can be: 0 -> Default, 1 -> Cross\r\n";

constexpr const char* kOtherProgram =
    "[Main Settings]\r\n"
    "Program_Name=Other\r\n"
    "Program_Id=3         // Please don't change this number.\r\n"
    "FS_Version=9         // Please don't change this number.\r\n"
    "FS_Directory=\r\n";

CFG_File_Reader FirstUse(std::int16_t program_id, std::int16_t fs_version, const char* folder,
                         const char* name) {
  CFG_File_Reader reader;
  reader.Program_Id = TargetProgramFromNumber(program_id);
  if (name[0] != '\0') reader.Program_Name = name;
  reader.FS_Version = FsVersionFromNumber(fs_version);
  reader.FS_Directory = folder;
  reader.SetFirstUseDefaults();
  return reader;
}

struct LayoutCase {
  const char* name;
  CFG_File_Reader reader;
  const char* bytes;
};

class ProgramConfigLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ProgramConfigLayoutTest, WritesTheFixedLayoutAndReadsItBackByteExact) {
  const LayoutCase& c = GetParam();
  EXPECT_EQ(c.reader.ProgramConfigText(), c.bytes);

  TempDir dir;
  WriteFile(dir / "Program_Config.cfg", "old settings");
  ASSERT_EQ(c.reader.WriteProgramConfig(dir / "Program_Config.cfg"), CfgResult::Ok);
  EXPECT_EQ(ReadFile(dir / "Program_Config.cfg"), c.bytes);

  CFG_File_Reader again;
  ASSERT_EQ(again.ReadProgramConfig(dir / "Program_Config.cfg"), CfgResult::Ok);
  ASSERT_EQ(again.WriteProgramConfig(dir / "Program_Config.cfg"), CfgResult::Ok);
  EXPECT_EQ(ReadFile(dir / "Program_Config.cfg"), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProgramConfigLayoutTest,
    ::testing::Values(LayoutCase{"Chart", FirstUse(1, 9, "/opt/FS9", "Brisolt v5.0"),
                                 kChartFirstUse},
                      LayoutCase{"Radar", FirstUse(2, 8, "C:\\FS2002", ""), kRadarFirstUse},
                      LayoutCase{"Other", FirstUse(3, 9, "", "Other"), kOtherProgram}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProgramConfig, UnusualValuesSurviveARoundTrip) {
  CFG_File_Reader reader = FirstUse(2, 9, "/home/me/Flight Simulator 9", "Scopel v5.0");
  reader.Traffic_Separation = -128;
  reader.Traffic_Altitude_Diff = -2147483647 - 1;
  reader.Mouse_Pointer = -56;
  reader.Colors.VORs_Graphic = 4294967295u;
  reader.RadarDisplay.Fuel_Areas = 0;
  reader.Enable_Traffic_Sound = 1;
  TempDir dir;
  WriteFile(dir / "Program_Config.cfg", "");
  ASSERT_EQ(reader.WriteProgramConfig(dir / "Program_Config.cfg"), CfgResult::Ok);
  CFG_File_Reader again;
  ASSERT_EQ(again.ReadProgramConfig(dir / "Program_Config.cfg"), CfgResult::Ok);
  EXPECT_EQ(again.ProgramConfigText(), reader.ProgramConfigText());
  EXPECT_EQ(again.Traffic_Altitude_Diff, reader.Traffic_Altitude_Diff);
}

TEST(ProgramConfig, FlagsOtherThanZeroOrOneWriteNothing) {
  CFG_File_Reader reader = FirstUse(1, 9, "/x", "");
  reader.ChartDisplay.Runways_Hdgs = 7;
  EXPECT_NE(reader.ProgramConfigText().find("Runways_Hdgs=\r\n"), std::string::npos);
}

TEST(ProgramConfig, StartErrorRewriteLeavesAnEmptyFolder) {
  TempDir dir;
  WriteFile(dir / "Program_Config.cfg", kChartFirstUse);
  CFG_File_Reader reader;
  ASSERT_EQ(reader.ReadProgramConfig(dir / "Program_Config.cfg"), CfgResult::Ok);
  reader.FS_Directory = "";
  ASSERT_EQ(reader.WriteProgramConfig(dir / "Program_Config.cfg"), CfgResult::Ok);
  CFG_File_Reader next_start;
  ASSERT_EQ(next_start.ReadProgramConfig(dir / "Program_Config.cfg"), CfgResult::Ok);
  EXPECT_FALSE(next_start.FS_Directory.has_value());
  EXPECT_FALSE(next_start.HasSimulator());
  EXPECT_EQ(next_start.ChartDisplay.Follow_Aircraft, 1);
}

TEST(ProgramConfig, WriteNeedsTheOldFileAndNeverLosesIt) {
  TempDir dir;
  const CFG_File_Reader reader = FirstUse(1, 9, "/opt/FS9", "Brisolt v5.0");
  EXPECT_EQ(reader.WriteProgramConfig(dir / "Program_Config.cfg"), CfgResult::Failed);
  EXPECT_FALSE(fs::exists(dir / "Program_Config.cfg"));

  WriteFile(dir / "Program_Config.cfg/keep", "x");  // a folder cannot be replaced
  EXPECT_EQ(reader.WriteProgramConfig(dir / "Program_Config.cfg"), CfgResult::Failed);
  EXPECT_EQ(ReadFile(dir / "Program_Config.cfg/keep"), "x");

  // No temporary name fits beside a 250-character name: the write fails.
  const std::string long_name(250, 'p');
  WriteFile(dir / long_name, "old");
  EXPECT_EQ(reader.WriteProgramConfig(dir / long_name), CfgResult::Failed);
  EXPECT_EQ(ReadFile(dir / long_name), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 2);
}

TEST(ProgramConfig, WriteReplacesTheFileWhateverItsLetterCase) {
  TempDir dir;
  WriteFile(dir / "PROGRAM_CONFIG.CFG", "old");
  ASSERT_EQ(FirstUse(3, 9, "", "Other").WriteProgramConfig(dir / "Program_Config.cfg"),
            CfgResult::Ok);
  EXPECT_EQ(ReadFile(dir / "PROGRAM_CONFIG.CFG"), kOtherProgram);
#ifdef _WIN32  // one name in any letter case: the file keeps the one it had
  EXPECT_EQ(fs::directory_iterator(dir.Path())->path().filename(), "PROGRAM_CONFIG.CFG");
#else
  EXPECT_FALSE(fs::exists(dir / "Program_Config.cfg"));
#endif
}

TEST(ProgramConfig, FirstUseDefaultsReplaceWhatTheFileHeld) {
  CFG_File_Reader reader;
  reader.Program_Id = TargetProgram::Radar;
  reader.Mouse_Pointer = 0;
  reader.Colors.VORs_Graphic = 1;
  reader.SetFirstUseDefaults();
  EXPECT_EQ(reader.Mouse_Pointer, 1);
  EXPECT_EQ(reader.Colors.VORs_Graphic, 0xFF0000u);
  EXPECT_EQ(reader.ChartDisplay.Follow_Aircraft, 0);

  CFG_File_Reader other;
  other.Program_Id = TargetProgramFromNumber(3);
  other.SetFirstUseDefaults();
  EXPECT_EQ(other.Mouse_Pointer, 0);
  EXPECT_EQ(other.Colors.VORs_Graphic, 0u);
  EXPECT_EQ(other.RadarDisplay.VORs_Graphic, 0);
  EXPECT_EQ(other.ChartDisplay.Follow_Aircraft, 0);
}

TEST(ProgramConfig, SimulatorFolderIsFoundInAnyLetterCase) {
  TempDir dir;
  fs::create_directories(dir / "Games/FS9");
  CFG_File_Reader reader;
  EXPECT_EQ(reader.SimulatorFolder(), fs::path());
  reader.FS_Directory = (dir / "GAMES/fs9").string();
  EXPECT_EQ(reader.SimulatorFolder(), dir / "Games/FS9");

#ifndef _WIN32  // through a Wine prefix
  fs::create_directories(dir / "wine/drive_c/FS9");
  fs::create_directories(dir / "wine/drive_c/Sibling");
  reader.FS_Directory = "C:\\fs9";
  EXPECT_EQ(reader.SimulatorFolder(dir / "wine/drive_c/Sibling"), dir / "wine/drive_c/FS9");
#endif
}

}  // namespace
}  // namespace tarnvale
