// The scan report of a creation run over scenery that holds every kind of
// area and of odd file, and over two real scenery libraries whose area
// folders are all absent.
#include "app/scan_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "app/creation_run.h"
#include "app/ident_explanation.h"
#include "app/report_archive.h"
#include "app/scan_report_json.h"
#include "app/startup.h"
#include "config/cfg_file_reader.h"
#include "output/database_set.h"
#include "platform/paths.h"
#include "sceneryfab/fs2004_writer.h"
#include "sceneryfab/installation_writer.h"
#include "small_airport.h"
#include "support/program_folder.h"
#include "support/recording_run_view.h"
#include "support/row_names.h"
#include "support/temp_dir.h"

namespace tarnvale {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

fab::Bytes AirportFile(const std::vector<std::string>& idents) {
  fab::SceneryContent content;
  for (const std::string& ident : idents) {
    content.airports.push_back(
        testing::SmallAirport(ident, 40.0 + static_cast<double>(content.airports.size()), 2500.0));
  }
  return fab::BuildFs2004File(fab::MakeFs2004File(content));
}

::testing::AssertionResult HasPart(const std::string& text, const std::string& part) {
  if (text.find(part) != std::string::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "\"" << part << "\" is not in \"" << text << "\"";
}

std::string Text(const fab::Bytes& bytes) { return {bytes.begin(), bytes.end()}; }

// A file of a later simulator generation in the same container: its airport
// record carries another id.
fab::Bytes LaterFormatFile() {
  fab::Fs2004Record airport = fab::EncodeAirport(testing::SmallAirport("KLTR", 35.0, 2500.0));
  airport.id = 0x3C;
  fab::Fs2004File file;
  file.sections.push_back(fab::MakeFs2004Section(fab::kFs2004Airports, {fab::Serialize(airport)}));
  return fab::BuildFs2004File(file);
}

std::string RandomBytes(std::size_t count) {
  std::mt19937 generator(2024);
  std::string bytes;
  for (std::size_t i = 0; i < count; ++i) bytes += static_cast<char>(generator() & 0xFF);
  return bytes;
}

// Every database file of the set a run left in `target`, by name.
std::map<std::string, std::string> DatabaseFiles(const fs::path& target) {
  std::map<std::string, std::string> files;
  for (std::string_view name : kOutputFileSet) {
    if (fs::exists(target / name)) files[std::string(name)] = ReadFile(target / name);
  }
  return files;
}

RunSummary RunOver(const fs::path& simulator, const fs::path& target) {
  ProgramState state;
  state.TargetFolder = target;
  state.config.Program_Id = TargetProgram::Chart;
  state.config.FS_Version = FsVersion::Fs2004;
  state.config.FS_Directory = simulator.string();
  testing::RecordingRunView view;
  return CreationRun(state, view);
}

const AreaScan* FindArea(const ScanReport& scan, const std::string& title) {
  for (const AreaScan& area : scan.areas) {
    if (area.title == title) return &area;
  }
  return nullptr;
}

std::size_t Records(const AreaScan& area, const std::string& kind) {
  for (const RecordCount& count : area.records) {
    if (count.kind == kind) return count.count;
  }
  return 0;
}

struct OddFile {
  const char* name;
  FileStatus status;
  bool skips;         // skipped > 0
  bool adds_nothing;  // removed for the run it is compared with
};

// The odd files of the area "Main", beside a.bgl (LSZH) and b.bgl (LSZH,
// EDDF), which are read whole.
const OddFile kOddFiles[] = {
    {"empty.bgl", FileStatus::Short, false, true},
    {"short.bgl", FileStatus::Short, false, true},
    // The walk reads 24 header bytes, then the section table at 56.
    {"header-cut.bgl", FileStatus::Short, false, true},  // 23 bytes
    {"table-cut.bgl", FileStatus::Damaged, true, true},  // 40 bytes: the table is cut
    {"random.bgl", FileStatus::NotBgl, false, true},
    {"later.bgl", FileStatus::LaterFormat, true, true},   // its airport is passed over
    {"truncated.bgl", FileStatus::Damaged, true, false},  // its first airports are still read
    {"dir.bgl", FileStatus::Unreadable, false, true},     // a folder
    {"gone.bgl", FileStatus::Unreadable, false, true},    // a broken link
};

class CraftedScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
#ifdef _WIN32
    GTEST_SKIP() << "the areas need a folder in another letter case beside its twin and a "
                    "symbolic link, neither of which Windows has";
#endif
  }

  CraftedScanTest() : simulator_(dir_ / "FS9", FsVersion::Fs2004) {
#ifdef _WIN32
    return;
#endif
    testing::WriteProgramConfigFile(target_, 1, 9, simulator_.Root().string());
    // Listed in this order; read from the last to the first.
    main_ = simulator_.AddArea({"Main", "Scenery\\Main"});
    shared_ = simulator_.AddArea({"Shared one", "Scenery\\Shared"});
    fab::PlannedArea off("Switched off", "Scenery\\Off");
    off.active = false;
    WriteFile(simulator_.AddArea(off) / "off.bgl", Text(AirportFile({"OFFA"})));
    simulator_.AddArea({"Gone", "Scenery\\Gone"});
    fs::remove_all(simulator_.Root() / "Scenery" / "Gone");
    // Its folder exists, but the path is longer than 259 characters.
    simulator_.AddArea({"Very long", "Scenery\\" + std::string(240, 'L')});
    // The same folder as "Shared one", written in other letter case.
    simulator_.AddArea({"Shared two", "scenery\\SHARED"});
    fs::remove_all(simulator_.Root() / "scenery");
    simulator_.WriteSceneryCfg();

    fab::SceneryContent shared;
    shared.airports.push_back(testing::SmallAirport("LFPG", 49.0, 2500.0));
    fab::Intersection fix;
    fix.ident = "ABCDE";
    fix.region = "LF";
    fix.position = {49.5, 2.5};
    shared.intersections.push_back(fix);
    WriteFile(shared_ / "shared.bgl", Text(fab::BuildFs2004File(fab::MakeFs2004File(shared))));

    WriteFile(main_ / "a.bgl", Text(AirportFile({"LSZH"})));
    WriteFile(main_ / "b.bgl", Text(AirportFile({"LSZH", "EDDF"})));
    const std::string whole = Text(AirportFile({"EGLL", "EGKK", "EGSS"}));
    WriteFile(main_ / "empty.bgl", "");
    WriteFile(main_ / "short.bgl", whole.substr(0, 10));
    WriteFile(main_ / "header-cut.bgl", whole.substr(0, 23));
    WriteFile(main_ / "table-cut.bgl", whole.substr(0, 40));
    WriteFile(main_ / "random.bgl", RandomBytes(100));
    WriteFile(main_ / "later.bgl", Text(LaterFormatFile()));
    // Cut inside the last airport record: EGLL and EGKK are read, EGSS is
    // passed over.
    WriteFile(main_ / "truncated.bgl", whole.substr(0, whole.size() - 20));
    fs::create_directory(main_ / "dir.bgl");
    fs::create_symlink(main_ / "nowhere.bgl", main_ / "gone.bgl");
  }

  TempDir dir_;
  fab::Installation simulator_;
  fs::path target_ = dir_ / "Brisolt";
  fs::path main_;
  fs::path shared_;
};

TEST_F(CraftedScanTest, EveryAreaAndOddFileHasItsStatusDuplicatesAndWarnings) {
  const RunSummary summary = RunOver(simulator_.Root(), target_);
  ASSERT_EQ(summary.ending, RunEnding::Success) << summary.message;
  const ScanReport& scan = summary.scan;

  const struct {
    const char* title;
    AreaStatus status;
  } kAreas[] = {{"Shared two", AreaStatus::Read}, {"Very long", AreaStatus::TooLong},
                {"Gone", AreaStatus::Missing},    {"Switched off", AreaStatus::Inactive},
                {"Shared one", AreaStatus::Read}, {"Main", AreaStatus::Read}};
  ASSERT_EQ(scan.areas.size(), std::size(kAreas));
  for (std::size_t i = 0; i < std::size(kAreas); ++i) {
    SCOPED_TRACE(kAreas[i].title);
    ASSERT_EQ(scan.areas[i].title, kAreas[i].title);
    EXPECT_EQ(scan.areas[i].status, kAreas[i].status);
  }
  const AreaScan& main = *FindArea(scan, "Main");
  EXPECT_EQ(main.folder, main_);
  EXPECT_EQ(main.bgl_files, 9);              // a, b and the odd regular files
  EXPECT_EQ(Records(main, "airports"), 4u);  // LSZH, EDDF, EGLL, EGKK
  EXPECT_EQ(FindArea(scan, "Shared two")->folder, shared_);
  EXPECT_EQ(Records(*FindArea(scan, "Shared two"), "airports"), 1u);
  EXPECT_EQ(Records(*FindArea(scan, "Shared one"), "airports"), 0u);  // LFPG read before
  EXPECT_EQ(Records(*FindArea(scan, "Shared one"), "intersections"), 1u);
  std::size_t area_runways = 0;
  for (const AreaScan& area : scan.areas) area_runways += Records(area, "runways");
  const auto total = std::find_if(summary.records.begin(), summary.records.end(),
                                  [](const RecordCount& count) { return count.kind == "runways"; });
  ASSERT_NE(total, summary.records.end());
  EXPECT_GT(area_runways, 0u);
  EXPECT_EQ(area_runways, total->count);  // each runway counted in the area that read it
  EXPECT_EQ(FindArea(scan, "Gone")->folder, simulator_.Root() / "Scenery" / "Gone" / "Scenery");
  EXPECT_EQ(FindArea(scan, "Switched off")->bgl_files, 0);

  for (const OddFile& odd : kOddFiles) {
    SCOPED_TRACE(odd.name);
    const auto file = std::find_if(scan.files.begin(), scan.files.end(),
                                   [&](const FileScan& f) { return f.path == main_ / odd.name; });
    ASSERT_NE(file, scan.files.end());
    EXPECT_EQ(FileStatusName(file->status), FileStatusName(odd.status));
    EXPECT_EQ(file->skipped > 0, odd.skips);
  }
  EXPECT_EQ(scan.files.size(), std::size(kOddFiles));

  EXPECT_EQ(scan.duplicate_airports, (std::vector<std::string>{"LFPG", "LSZH"}));
  EXPECT_EQ(scan.duplicate_fixes, 1u);
  ASSERT_EQ(scan.warnings.size(), 1u);  // two of five active areas absent: no warning of that
  EXPECT_TRUE(
      HasPart(scan.warnings[0], "the folder " + shared_.string() + " is listed by 2 areas"));
  EXPECT_TRUE(
      HasPart(scan.warnings[0], "Shared two (scenery\\SHARED), Shared one (Scenery\\Shared)"));

  const std::vector<std::string> lines = ScanSummaryLines(scan);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "Areas: 3 read, 1 inactive, 1 missing, 1 too-long: Very long (Scenery\\" +
                          std::string(240, 'L') + "), Gone (Scenery\\Gone)");
  EXPECT_TRUE(HasPart(
      lines[1], "Files passed over: 2 unreadable, 3 short, 1 not-bgl, 2 damaged, 1 later-format"));
  EXPECT_TRUE(HasPart(lines[2], "2 airports dropped as read before (LFPG, LSZH)"));
}

// The report is only collected: files that add nothing leave the database
// files as a run without them writes them.
TEST_F(CraftedScanTest, OddFilesLeaveTheDatabaseFilesByteForByte) {
  const RunSummary with_odd_files = RunOver(simulator_.Root(), target_);
  ASSERT_EQ(with_odd_files.ending, RunEnding::Success) << with_odd_files.message;
  const std::map<std::string, std::string> expected = DatabaseFiles(target_);
  ASSERT_TRUE(expected.count("world_airports.dat"));

  for (const OddFile& odd : kOddFiles) {
    if (odd.adds_nothing) fs::remove(main_ / odd.name);
  }
  const RunSummary without = RunOver(simulator_.Root(), target_);
  ASSERT_EQ(without.ending, RunEnding::Success) << without.message;
  ASSERT_EQ(without.scan.files.size(), 1u);  // truncated.bgl stays
  for (std::size_t i = 0; i < with_odd_files.records.size(); ++i) {
    EXPECT_EQ(without.records.at(i).count, with_odd_files.records[i].count)
        << with_odd_files.records[i].kind;
  }
  const std::map<std::string, std::string> actual = DatabaseFiles(target_);
  ASSERT_EQ(actual.size(), expected.size());
  for (const auto& [name, bytes] : expected) EXPECT_TRUE(actual.at(name) == bytes) << name;
}

// "path (area)" of a file the run read.
std::string Place(const nlohmann::json& from) {
  return from.is_null()
             ? "-"
             : from.at("file").get<std::string>() + " (" + from.at("area").get<std::string>() + ")";
}

// The two areas read the same shared.bgl: "Shared two" first, so its LFPG
// stays and the later fix of key LFABCDE, of "Shared one", is the one
// airways find. In "Main", a.bgl gives LSZH before b.bgl.
TEST_F(CraftedScanTest, DuplicatesNameTheFileThatWonAndTheFileThatLost) {
  const RunSummary summary = RunOver(simulator_.Root(), target_);
  ASSERT_EQ(summary.ending, RunEnding::Success) << summary.message;
  const ScanReport& scan = summary.scan;
  const std::string two = (shared_ / "shared.bgl").string() + " (Shared two)";
  const std::string one = (shared_ / "shared.bgl").string() + " (Shared one)";
  const std::string a = (main_ / "a.bgl").string() + " (Main)";
  const std::string b = (main_ / "b.bgl").string() + " (Main)";
  const std::vector<std::string> expected = {
      "airport LFPG: " + two + " beat " + one + " by first-airport-stays",
      "airport LSZH: " + a + " beat " + b + " by first-airport-stays",
      "intersection LFABCDE: " + one + " beat " + two + " by last-fix-is-found"};
  std::vector<std::string> duplicates;
  for (const DuplicateScan& duplicate : scan.duplicates) {
    duplicates.push_back(duplicate.kind + " " + duplicate.ident + ": " +
                         SuppliedFileName(scan, duplicate.winner) + " beat " +
                         SuppliedFileName(scan, duplicate.loser) + " by " +
                         std::string(DuplicateRuleName(duplicate.rule)));
  }
  EXPECT_EQ(duplicates, expected);
  std::vector<std::string> from_json;
  const nlohmann::json report = ScanReportJson(summary);
  for (const nlohmann::json& duplicate : report["duplicates"]["records"]) {
    from_json.push_back(duplicate["kind"].get<std::string>() + " " +
                        duplicate["ident"].get<std::string>() + ": " + Place(duplicate["winner"]) +
                        " beat " + Place(duplicate["loser"]) + " by " +
                        duplicate["rule"].get<std::string>());
  }
  EXPECT_EQ(from_json, expected);
  EXPECT_TRUE(HasPart(ScanReportText(scan, summary.records),
                      "airport LSZH: won " + a + ", lost " + b + " (the first airport read"));

  // What each file supplied that stayed, what of it was dropped, and its
  // intersections that a later one took over.
  std::map<std::string, std::string> supplied;
  for (std::size_t file = 0; file < scan.supplies.size(); ++file) {
    const FileSupply& supply = scan.supplies[file];
    std::string line;
    for (const RecordCount& count : supply.kept) {
      line.append(std::to_string(count.count)).append(" ").append(count.kind).append(" ");
    }
    for (const RecordCount& count : supply.dropped) {
      line.append("-").append(std::to_string(count.count)).append(" ").append(count.kind) += ' ';
    }
    if (supply.taken_over != 0) line.append("~").append(std::to_string(supply.taken_over));
    supplied[SuppliedFileName(scan, file)] = line;
  }
  const std::map<std::string, std::string> kSupplied = {
      {two, "1 airports 1 intersections ~1"},
      {one, "1 intersections -1 airports "},
      {a, "1 airports "},
      {b, "1 airports -1 airports "},
      {(main_ / "later.bgl").string() + " (Main)", "-1 airports "},
      {(main_ / "truncated.bgl").string() + " (Main)", "2 airports "},
      {(main_ / "random.bgl").string() + " (Main)", ""}};
  for (const auto& [file, line] : kSupplied) EXPECT_EQ(supplied[file], line) << file;
}

// Each record of an ident, as explain's JSON gives it: "kind name
// [dropped] from PLACE: relation record from PLACE by rule; ...".
std::vector<std::string> ExplainedLines(const nlohmann::ordered_json& explanation) {
  std::vector<std::string> lines;
  for (const auto& record : explanation["records"]) {
    std::string line = record["kind"].get<std::string>() + " " + record["name"].get<std::string>() +
                       (record["kept"].get<bool>() ? "" : " dropped") + " from " +
                       Place(record["from"]) + ":";
    for (const auto& link : record["links"]) {
      line.append(" ").append(link["relation"].get<std::string>()).append(" ");
      line.append(link["record"].get<std::string>()).append(" from ").append(Place(link["from"]));
      line.append(" by ").append(link.value("rule", "-")) += ';';
    }
    lines.push_back(line);
  }
  return lines;
}

TEST_F(CraftedScanTest, ExplainNamesWinnerLoserAndRuleAndWritesNothing) {
  ProgramState state;
  ASSERT_FALSE(ReadProgramConfigIn(state, target_));
  const std::string two = (shared_ / "shared.bgl").string() + " (Shared two)";
  const std::string one = (shared_ / "shared.bgl").string() + " (Shared one)";
  const std::string a = (main_ / "a.bgl").string() + " (Main)";
  const std::string b = (main_ / "b.bgl").string() + " (Main)";
  const struct {
    const char* ident;
    std::vector<std::string> lines;
  } kIdents[] = {
      {"lfpg",
       {"airport LFPG from " + two + ": beat airport LFPG from " + one + " by first-airport-stays;",
        "airport LFPG dropped from " + one + ": lost_to airport LFPG from " + two +
            " by first-airport-stays;"}},
      {"ABCDE",
       {"intersection LFABCDE from " + two + ": lost_to intersection LFABCDE from " + one +
            " by last-fix-is-found;",
        "intersection LFABCDE from " + one + ": beat intersection LFABCDE from " + two +
            " by last-fix-is-found;"}},
      {"LSZH",
       {"airport LSZH from " + a + ": beat airport LSZH from " + b + " by first-airport-stays;",
        "airport LSZH dropped from " + b + ": lost_to airport LSZH from " + a +
            " by first-airport-stays;"}},
  };
  NavDatabase db;
  ScanReport scan;
  ASSERT_EQ(ReadSceneryInMemory(state, db, scan), std::nullopt);
  for (const auto& row : kIdents) {
    SCOPED_TRACE(row.ident);
    const Explanation explanation = ExplainIdent(db, scan, row.ident);
    EXPECT_EQ(ExplainedLines(ExplanationJson(explanation)), row.lines);
  }
  EXPECT_TRUE(HasPart(ExplanationText(ExplainIdent(db, scan, "LSZH")),
                      "airport LSZH: dropped, not in the database files\n  from " + b +
                          "\n  lost to airport LSZH from " + a +
                          ": the first airport read of an ident stays"));
  const Explanation unknown = ExplainIdent(db, scan, "LSZX");
  EXPECT_TRUE(unknown.records.empty());
  EXPECT_EQ(unknown.near_matches, (std::vector<std::string>{"LSZH"}));
  EXPECT_EQ(ExplanationText(unknown),
            "No record of the scenery has the ident LSZX.\nNear matches: LSZH\n");
  // Only Program_Config.cfg: no lock, no set, no staging folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(target_), fs::directory_iterator()), 1);
}

// Two real scenery libraries as the Scenery.cfg of a simulator folder that
// holds none of their area folders.
struct RealLibrary {
  const char* file;
  std::size_t areas;  // [Area.nnn] sections, all Active=TRUE with a Local
  bool string_table_titles;
};

class RealSceneryLibraryTest : public ::testing::TestWithParam<RealLibrary> {};

TEST_P(RealSceneryLibraryTest, EveryAreaIsMissingAndTheWarningsSaySo) {
  if (testing::RealDataDir().empty()) GTEST_SKIP() << testing::RealDataAbsent();
  const RealLibrary& library = GetParam();
  const std::string text = ReadFile(testing::RealDataDir() / "scenery-cfg" / library.file);
  std::size_t sections = 0;
  std::size_t inactive = 0;
  for (std::size_t at = text.find("[Area."); at != std::string::npos;
       at = text.find("[Area.", at + 1)) {
    ++sections;
  }
  for (std::size_t at = text.find("Active=FALSE"); at != std::string::npos;
       at = text.find("Active=FALSE", at + 1)) {
    ++inactive;
  }
  ASSERT_EQ(sections, library.areas);
  ASSERT_EQ(inactive, 0u);

  TempDir dir;
  WriteFile(dir / "FS9" / "Scenery.cfg", text);
  const RunSummary summary = RunOver(dir / "FS9", dir / "Brisolt");
  const ScanReport& scan = summary.scan;

  ASSERT_EQ(scan.areas.size(), library.areas);
  EXPECT_TRUE(std::all_of(scan.areas.begin(), scan.areas.end(), [](const AreaScan& area) {
    return area.status == AreaStatus::Missing && area.bgl_files == 0;
  }));
  EXPECT_TRUE(scan.files.empty());
  EXPECT_TRUE(HasPart(ScanSummaryLines(scan).at(0),
                      "Areas: 0 read, " + std::to_string(library.areas) + " missing: "));
  std::string all;
  for (const std::string& warning : scan.warnings) all += warning + "\n";
  EXPECT_TRUE(HasPart(all, std::to_string(library.areas) + " of the " +
                               std::to_string(library.areas) +
                               " active scenery areas have no folder"));
  EXPECT_TRUE(HasPart(all, "no airports were found"));
  const std::string string_table = std::to_string(library.areas) +
                                   " area titles are string-table references, shown as written: "
                                   "@IDS_AREA";
  EXPECT_EQ(all.find(string_table) != std::string::npos, library.string_table_titles) << all;
}

INSTANTIATE_TEST_SUITE_P(RealFiles, RealSceneryLibraryTest,
                         ::testing::Values(RealLibrary{"large-120-areas-lf.cfg", 120, false},
                                           RealLibrary{"string-table-titles-crlf.cfg", 124, true}),
                         [](const auto& info) {
                           return testing::RowName(info.index, info.param.file);
                         });

// The state folder keeps the last reports and loses what a killed write
// left; a temporary file young enough to be another run's is left alone.
TEST(KeptReports, KeepTheLastTenAndDropStaleTemporaries) {
  TempDir folder;
  for (int i = 0; i < 12; ++i)
    WriteFile(folder / ("run-2026010" + std::to_string(i) + ".json"), "");
  WriteFile(folder / "run-x.json.tmp-AbC123", "cut short");
  fs::last_write_time(folder / "run-x.json.tmp-AbC123",
                      fs::file_time_type::clock::now() - std::chrono::hours(1));
  WriteFile(folder / "run-y.json.tmp-Def456", "being written");
  WriteFile(folder / "notes.json.tmp-Ghi789", "the user's");
  std::string error;
  ASSERT_TRUE(KeepReport(RunSummary{}, folder.Path(), error).has_value()) << error;
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder.Path())) {
    names.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(std::count_if(names.begin(), names.end(),
                          [](const std::string& name) { return name.ends_with(".json"); }),
            10);
  EXPECT_FALSE(fs::exists(folder / "run-x.json.tmp-AbC123"));
  EXPECT_TRUE(fs::exists(folder / "run-y.json.tmp-Def456"));
  EXPECT_TRUE(fs::exists(folder / "notes.json.tmp-Ghi789"));
}

// An area folder written in another code page than the one chosen: the
// report says which folder exists and how to choose its code page, in the
// words of the front end that shows it.
TEST(CodePageHint, NamesTheFolderFoundAndHowToChooseItsCodePage) {
  TempDir simulator;
  fs::create_directories(simulator / "Scenery" /
                         platform::PathFromUtf8("\xC4\x8C"
                                                "esko") /
                         "Scenery");
  SceneryArea area;
  area.Active = 1;
  area.LocalText =
      "Scenery\\\xC8"
      "esko";  // "Česko" in code page 1250
  const std::string found =
      "Warning: a folder named '\xC4\x8C"
      "esko' exists: choose code page 1250";
  for (const auto& [front_end, how] : {std::pair{FrontEnd::CommandLine, " (--code-page 1250)."},
                                       std::pair{FrontEnd::Window, " (File > Code Page)."}}) {
    const ScanReport scan = PlanScan({area}, simulator.Path(), FsVersion::Fs2004, {}, front_end);
    ASSERT_EQ(scan.areas.size(), 1u);
    EXPECT_EQ(scan.areas[0].status, AreaStatus::Missing);
    EXPECT_EQ(scan.warnings, std::vector<std::string>{found + how});
  }
}

}  // namespace
}  // namespace tarnvale
