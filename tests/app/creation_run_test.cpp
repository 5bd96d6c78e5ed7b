// The creation run driven on real temporary simulator and target folders,
// checked through the exact sequence of calls it makes on its view.
#include "app/creation_run.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <set>
#include <string>
#include <vector>

#include "app/messages.h"
#include "output/database_writer.h"
#include "platform/fault_injection.h"
#include "sceneryfab/fs2004_writer.h"
#include "sceneryfab/installation_writer.h"
#include "small_airport.h"
#include "support/program_folder.h"
#include "support/recording_run_view.h"
#include "support/temp_dir.h"

namespace tarnvale {
namespace {

using testing::WriteBgl;

using Calls = std::vector<std::string>;
using testing::ReadFile;
using testing::RecordingRunView;
using testing::TempDir;
using testing::WriteFile;

std::string Status(std::string_view text) { return "status:" + std::string(text); }
std::string Message(std::string_view text) { return "message:" + std::string(text); }

const Calls kIdleEnding = {"status:", "position:0", "create:on", "cancel:off"};
// The writer shows the bar empty while the files are written.
const std::string kWritingRange = "range:0," + std::to_string(kWritingProgressHigh);
// Endings before the new set is in place say that the old one stands.
const std::string kCancelled = text::WithDetail(text::kRunCancelled, text::kPreviousSetKept);
const std::string kOutOfMemory = text::WithDetail(text::kOutOfMemory, text::kPreviousSetKept);

Calls Concat(std::initializer_list<Calls> parts) {
  Calls all;
  for (const Calls& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

fab::Ils IlsOf(const std::string& airport) {
  fab::Ils ils;
  ils.ident = "IABC";
  ils.position = {47.5, 8.49};
  ils.frequency_hz = 110'300'000;
  ils.runway_number = 9;
  ils.airport = airport;
  return ils;
}

fab::PlannedArea Area(const std::string& title, const std::string& local, bool active = true) {
  fab::PlannedArea area(title, local);
  area.active = active;
  return area;
}

class CreationRunTest : public ::testing::Test {
 protected:
  CreationRunTest() : simulator_(dir_ / "FS9", FsVersion::Fs2004) {
    testing::WriteProgramConfigFile(target_, 1, 9, simulator_.Root().string());
    state_.TargetFolder = target_;
    state_.config.Program_Id = TargetProgram::Chart;
    state_.config.FS_Version = FsVersion::Fs2004;
    state_.config.FS_Directory = simulator_.Root().string();
  }

  // Lists an area and puts one (unrecognisable) BGL file per name into it.
  // (The areas keep out of Scenery\BASE, which holds the installation's
  // magdec.bgl: where letter case is ignored it is Scenery\Base too.)
  std::filesystem::path AddArea(const std::string& title, const std::string& local, bool active,
                                const std::vector<std::string>& files = {}) {
    const std::filesystem::path folder = simulator_.AddArea(Area(title, local, active));
    for (const std::string& name : files) WriteFile(folder / name, "not a scenery file");
    return folder;
  }

  RunSummary Run() {
    simulator_.WriteSceneryCfg();
    return CreationRun(state_, view_);
  }

  TempDir dir_;
  // Every area marked active counts, those without a usable folder too.
  std::string SucceededWithoutAirports(int active_areas, int missing = 0) const {
    const std::string missing_text =
        missing == 0 ? "" : " (" + std::to_string(missing) + " missing)";
    return text::WithDetail(text::kRunSucceeded, "Warning: no airports were found in the " +
                                                     std::to_string(active_areas) +
                                                     " active scenery areas of " +
                                                     simulator_.Root().string() + missing_text +
                                                     ". Is this the simulator's main folder?");
  }

  std::filesystem::path target_ = dir_ / "Brisolt";
  fab::Installation simulator_;
  ProgramState state_;
  RecordingRunView view_;
};

TEST_F(CreationRunTest, SuccessReadsActiveAreasLastToFirstWithExactViewCalls) {
  AddArea("Base", "Scenery\\Local", true, {"b.bgl", "A.BGL"});
  AddArea("Switched off", "Scenery\\Off", false, {"off.bgl"});
  AddArea("No folder", "", true);
  simulator_.AddArea(Area("Missing", "Scenery\\Nowhere"));
  std::filesystem::remove_all(simulator_.Root() / "Scenery" / "Nowhere");
  AddArea("World", "Scenery\\World", true, {"w.bgl", "notes.txt"});

  const RunSummary summary = Run();

  EXPECT_EQ(view_.Calls(),
            Concat({{Status(text::kReadingSceneryLibrary), Status(text::kCountingBglFiles),
                     "range:0,5", "step:1", "position:0", "status:", "status:World", "stepit",
                     "status:Base", "stepit", "stepit", Status(text::kCreatingFiles), kWritingRange,
                     "position:0", Status(text::kFinishing)},
                    kIdleEnding,
                    {Message(SucceededWithoutAirports(4, 2))}}));
  EXPECT_EQ(summary.ending, RunEnding::Success);
  EXPECT_EQ(summary.bgl_files, 3);
  EXPECT_TRUE(state_.config.SceneryAreas.empty());
  EXPECT_FALSE(state_.cancel);
  ASSERT_EQ(summary.files.size(), 1u);  // no records: only the magdec.bgl copy
  EXPECT_EQ(summary.files[0].name, "magdec.bgl");
  EXPECT_EQ(summary.files[0].bytes, std::filesystem::file_size(target_ / "magdec.bgl"));
}

TEST_F(CreationRunTest, AreaWithoutTitleKeepsThePreviousStatusText) {
  AddArea("", "Scenery\\Two", true, {"two.bgl"});
  AddArea("Titled", "Scenery\\One", true, {"one.bgl"});
  Run();
  EXPECT_EQ(view_.CallsFrom("status:"),
            (Calls{"status:", "status:Titled", "stepit", "stepit", Status(text::kCreatingFiles),
                   kWritingRange, "position:0", Status(text::kFinishing), "status:", "position:0",
                   "create:on", "cancel:off", Message(SucceededWithoutAirports(2))}));
}

TEST_F(CreationRunTest, CancelSetBeforeReadingEndsBeforeTheFirstFile) {
  AddArea("Base", "Scenery\\Local", true, {"a.bgl", "b.bgl"});
  state_.cancel = true;

  const RunSummary summary = Run();

  EXPECT_EQ(view_.CallsFrom("status:Base"),
            Concat({{"status:Base"}, kIdleEnding, {Message(kCancelled)}}));
  EXPECT_EQ(summary.ending, RunEnding::Cancelled);
  EXPECT_FALSE(state_.cancel);
  EXPECT_TRUE(state_.config.SceneryAreas.empty());
}

TEST_F(CreationRunTest, CancelDuringReadingStopsAtTheNextFile) {
  AddArea("Base", "Scenery\\Local", true, {"a.bgl", "b.bgl", "c.bgl"});
  view_.OnCall("stepit", [this] { state_.cancel = true; });

  EXPECT_EQ(Run().ending, RunEnding::Cancelled);
  EXPECT_EQ(view_.CallsFrom("status:Base"),
            Concat({{"status:Base", "stepit"}, kIdleEnding, {Message(kCancelled)}}));
}

TEST_F(CreationRunTest, CancelInTheWriterKeepsTheOldSet) {
  WriteBgl(AddArea("Base", "Scenery\\Local", true) / "a.bgl", {testing::SmallAirport("LSZH")});
  WriteFile(target_ / "world_navaids.dat", "left from an earlier run");
  view_.OnCall(Status(text::kCreatingFiles), [this] { state_.cancel = true; });

  EXPECT_EQ(Run().ending, RunEnding::Cancelled);
  EXPECT_EQ(ReadFile(target_ / "world_navaids.dat"), "left from an earlier run");
  EXPECT_FALSE(std::filesystem::exists(target_ / "magdec.bgl"));
  EXPECT_FALSE(std::filesystem::exists(target_ / ".tarnvale-staging"));
  EXPECT_EQ(view_.CallsFrom("status:"),
            Concat({{"status:", "status:Base", "stepit", Status(text::kCreatingFiles),
                     kWritingRange, "position:0"},
                    kIdleEnding,
                    {Message(kCancelled)}}));
}

TEST_F(CreationRunTest, BindingStepsRunOnlyWhenBothArraysHaveRecords) {
  const std::filesystem::path folder = AddArea("Base", "Scenery\\Local", true);
  WriteBgl(folder / "airport.bgl", {testing::SmallAirport("LSZH")}, {IlsOf("LSZH")});

  const RunSummary summary = Run();

  const Calls calls = view_.Calls();
  EXPECT_NE(std::find(calls.begin(), calls.end(), Status(text::kBindingIls)), calls.end());
  EXPECT_EQ(std::find(calls.begin(), calls.end(), Status(text::kBindingJetAirways)), calls.end());
  EXPECT_EQ(std::find(calls.begin(), calls.end(), Status(text::kBindingVictorAirways)),
            calls.end());
  EXPECT_EQ(summary.ending, RunEnding::Success);
  EXPECT_TRUE(std::filesystem::exists(target_ / "world_airports.dat"));
  EXPECT_EQ(summary.records[0].kind, "airports");
  EXPECT_EQ(summary.records[0].count, 1u);
}

TEST_F(CreationRunTest, CancelDuringBindingTakesTheCancelEndingWithoutWriting) {
  const std::filesystem::path folder = AddArea("Base", "Scenery\\Local", true);
  WriteBgl(folder / "airport.bgl", {testing::SmallAirport("LSZH")}, {IlsOf("LSZH")});
  view_.OnCall(Status(text::kBindingIls), [this] { state_.cancel = true; });
  const auto entries = [this] {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(target_)) {
      names.insert(entry.path().filename().string());
    }
    return names;
  };
  const std::set<std::string> before = entries();

  state_.threads = 3;  // the files binding leaves alone are written while it runs
  EXPECT_EQ(Run().ending, RunEnding::Cancelled);
  const Calls calls = view_.Calls();
  EXPECT_EQ(std::find(calls.begin(), calls.end(), Status(text::kCreatingFiles)), calls.end());
  EXPECT_EQ(calls.back(), Message(kCancelled));
  EXPECT_EQ(entries(), before);  // no database file, no staging folder
}

TEST_F(CreationRunTest, LoaderOutOfMemoryStepsTheBarThenTakesTheMemoryEnding) {
  const std::filesystem::path folder = AddArea("Base", "Scenery\\Local", true);
  WriteBgl(folder / "airport.bgl", {testing::SmallAirport("LSZH")});
  WriteFile(folder / "later.bgl", "never reached");
  platform::FaultScope faults;
  faults.LimitAllocations(platform::FaultSite::DatabaseAllocation, 0);

  const RunSummary summary = Run();

  EXPECT_EQ(summary.ending, RunEnding::OutOfMemory);
  EXPECT_EQ(view_.CallsFrom("status:Base"),
            (Calls{"status:Base", "stepit", Message(kOutOfMemory), "close"}));
  EXPECT_TRUE(state_.config.SceneryAreas.empty());
}

TEST_F(CreationRunTest, SceneryLibraryOutOfMemoryTakesTheMemoryEnding) {
  AddArea("Base", "Scenery\\Local", true, {"a.bgl"});
  platform::FaultScope faults;
  faults.LimitAllocations(platform::FaultSite::ConfigAllocation, 0);

  EXPECT_EQ(Run().ending, RunEnding::OutOfMemory);
  EXPECT_EQ(view_.Calls(),
            (Calls{Status(text::kReadingSceneryLibrary), Message(kOutOfMemory), "close"}));
}

TEST_F(CreationRunTest, EmptySceneryLibraryBringsTheWindowBackToIdleWithAMessage) {
  const RunSummary summary = Run();
  EXPECT_EQ(summary.ending, RunEnding::NoSceneryArea);
  EXPECT_EQ(view_.Calls(), Concat({{Status(text::kReadingSceneryLibrary)},
                                   kIdleEnding,
                                   {Message(text::kNoSceneryArea)}}));
}

TEST_F(CreationRunTest, NoAreaTakingPartStillWritesAndSucceeds) {
  AddArea("Switched off", "Scenery\\Off", false, {"off.bgl"});
  const RunSummary summary = Run();
  EXPECT_EQ(summary.ending, RunEnding::Success);
  EXPECT_EQ(summary.bgl_files, 0);
  const Calls calls = view_.Calls();
  EXPECT_NE(std::find(calls.begin(), calls.end(), "range:0,2"), calls.end());
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "stepit"), 0);
}

TEST_F(CreationRunTest, TwoAreasWithTheSameFolderAreBothRead) {
  AddArea("First", "Scenery\\Shared", true, {"a.bgl"});
  AddArea("Second", "Scenery\\Shared", true);
  EXPECT_EQ(Run().bgl_files, 2);
  const Calls calls = view_.Calls();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "stepit"), 2);
}

TEST_F(CreationRunTest, ASecondRunReadsTheLibraryIntoAnEmptyAreaList) {
  AddArea("Base", "Scenery\\Local", true, {"a.bgl"});
  Run();
  RecordingRunView second_view;
  const RunSummary second = CreationRun(state_, second_view);
  EXPECT_EQ(second.bgl_files, 1);
  EXPECT_TRUE(state_.config.SceneryAreas.empty());
}

struct StartErrorCase {
  const char* name;
  bool remove_simulator;  // otherwise only its Scenery.cfg is missing
  std::string_view message;
};

class StartErrorTest : public CreationRunTest,
                       public ::testing::WithParamInterface<StartErrorCase> {};

TEST_P(StartErrorTest, ShowsTheMessageBlanksTheSimulatorFolderAndCloses) {
  if (GetParam().remove_simulator) std::filesystem::remove_all(simulator_.Root());

  const RunSummary summary = CreationRun(state_, view_);

  EXPECT_EQ(summary.ending, RunEnding::StartError);
  // The message names the folder it looked at and says the old set stands.
  ASSERT_EQ(view_.Calls().size(), 2u);
  const std::string message = view_.Calls()[0];
  EXPECT_EQ(message.rfind(Message(GetParam().message) + "\n", 0), 0u) << message;
  EXPECT_NE(message.find(simulator_.Root().string()), std::string::npos) << message;
  EXPECT_TRUE(message.ends_with(text::kPreviousSetKept)) << message;
  EXPECT_EQ(view_.Calls()[1], "close");
  const std::string rewritten = ReadFile(target_ / "Program_Config.cfg");
  EXPECT_NE(rewritten.find("\r\nFS_Directory=\r\n"), std::string::npos) << rewritten;
  EXPECT_NE(rewritten.find("Program_Id=1 "), std::string::npos) << rewritten;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartErrorTest,
    ::testing::Values(StartErrorCase{"MissingSimulatorFolder", true, text::kInvalidSimulatorFolder},
                      StartErrorCase{"MissingSceneryCfg", false, text::kSceneryLibraryMissing}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CreationRunTest, NoRecordedSimulatorIsAStartError) {
  state_.config.FS_Directory.reset();
  EXPECT_EQ(CreationRun(state_, view_).ending, RunEnding::StartError);
  EXPECT_EQ(view_.Calls().front().rfind(Message(text::kInvalidSimulatorFolder) + "\n", 0), 0u);
}

TEST_F(CreationRunTest, FailedMagdecCopyNamesTheFailureInsteadOfSuccess) {
  AddArea("Base", "Scenery\\Local", true, {"a.bgl"});
  std::filesystem::create_directories(target_ / "magdec.bgl" / "in the way");

  const RunSummary summary = Run();

  EXPECT_EQ(summary.ending, RunEnding::WriteFailed);
  EXPECT_NE(summary.message.find("magdec.bgl"), std::string::npos) << summary.message;
  EXPECT_EQ(view_.CallsFrom(Status(text::kCreatingFiles)).back(), Message(summary.message));
  const Calls calls = view_.Calls();
  EXPECT_EQ(std::find(calls.begin(), calls.end(), Message(text::kRunSucceeded)), calls.end());
  EXPECT_EQ(std::find(calls.begin(), calls.end(), "close"), calls.end());
  EXPECT_NE(std::find(calls.begin(), calls.end(), "create:on"), calls.end());
}

// A wrong simulator folder or a renamed drive reads nothing: a working set
// is never swapped for an empty one, and the message says why.
TEST_F(CreationRunTest, NothingReadKeepsTheWorkingSet) {
  for (const char* local : {"Scenery\\Gone", "Scenery\\Also gone"}) {
    simulator_.AddArea(Area(local, local));
    std::filesystem::remove_all(simulator_.Root() / "Scenery" / std::string(local).substr(8));
  }
  WriteFile(target_ / "world_airports.dat", "the working set's airports");

  const RunSummary summary = Run();

  EXPECT_EQ(summary.ending, RunEnding::NothingRead);
  EXPECT_EQ(
      summary.message,
      text::WithDetail(text::kNothingRead,
                       "None of the 2 active scenery areas of " + simulator_.Root().string() +
                           " (2 missing) gave a record. " + std::string(text::kPreviousSetKept)));
  EXPECT_EQ(ReadFile(target_ / "world_airports.dat"), "the working set's airports");
  EXPECT_FALSE(std::filesystem::exists(target_ / "magdec.bgl"));
  EXPECT_FALSE(std::filesystem::exists(target_ / ".tarnvale-staging"));
  EXPECT_TRUE(summary.files.empty());
  EXPECT_EQ(view_.Calls().back(), Message(summary.message));
}

// A simulator without a readable magdec.bgl (none, or a FIFO that would
// never give a byte) still gets its database files; the copy beside them
// stays, and a warning names the source.
TEST_F(CreationRunTest, AMissingMagdecSourceInstallsTheSetAndKeepsTheOldCopy) {
  WriteBgl(AddArea("Base", "Scenery\\Local", true) / "a.bgl", {testing::SmallAirport("LSZH")});
  // Component by component: the message names the path with the system's
  // own separators.
  const std::filesystem::path source =
      simulator_.Root() / "Scenery" / "BASE" / "Scenery" / "magdec.bgl";
  ASSERT_TRUE(std::filesystem::remove(source));
  for (const bool fifo : {false, true}) {
#ifdef _WIN32  // Windows has no FIFOs in its file system
    if (fifo) continue;
#else
    if (fifo) {
      ASSERT_EQ(::mkfifo(source.c_str(), 0644), 0);
    }
#endif
    WriteFile(target_ / "magdec.bgl", "the old copy");

    const RunSummary summary = Run();

    ASSERT_EQ(summary.ending, RunEnding::Success) << summary.message;
    EXPECT_EQ(summary.message.rfind(std::string(text::kRunSucceeded) + "\nWarning: ", 0), 0u);
    EXPECT_NE(summary.message.find(source.string()), std::string::npos) << summary.message;
    EXPECT_EQ(ReadFile(target_ / "magdec.bgl"), "the old copy");
    ASSERT_EQ(summary.files.size(), 1u);
    EXPECT_EQ(summary.files[0].name, "world_airports.dat");
  }
}

// Out of file handles, a failing disk: the run ends as an error instead of
// passing the file over and putting a smaller set in place of a whole one.
// An unreadable Scenery.cfg is a start error that says why.
TEST_F(CreationRunTest, AFailureOfTheSystemWhileReadingKeepsTheOldSet) {
  const std::filesystem::path area = AddArea("Base", "Scenery\\Local", true);
  WriteBgl(area / "a.bgl", {testing::SmallAirport("LSZH")});
  WriteBgl(area / "b.bgl", {testing::SmallAirport("LSGG")});
  WriteFile(target_ / "world_airports.dat", "the working set");
  const std::error_code no_handles = std::make_error_code(std::errc::too_many_files_open);
  for (const unsigned threads : {1u, 3u}) {
    platform::FaultScope faults;
    faults.Inject(platform::FaultSite::OpenInput, no_handles, /*skip=*/1);  // after Scenery.cfg
    state_.threads = threads;
    const RunSummary summary = Run();
    EXPECT_EQ(summary.ending, RunEnding::ReadFailed) << summary.message;
    EXPECT_EQ(summary.message.rfind(std::string(text::kSceneryNotRead) + "\n", 0), 0u);
    EXPECT_NE(summary.message.find(no_handles.message()), std::string::npos) << summary.message;
    EXPECT_TRUE(summary.message.ends_with(text::kPreviousSetKept)) << summary.message;
    EXPECT_EQ(ReadFile(target_ / "world_airports.dat"), "the working set");
  }
  platform::FaultScope faults;
  faults.Inject(platform::FaultSite::OpenInput, std::make_error_code(std::errc::io_error));
  const RunSummary unreadable_library = Run();
  EXPECT_EQ(unreadable_library.ending, RunEnding::StartError);
  EXPECT_NE(unreadable_library.message.find("Scenery.cfg cannot be read"), std::string::npos)
      << unreadable_library.message;
}

// Areas are read last listed first; a cancel in the second leaves it and
// the one after it unread, and the report says so.
TEST_F(CreationRunTest, ACancelledRunNamesTheAreasItDidNotReadWhole) {
  AddArea("First", "Scenery\\First", true, {"a.bgl"});
  AddArea("Second", "Scenery\\Second", true, {"b.bgl", "c.bgl"});
  AddArea("Third", "Scenery\\Third", true, {"d.bgl"});
  int steps = 0;
  view_.OnCall("stepit", [&] { state_.cancel = ++steps == 2; });

  const RunSummary summary = Run();

  ASSERT_EQ(summary.ending, RunEnding::Cancelled);
  std::vector<AreaStatus> statuses;
  for (const AreaScan& area : summary.scan.areas) statuses.push_back(area.status);
  EXPECT_EQ(statuses,
            (std::vector<AreaStatus>{AreaStatus::Read, AreaStatus::NotRead, AreaStatus::NotRead}));
  EXPECT_EQ(ScanOverviewLines(summary.scan).front(), "Areas: 1 read, 2 not-read");
}

TEST_F(CreationRunTest, HaltedRunReturnsWithoutTouchingTheView) {
  AddArea("Base", "Scenery\\Local", true, {"a.bgl", "b.bgl"});
  std::stop_source halt;
  view_.OnCall("stepit", [&halt] { halt.request_stop(); });
  simulator_.WriteSceneryCfg();

  const RunSummary summary = CreationRun(state_, view_, halt.get_token());

  EXPECT_EQ(summary.ending, RunEnding::Halted);
  EXPECT_EQ(view_.Calls().back(), "stepit");
  EXPECT_FALSE(std::filesystem::exists(target_ / "magdec.bgl"));
}

TEST_F(CreationRunTest, RealWaypointAndForeignFilesMakeAFixpointsFile) {
  const std::filesystem::path real = testing::RealDataDir();
  if (real.empty()) GTEST_SKIP() << testing::RealDataAbsent();
    // The waypoint files' own folder serves as an area; foreign files are linked in.
#ifdef _WIN32  // copied in: the installation maker takes no drive letter in a Local
  const std::filesystem::path waypoints = AddArea("LKAA VFR waypoints", "Scenery\\Lkaa", true);
  for (const auto& file :
       std::filesystem::directory_iterator(real / "lkaa-vfr-waypoints" / "scenery")) {
    std::filesystem::copy_file(file.path(), waypoints / file.path().filename());
  }
#else
  AddArea("LKAA VFR waypoints", (real / "lkaa-vfr-waypoints").string(), true);
#endif
  const std::filesystem::path foreign = AddArea("Foreign", "Scenery\\Foreign", true);
  for (const auto& file : std::filesystem::directory_iterator(real / "foreign")) {
    if (file.path().extension() == ".bgl") {
#ifdef _WIN32  // symbolic links need a privilege on Windows
      std::filesystem::copy_file(file.path(), foreign / file.path().filename());
#else
      std::filesystem::create_symlink(file.path(), foreign / file.path().filename());
#endif
    }
  }
  state_.config.Program_Id = TargetProgram::Radar;

  const RunSummary summary = Run();

  ASSERT_EQ(summary.ending, RunEnding::Success);
  EXPECT_EQ(summary.bgl_files, 11);
  const auto fixes =
      std::find_if(summary.records.begin(), summary.records.end(),
                   [](const RecordCount& count) { return count.kind == "intersections"; });
  ASSERT_NE(fixes, summary.records.end());
  EXPECT_EQ(fixes->count, 64u);
  EXPECT_TRUE(std::filesystem::exists(target_ / "world_fixpoints.dat"));
}

}  // namespace
}  // namespace tarnvale
