// The command line in a Wine prefix: Windows paths typed and written, the
// simulator found on first use, and Scenery.cfg names in a Windows code page.
// Wine prefixes are a matter of the Linux build: on Windows a drive-letter
// path is simply a path, and the program runs in no prefix.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <stdlib.h>

#include <nlohmann/json.hpp>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/messages.h"
#include "app/startup.h"
#include "cli_process.h"
#include "sceneryfab/fs2004_writer.h"
#include "sceneryfab/installation_writer.h"
#include "support/program_folder.h"
#include "support/temp_dir.h"

namespace tarnvale {
namespace {

namespace fs = std::filesystem;
using testing::CliResult;
using testing::ReadFile;
using testing::RunCli;
using testing::TempDir;

constexpr const char* kSimulatorText = "C:\\Program Files\\Microsoft Games\\Flight Simulator 9";

// A prefix with drive C, a radar program that has not met a simulator yet,
// and an FS2004 simulator whose add-on areas have accented names: on disk in
// UTF-8, in Scenery.cfg in Windows-1252 and Windows-1250.
class WinePrefixCliTest : public ::testing::Test {
 protected:
  WinePrefixCliTest()
      : prefix_(fs::canonical(dir_.Path()) / "prefix"),
        simulator_(prefix_ / "drive_c" / "Program Files" / "Microsoft Games" / "Flight Simulator 9",
                   FsVersion::Fs2004) {
    fs::create_directories(prefix_ / "dosdevices");
    fs::create_symlink("../drive_c", prefix_ / "dosdevices" / "c:");
    AddAccentedArea("Z\xC3\xBCrich",
                    "Z\xFC"
                    "rich");  // ü in Windows-1252
    AddAccentedArea(
        "\xC4\x8C"
        "esko",
        "\xC8"
        "esko");  // Č in Windows-1250
    std::string library = ReadFile(simulator_.Root() / "Scenery.cfg");
    for (const auto& [utf8, code_page] : renames_) {
      library.replace(library.find(utf8), utf8.size(), code_page);
    }
    testing::WriteFile(simulator_.Root() / "Scenery.cfg", library);
    testing::WriteProgramConfigFile(radar_, 2);
    fs::create_directories(radar_ / "DEFAULT_DB");
    ::setenv("HOME", dir_.Path().c_str(), 1);  // no ~/.wine of the developer's
    ::unsetenv("WINEPREFIX");
  }
  ~WinePrefixCliTest() override { ::unsetenv("WINEPREFIX"); }

  void AddAccentedArea(const std::string& utf8, const std::string& code_page) {
    const fs::path area = simulator_.AddArea({utf8, "Addon Scenery\\" + utf8});
    fab::SceneryContent content;
    fab::Intersection fix;
    fix.ident = "ABCDE";
    fix.region = "LS";
    fix.position = {47.0, 8.0};
    content.intersections.push_back(fix);
    fab::WriteBytesToFile(area / "fixes.bgl", fab::BuildFs2004File(fab::MakeFs2004File(content)));
    simulator_.WriteSceneryCfg();
    renames_.emplace_back("Addon Scenery\\" + utf8, "Addon Scenery\\" + code_page);
  }

  TempDir dir_;
  fs::path prefix_;
  fab::Installation simulator_;
  fs::path radar_ = prefix_ / "drive_c" / "Program Files" / "Scopel v5";
  std::vector<std::pair<std::string, std::string>> renames_;
};

TEST_F(WinePrefixCliTest, WindowsPathsInAndOutAndTheSimulatorFoundOnFirstUse) {
  fab::WriteTextToFile(prefix_ / "drive_c" / "Program Files" / "Z\xC3\xBCrich FS9" / "fs9.exe", "");
  const CliResult first = RunCli({"create", "--target", radar_.string()});
  EXPECT_EQ(first.exit_code, 2);
  EXPECT_NE(first.out.find("--simulator '" + std::string(kSimulatorText) + "' --fs-version 9"),
            std::string::npos)
      << first.out;
  // Shown in UTF-8, as it would be typed, not in the code page of the settings.
  EXPECT_NE(first.out.find("--simulator 'C:\\Program Files\\Z\xC3\xBCrich FS9' --fs-version 9"),
            std::string::npos)
      << first.out;

  const CliResult chosen = RunCli(
      {"create", "--target", radar_.string(), "--simulator", kSimulatorText, "--fs-version", "9"});
  EXPECT_EQ(chosen.exit_code, 0) << chosen.out << chosen.err;
  EXPECT_NE(ReadFile(radar_ / "Program_Config.cfg")
                .find("FS_Directory=" + std::string(kSimulatorText) + "\r\n"),
            std::string::npos);

  ::setenv("WINEPREFIX", prefix_.c_str(), 1);
  const CliResult typed = RunCli({"create", "--target", "c:\\program files\\Scopel v5"});
  EXPECT_EQ(typed.exit_code, 0) << typed.out << typed.err;
}

TEST_F(WinePrefixCliTest, CodePageNamesInSceneryCfgFindTheirFolders) {
  struct Row {
    const char* code_page;
    const char* area;  // as shown, in UTF-8
  };
  for (const Row& row : {Row{"1252", "Z\xC3\xBCrich"}, Row{"1250",
                                                           "\xC4\x8C"
                                                           "esko"}}) {
    const fs::path report = dir_ / (std::string(row.code_page) + ".json");
    const CliResult result =
        RunCli({"--code-page", row.code_page, "create", "--target", radar_.string(), "--simulator",
                simulator_.Root().string(), "--fs-version", "9", "--report", report.string()});
    ASSERT_EQ(result.exit_code, 0) << result.out << result.err;
    const nlohmann::json json = nlohmann::json::parse(ReadFile(report));
    bool found = false;
    for (const auto& area : json["areas"]) {
      if (area["title"] != row.area) continue;
      found = true;
      EXPECT_EQ(area["status"], "read") << row.code_page;
      EXPECT_EQ(area["records"]["intersections"], 1) << row.code_page;
    }
    EXPECT_TRUE(found) << row.code_page;
  }
}

// A drive-letter folder that no prefix maps is refused with the program's
// own first line and a second that names each place looked at and what to
// set; it is never taken as a name in the current folder.
TEST_F(WinePrefixCliTest, ADriveNoPrefixMapsSaysWhereItWasLookedFor) {
  const std::string home_wine = (dir_ / ".wine").string();
  struct Row {
    const char* name;
    std::function<void()> setup;
    std::string typed;
    bool simulator;  // typed as --simulator, else as --target
    std::vector<std::string> details;
  };
  const Row rows[] = {
      {"no prefix at all",
       [] {},
       "C:\\Program Files\\Scopel v5",
       false,
       {"no Wine prefix maps drive C:", "$WINEPREFIX: not set",
        "~/.wine: " + home_wine + " does not exist"}},
      {"~/.wine without drive D:",
       [&] { fs::create_directories(dir_ / ".wine" / "drive_c"); },
       "d:\\Program Files\\Scopel v5",
       false,
       {"no Wine prefix maps drive D:", "~/.wine: " + home_wine + " has no drive D:"}},
      {"$WINEPREFIX without drive D:",
       [&] { ::setenv("WINEPREFIX", prefix_.c_str(), 1); },
       "D:\\FS9",
       true,
       {"the prefix of " + radar_.string() + ": " + prefix_.string() + " has no drive D:",
        "$WINEPREFIX: " + prefix_.string() + " has no drive D:"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    row.setup();
    const CliResult result = row.simulator ? RunCli({"create", "--target", radar_.string(),
                                                     "--simulator", row.typed, "--fs-version", "9"})
                                           : RunCli({"create", "--target", row.typed});
    EXPECT_EQ(result.exit_code, 1) << result.out << result.err;
    // The dialogs say the same under their own first line.
    const DialogAnswer dialog =
        row.simulator
            ? CheckSimulatorAnswer(FsVersion::Fs2004, row.typed, fs::current_path(), radar_)
            : CheckTargetProgramAnswer(TargetProgramChoice::Radar, row.typed, fs::current_path());
    const std::string wrong_folder = text::WrongSimulatorFolder("FS2004");
    const std::string_view cli_line =
        row.simulator ? std::string_view(wrong_folder) : text::kProgramConfigMissing;
    const std::string_view dialog_line =
        row.simulator ? std::string_view(wrong_folder) : text::kWrongTargetFolder;
    for (const auto& [message, first_line] :
         {std::pair{result.out, cli_line}, std::pair{dialog.message, dialog_line}}) {
      EXPECT_EQ(message.substr(0, message.find('\n')), first_line) << message;
      EXPECT_NE(message.find("\n" + row.typed + ": "), std::string::npos) << message;
      for (const std::string& detail : row.details) {
        EXPECT_NE(message.find(detail), std::string::npos) << detail << " in " << message;
      }
      EXPECT_NE(message.find("Set WINEPREFIX to the Wine prefix"), std::string::npos) << message;
      EXPECT_EQ(message.find(fs::current_path().string()), std::string::npos) << message;
    }
  }
}

}  // namespace
}  // namespace tarnvale

#endif  // _WIN32
