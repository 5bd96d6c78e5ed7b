// The command line run as a real program: exit statuses and printed texts.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/messages.h"
#include "cli_process.h"
#include "platform/paths.h"
#include "sceneryfab/fs2004_writer.h"
#include "sceneryfab/installation_writer.h"
#include "support/program_folder.h"
#include "support/temp_dir.h"

namespace tarnvale {
namespace {

namespace fs = std::filesystem;
using testing::CliResult;
using testing::Interrupt;
using testing::ReadFile;
using testing::RunCli;
using testing::TempDir;
using testing::WriteProgramConfigFile;

bool Contains(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

class CreateCommandTest : public ::testing::Test {
 protected:
  // The simulator and the target program in `home` below the test's folder.
  explicit CreateCommandTest(const fs::path& home = {})
      : simulator_(dir_.Path() / home / "FS9", FsVersion::Fs2004),
        target_(dir_.Path() / home / "Brisolt (FS2004)") {
    fab::Airport airport;
    airport.ident = "LSZH";
    airport.position = {47.46, 8.55};
    const fs::path area = simulator_.AddArea({"Switzerland", "Scenery\\Swiss"});
    fab::SceneryContent content;
    content.airports.push_back(airport);
    fab::WriteBytesToFile(area / "airport.bgl", fab::BuildFs2004File(fab::MakeFs2004File(content)));
    simulator_.WriteSceneryCfg();
  }

  CliResult Create(const std::vector<std::string>& extra = {},
                   Interrupt interrupt = Interrupt::None) const {
    std::vector<std::string> args{"create", "--target", platform::Utf8Of(target_)};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunCli(args, interrupt);
  }

  std::vector<std::string> SimulatorOptions() const {
    return {"--simulator", platform::Utf8Of(simulator_.Root()), "--fs-version", "9"};
  }

  TempDir dir_;
  fab::Installation simulator_;
  fs::path target_;
};

TEST_F(CreateCommandTest, FirstUseRecordsTheSimulatorAndWritesTheDatabase) {
  WriteProgramConfigFile(target_, 1);
  const CliResult result = Create(SimulatorOptions());
  EXPECT_EQ(result.exit_code, 0) << result.out << result.err;
  EXPECT_TRUE(Contains(result.out, "Switzerland\n"));
  EXPECT_TRUE(Contains(result.out, text::kRunSucceeded));
  EXPECT_TRUE(Contains(result.out, "world_airports.dat"));
  EXPECT_TRUE(fs::exists(target_ / "world_airports.dat"));
  const std::string config = ReadFile(target_ / "Program_Config.cfg");
  EXPECT_TRUE(Contains(config, "FS_Directory=" + simulator_.Root().string() + "\r\n")) << config;
  EXPECT_TRUE(Contains(config, "Follow_Aircraft=TRUE\r\n")) << config;
}

TEST_F(CreateCommandTest, RecordedSimulatorNeedsNoOptions) {
  WriteProgramConfigFile(target_, 1, 9, simulator_.Root().string());
  const CliResult result = Create();
  EXPECT_EQ(result.exit_code, 0) << result.out << result.err;
  EXPECT_TRUE(Contains(result.out, text::kRunSucceeded));
}

TEST_F(CreateCommandTest, OptionsReplaceTheRecordedSimulatorKeepingOtherSettings) {
  WriteProgramConfigFile(target_, 1, 8, "/old/fs2002");
  testing::WriteFile(
      target_ / "Program_Config.cfg",
      ReadFile(target_ / "Program_Config.cfg") + "[Display Settings]\r\nFollow_Aircraft=FALSE\r\n");
  const CliResult result = Create(SimulatorOptions());
  EXPECT_EQ(result.exit_code, 0) << result.out << result.err;
  const std::string config = ReadFile(target_ / "Program_Config.cfg");
  EXPECT_TRUE(Contains(config, "FS_Version=9 ")) << config;
  EXPECT_TRUE(Contains(config, "Follow_Aircraft=FALSE\r\n")) << config;
}

// explain reads the simulator of the options in memory: Program_Config.cfg,
// which records none, stays as it was and nothing is added to the folder.
TEST_F(CreateCommandTest, ExplainFindsTheIdentSuggestsNearOnesAndWritesNothing) {
  WriteProgramConfigFile(target_, 1);
  const std::string config = ReadFile(target_ / "Program_Config.cfg");
  std::vector<std::string> explain{"explain", "lszh", "--target", platform::Utf8Of(target_)};
  EXPECT_EQ(RunCli(explain).exit_code, 2);  // no simulator recorded or given
  explain.insert(explain.end(),
                 {"--simulator", platform::Utf8Of(simulator_.Root()), "--fs-version", "9"});
  std::vector<std::string> json = explain;
  json.push_back("--json");
  const CliResult found = RunCli(json);
  ASSERT_EQ(found.exit_code, 0) << found.out << found.err;
  const nlohmann::json records = nlohmann::json::parse(found.out)["records"];
  ASSERT_EQ(records.size(), 1u) << found.out;
  EXPECT_EQ(records[0]["name"], "LSZH");
  EXPECT_EQ(records[0]["from"]["area"], "Switzerland");
  EXPECT_EQ(records[0]["fields"]["Ident"], "LSZH");
  explain[1] = "LSZX";
  const CliResult unknown = RunCli(explain);
  EXPECT_EQ(unknown.exit_code, 1);
  EXPECT_TRUE(
      Contains(unknown.out, "No record of the scenery has the ident LSZX.\nNear matches: LSZH\n"))
      << unknown.out;
  EXPECT_EQ(ReadFile(target_ / "Program_Config.cfg"), config);
  EXPECT_EQ(std::distance(fs::directory_iterator(target_), fs::directory_iterator()), 1);
}

// Names that neither Latin-1 nor any ANSI code page holds: on Windows they
// reach the program only as UTF-16 and must come back whole as UTF-8.
class UnicodeFolderTest : public CreateCommandTest {
 protected:
  UnicodeFolderTest() : CreateCommandTest(platform::PathFromUtf8("Flugsimulator Ωμέγα 日本")) {}
};

TEST_F(UnicodeFolderTest, NamesStayWholeThroughCreateReportSettingsAndDump) {
  WriteProgramConfigFile(target_, 1);
  const fs::path report = target_.parent_path() / "report.json";
  std::vector<std::string> options = SimulatorOptions();
  options.insert(options.end(), {"--report", platform::Utf8Of(report)});

  const CliResult first = Create(options);

  ASSERT_EQ(first.exit_code, 0) << first.out << first.err;
  const std::string target = platform::Utf8Of(target_);
  EXPECT_TRUE(Contains(first.out, "Files written in " + target + ":\n")) << first.out;
#ifdef __linux__
  EXPECT_TRUE(Contains(first.out, " bytes read loading\n")) << first.out;
#endif
  const nlohmann::json json = nlohmann::json::parse(ReadFile(report), nullptr, false);
  EXPECT_EQ(json["target"], target) << ReadFile(report);
  EXPECT_EQ(json["simulator"], platform::Utf8Of(fs::canonical(simulator_.Root())));
  // The next run finds the simulator through what Program_Config.cfg records.
  const CliResult second = Create();
  EXPECT_EQ(second.exit_code, 0) << second.out << second.err;
  const std::string airports = platform::Utf8Of(target_ / "world_airports.dat");
  const CliResult dump = RunCli({"dump", airports});
  EXPECT_EQ(dump.exit_code, 0) << dump.err;
  EXPECT_TRUE(Contains(dump.out, "# " + airports + ": ")) << dump.out;
}

const std::string kWrongFs2002Folder = text::WrongSimulatorFolder("FS2002");
const std::string kWrongFs2004Folder = text::WrongSimulatorFolder("FS2004");

struct RefusalCase {
  const char* name;
  int program_id;          // 0: no Program_Config.cfg at all
  bool recorded;           // the file records the (valid) simulator
  std::string simulator;   // --simulator value ("" = none), relative to the test folder
  std::string fs_version;  // --fs-version value
  int exit_code;
  std::string_view printed;
};

class CreateRefusalTest : public CreateCommandTest,
                          public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(CreateRefusalTest, ExitsWithTheStatusAndMessage) {
  const RefusalCase& row = GetParam();
  if (row.program_id != 0) {
    WriteProgramConfigFile(target_, row.program_id, row.recorded ? 9 : 0,
                           row.recorded ? simulator_.Root().string() : "");
  }
  std::vector<std::string> options;
  if (!row.simulator.empty()) options = {"--simulator", (dir_ / row.simulator).string()};
  if (!row.fs_version.empty()) options.insert(options.end(), {"--fs-version", row.fs_version});

  const CliResult result = Create(options);

  EXPECT_EQ(result.exit_code, row.exit_code) << result.out << result.err;
  EXPECT_TRUE(Contains(result.out + result.err, row.printed)) << result.out << result.err;
  EXPECT_FALSE(fs::exists(target_ / "magdec.bgl"));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CreateRefusalTest,
    ::testing::Values(
        RefusalCase{"NoProgramConfig", 0, false, "FS9", "9", 1, text::kProgramConfigMissing},
        RefusalCase{"NoSimulatorAnywhere", 1, false, "", "", 2, "--simulator"},
        RefusalCase{"BadFsVersion", 1, false, "FS9", "7", 2, "--fs-version"},
        RefusalCase{"VersionWithoutFolder", 1, false, "", "9", 2, "--simulator"},
        RefusalCase{"NotAnFs2004Folder", 1, false, "Nowhere", "9", 1, kWrongFs2004Folder},
        RefusalCase{"Fs2002AskedOfAnFs2004Folder", 1, false, "FS9", "8", 1, kWrongFs2002Folder},
        RefusalCase{"WrongReplacement", 1, true, "Nowhere", "9", 1, kWrongFs2004Folder},
        RefusalCase{"RadarWithoutDefaultDb", 2, true, "", "", 1, text::kDefaultDbMissing}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CreateCommandTest, VanishedSimulatorIsAStartErrorThatBlanksTheRecord) {
  WriteProgramConfigFile(target_, 1, 9, (dir_ / "Gone").string());
  const CliResult result = Create();
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_TRUE(Contains(result.out, text::kInvalidSimulatorFolder)) << result.out;
  // The second line says how the simulator will be asked for again.
  EXPECT_TRUE(
      Contains(result.out, "give --simulator DIR and --fs-version 8 or 9 to the next create"))
      << result.out;
  EXPECT_TRUE(Contains(ReadFile(target_ / "Program_Config.cfg"), "FS_Directory=\r\n"));
}

// A report that could not be written is found before the run, which then
// changes nothing: neither the set nor the settings.
TEST_F(CreateCommandTest, ABadReportPathIsRefusedBeforeTheRun) {
  WriteProgramConfigFile(target_, 1, 9, simulator_.Root().string());
  testing::WriteFile(target_ / "world_airports.dat", "the working set");
  const std::string config = ReadFile(target_ / "Program_Config.cfg");
  for (const fs::path& report : {dir_ / "no such folder" / "run.json", dir_.Path()}) {
    const CliResult result = Create({"--report", report.string()});
    EXPECT_EQ(result.exit_code, 1) << report;
    EXPECT_TRUE(Contains(result.out, "Cannot write the report to " + report.string()))
        << result.out;
    EXPECT_FALSE(Contains(result.out, text::kReadingSceneryLibrary)) << result.out;
    EXPECT_EQ(ReadFile(target_ / "world_airports.dat"), "the working set");
    EXPECT_EQ(ReadFile(target_ / "Program_Config.cfg"), config);
  }
}

TEST_F(CreateCommandTest, EmptySceneryLibrarySaysSoAndFails) {
  fab::WriteTextToFile(simulator_.Root() / "Scenery.cfg", "[General]\r\nTitle=Nothing\r\n");
  WriteProgramConfigFile(target_, 1, 9, simulator_.Root().string());
  const CliResult result = Create();
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_TRUE(Contains(result.out, text::kNoSceneryArea)) << result.out;
}

TEST_F(CreateCommandTest, InterruptCancels) {
#ifdef _WIN32
  GTEST_SKIP() << "no pending interrupt can be handed to a new Windows process; the console "
                  "events are tested in test_platform (ConsoleInterrupt)";
#endif
  WriteProgramConfigFile(target_, 1, 9, simulator_.Root().string());
  const CliResult result = Create({}, Interrupt::AtStart);
  EXPECT_EQ(result.exit_code, 3) << result.out << result.err;
  EXPECT_TRUE(Contains(result.out, text::kRunCancelled)) << result.out;
  EXPECT_FALSE(fs::exists(target_ / "world_airports.dat"));
}

TEST_F(CreateCommandTest, ReportIsWrittenAsJsonAndTheSummaryNamesWhatWasPassedOver) {
  simulator_.AddArea({"Gone", "Scenery\\Gone"});
  fs::remove_all(simulator_.Root() / "Scenery" / "Gone");
  const fs::path stub = simulator_.Root() / "Scenery" / "Swiss" / "Scenery" / "stub.bgl";
  fab::WriteTextToFile(stub, "0123456789");
  simulator_.WriteSceneryCfg();
  WriteProgramConfigFile(target_, 1, 9, simulator_.Root().string());
  const fs::path report = dir_ / "report.json";

  const CliResult result = Create({"--report", report.string()});

  EXPECT_EQ(result.exit_code, 0) << result.out << result.err;
  const nlohmann::json json = nlohmann::json::parse(ReadFile(report), nullptr, false);
  ASSERT_FALSE(json.is_discarded()) << ReadFile(report);
  for (const char* key : {"simulator", "fs_version", "target", "areas", "files", "duplicates",
                          "totals", "warnings"}) {
    EXPECT_TRUE(json.contains(key)) << key;
  }
  EXPECT_EQ(json["fs_version"], 9);
  EXPECT_EQ(json["totals"]["airports"], 1);
  const struct {
    const char* title;
    const char* status;
    int bgl_files;
  } kAreas[] = {{"Gone", "missing", 0}, {"Switzerland", "read", 2}};  // last listed first
  ASSERT_EQ(json["areas"].size(), std::size(kAreas));
  for (std::size_t i = 0; i < std::size(kAreas); ++i) {
    const nlohmann::json& area = json["areas"][i];
    for (const char* key : {"title", "local", "folder", "status", "bgl_files", "records"}) {
      EXPECT_TRUE(area.contains(key)) << i << ' ' << key;
    }
    EXPECT_EQ(area["title"], kAreas[i].title);
    EXPECT_EQ(area["status"], kAreas[i].status);
    EXPECT_EQ(area["bgl_files"], kAreas[i].bgl_files);
  }
  ASSERT_EQ(json["files"].size(), 1u);
  EXPECT_EQ(json["files"][0]["path"], stub.string());
  EXPECT_EQ(json["files"][0]["status"], "short");
  EXPECT_EQ(json["files"][0]["skipped"], 0);

  const std::string printed = result.out + result.err;
  EXPECT_TRUE(Contains(printed, "1 missing: Gone (Scenery\\Gone)")) << printed;
  EXPECT_TRUE(Contains(printed, "stub.bgl (short)")) << printed;
}

// `status` after a run, and after a file is added; `diff` of the set before
// and after the next run; each with its exit status.
TEST_F(CreateCommandTest, StatusAndDiffSayWhetherAnythingDiffers) {
  WriteProgramConfigFile(target_, 1, 9, simulator_.Root().string());
  ASSERT_EQ(Create().exit_code, 0);
  const std::vector<std::string> status{"status", "--target", platform::Utf8Of(target_)};
  const CliResult current = RunCli(status);
  EXPECT_EQ(current.exit_code, 0) << current.out << current.err;
  EXPECT_TRUE(Contains(current.out, "The database files are current.")) << current.out;
  const fs::path backup = dir_.Path() / "Backup";
  fs::copy(target_, backup);
  const std::vector<std::string> diff{"diff", platform::Utf8Of(backup), platform::Utf8Of(target_)};
  EXPECT_EQ(RunCli(diff).exit_code, 0);

  fab::Airport airport;
  airport.ident = "LSGG";
  airport.position = {46.24, 6.11};
  fab::SceneryContent content;
  content.airports.push_back(airport);
  const fs::path added = simulator_.Root() / "Scenery" / "Swiss" / "Scenery" / "geneva.bgl";
  fab::WriteBytesToFile(added, fab::BuildFs2004File(fab::MakeFs2004File(content)));
  const CliResult changed = RunCli(status);
  EXPECT_EQ(changed.exit_code, 4) << changed.out << changed.err;
  EXPECT_TRUE(Contains(changed.out, "  file added: " + platform::Utf8Of(added))) << changed.out;
  // explain reads the scenery as it is now, and says first that the set
  // was built from other scenery.
  const CliResult explained = RunCli({"explain", "LSGG", "--target", platform::Utf8Of(target_)});
  EXPECT_EQ(explained.exit_code, 0) << explained.out << explained.err;
  EXPECT_TRUE(
      explained.out.starts_with("The scenery has changed since the database files were built on "))
      << explained.out;
  EXPECT_TRUE(Contains(explained.out, ": 1 file added.\n\nairport LSGG\n")) << explained.out;

  const CliResult run = Create();
  EXPECT_TRUE(Contains(run.out, "Compared with the previous database files: 1 airports added."))
      << run.out;
  const CliResult differs = RunCli(diff);
  EXPECT_EQ(differs.exit_code, 4) << differs.out << differs.err;
  EXPECT_TRUE(Contains(differs.out, ": 1 airports added.\nairports: 1 before, 2 now\n  + LSGG\n"))
      << differs.out;
  EXPECT_EQ(
      RunCli({"diff", platform::Utf8Of(dir_.Path() / "none"), platform::Utf8Of(target_)}).exit_code,
      1);
}

TEST(GenSceneryCommandTest, WritesAnInstallation) {
  TempDir dir;
  const CliResult result = RunCli({"gen-scenery", "--out", (dir / "FS9").string(), "--fs-version",
                                   "9", "--preset", "demo", "--seed", "7"});
  EXPECT_EQ(result.exit_code, 0) << result.out << result.err;
  EXPECT_TRUE(fs::exists(dir / "FS9" / "Scenery.cfg"));
  EXPECT_TRUE(fs::exists(dir / "FS9" / "fs9.exe"));
  EXPECT_TRUE(Contains(result.out, "airports"));
}

TEST(GenSceneryCommandTest, UnknownPresetIsAUsageError) {
  TempDir dir;
  const CliResult result = RunCli(
      {"gen-scenery", "--out", dir.Path().string(), "--fs-version", "9", "--preset", "moon"});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_TRUE(Contains(result.err, "moon not in {demo,full,world}")) << result.err;
}

// Choices are shown and refused as the words the user types, never as the
// numbers they stand for.
TEST(HelpTest, VersionAndChoicesInWords) {
  const CliResult version = RunCli({"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_EQ(version.out, "tarnvale-cli " TARNVALE_VERSION "\n");
  const CliResult help = RunCli({"gen-scenery", "--help"});
  EXPECT_TRUE(Contains(help.out, "--preset demo|full|world")) << help.out;
  EXPECT_FALSE(Contains(help.out, "->")) << help.out;
  EXPECT_TRUE(Contains(RunCli({"--help"}).out, "Exit status: 0 success")) << help.out;
}

// The subcommands listed by `tarnvale-cli --help`.
std::vector<std::string> Subcommands() {
  std::istringstream help(RunCli({"--help"}).out);
  std::vector<std::string> names;
  std::string line;
  while (std::getline(help, line) && line != "Subcommands:") {
  }
  while (std::getline(help, line) && line.starts_with("  ")) {
    names.push_back(line.substr(2, line.find(' ', 2) - 2));
  }
  return names;
}

// Every subcommand's help shows examples of itself and exactly the exit
// statuses it can end with; a new subcommand needs a row here.
TEST(HelpTest, EverySubcommandShowsExamplesAndItsExitStatuses) {
  const std::map<std::string, std::set<int>> statuses{
      {"create", {0, 1, 2, 3}},  {"demo", {0, 1, 2, 3}},   {"dump", {0, 1, 2}},
      {"diff", {0, 1, 2, 4}},    {"status", {0, 1, 2, 4}}, {"explain", {0, 1, 2}},
      {"gen-scenery", {0, 1, 2}}};
  const std::vector<std::string> names = Subcommands();
  ASSERT_EQ(names.size(), statuses.size());
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(statuses.contains(name));
    const CliResult help = RunCli({name, "--help"});
    EXPECT_EQ(help.exit_code, 0);
    const std::size_t examples = help.out.find("\nExamples:\n");
    const std::size_t exit_status = help.out.find("\nExit status: ");
    ASSERT_NE(exit_status, std::string::npos) << help.out;
    ASSERT_LT(examples, exit_status) << help.out;
    const std::string shown = help.out.substr(examples, exit_status - examples);
    EXPECT_TRUE(Contains(shown, "\n  tarnvale-cli " + name + "\n") ||
                Contains(shown, "\n  tarnvale-cli " + name + " "))
        << help.out;
    const std::string listed = help.out.substr(exit_status);
    for (int status = 0; status <= 4; ++status) {
      const std::regex code("[^[:alnum:]]" + std::to_string(status) + " [a-z]");
      EXPECT_EQ(std::regex_search(listed, code), statuses.at(name).contains(status))
          << status << " in " << listed;
    }
  }
}

TEST(DemoCommandTest, BuildsTheRadarProgramDatabaseAndSaysWhere) {
  TempDir dir;
  const fs::path demo = dir / "demo";
  const CliResult result = RunCli({"demo", "--dir", demo.string(), "--program", "radar"});
  EXPECT_EQ(result.exit_code, 0) << result.out << result.err;
  EXPECT_TRUE(fs::exists(demo / "Scopel v5" / "DEFAULT_DB"));
  EXPECT_TRUE(fs::exists(demo / "Scopel v5" / "world_navaids.dat"));
  EXPECT_TRUE(Contains(result.out, "Database files: " + (demo / "Scopel v5").string()));

  const CliResult again = RunCli({"demo", "--dir", demo.string()});
  EXPECT_EQ(again.exit_code, 0) << again.out << again.err;
  EXPECT_FALSE(fs::exists(demo / "Scopel v5"));
}

TEST(DemoCommandTest, BuildsAnFs2002ChartProgramDatabase) {
  TempDir dir;
  const CliResult result = RunCli({"demo", "--dir", dir.Path().string(), "--fs-version", "8"});
  EXPECT_EQ(result.exit_code, 0) << result.out << result.err;
  EXPECT_TRUE(fs::exists(dir / "Brisolt (FS2002)" / "world_airports.dat"));
  EXPECT_FALSE(fs::exists(dir / "Brisolt (FS2002)" / "world_navaids.dat"));
}

// A demo clears only what a demo made: a user's file stops it, in a
// foreign folder and in one an earlier demo made alike.
TEST(DemoCommandTest, NeverRemovesAUsersFile) {
  TempDir dir;
  testing::WriteFile(dir / "mine.txt", "keep me");
  EXPECT_EQ(RunCli({"demo", "--dir", dir.Path().string()}).exit_code, 1);
  EXPECT_TRUE(fs::exists(dir / "mine.txt"));

  const fs::path demo = dir / "demo";
  ASSERT_EQ(RunCli({"demo", "--dir", demo.string()}).exit_code, 0);
  testing::WriteFile(demo / "notes.txt", "keep me too");
  const CliResult again = RunCli({"demo", "--dir", demo.string()});
  EXPECT_EQ(again.exit_code, 1);
  EXPECT_TRUE(Contains(again.out, "notes.txt was not made by tarnvale-cli demo")) << again.out;
  EXPECT_EQ(ReadFile(demo / "notes.txt"), "keep me too");
}

TEST(DumpCommandTest, PrintsTheRecordsOfWrittenFilesAsLinesOrJson) {
  TempDir dir;
  ASSERT_EQ(RunCli({"demo", "--dir", dir.Path().string(), "--program", "radar"}).exit_code, 0);
  const std::string navaids = (dir / "Scopel v5" / "world_navaids.dat").string();

  const CliResult lines = RunCli({"dump", navaids});
  EXPECT_EQ(lines.exit_code, 0) << lines.err;
  EXPECT_NE(lines.out.find("\n#1 @0 Kind=4 "), std::string::npos) << lines.out;

  const CliResult json = RunCli({"dump", "--json", navaids});
  EXPECT_EQ(json.exit_code, 0) << json.err;
  const nlohmann::json files = nlohmann::json::parse(json.out);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_FALSE(files[0]["records"].empty());

  EXPECT_EQ(RunCli({"dump", (dir / "nothing.dat").string()}).exit_code, 1);
  EXPECT_EQ(RunCli({"dump"}).exit_code, 2);
}

// A path that names no file says so, in lines and in JSON, rather than
// taking a missing file or a folder for a file that cannot be read or that
// has a foreign name.
TEST(DumpCommandTest, SaysWhenAPathNamesNoFileOrAFolder) {
  TempDir dir;
  fs::create_directories(dir / "Scopel v5");
  struct Row {
    fs::path path;
    std::string reason;
  };
  const Row rows[] = {
      {dir / "Scopel v5" / "world_airports.dat", "no such file"},
      {dir / "notes.txt", "no such file"},
      {dir / "Scopel v5", "is a folder: give its *.dat files"},
      {dir / "Scopel v5" / "", "is a folder: give its *.dat files"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.path.string());
    const CliResult lines = RunCli({"dump", row.path.string()});
    EXPECT_EQ(lines.exit_code, 1);
    EXPECT_EQ(lines.err, row.path.string() + ": " + row.reason + "\n");
    EXPECT_EQ(lines.out, "");
    const CliResult json = RunCli({"dump", "--json", row.path.string()});
    EXPECT_EQ(json.exit_code, 1);
    EXPECT_EQ(nlohmann::json::parse(json.out).at(0).at("error").at("reason"), row.reason);
  }
}

}  // namespace
}  // namespace tarnvale
