// The texts that the program shows: status texts of a run and the messages
// of the run, the start-up checks and the setup dialogs. They are the
// program's own wording and are shown exactly as they stand.
#pragma once

#include <string>
#include <string_view>

namespace tarnvale::text {

// Status texts of a creation run and of the window's own handlers.
inline constexpr std::string_view kReadingSceneryLibrary = "Reading the SCENERY.CFG File...";
inline constexpr std::string_view kCountingBglFiles = "Getting total number of *.BGL files...";
inline constexpr std::string_view kBindingIls = "Binding ILS to Runways...";
inline constexpr std::string_view kBindingJetAirways = "Binding Intersections to Jet Airways...";
inline constexpr std::string_view kBindingVictorAirways =
    "Binding Intersections to Victor Airways...";
inline constexpr std::string_view kCreatingFiles = "Creating Databases Files...";
inline constexpr std::string_view kFinishing = "Finishing...";
inline constexpr std::string_view kCanceling = "Canceling...";
inline constexpr std::string_view kClosing = "Closing...";

// Endings of a creation run.
inline constexpr std::string_view kRunSucceeded =
    "The databases files creation process was completed successfully!. Now you can close this program.";
inline constexpr std::string_view kRunCancelled = "The databases files creation had been canceled.";
inline constexpr std::string_view kInvalidSimulatorFolder =
    "Error - invalid directory or folder. The program will terminate.";
inline constexpr std::string_view kSceneryLibraryMissing =
    "Error - the SCENERY.CFG is missing. The program will terminate.";
inline constexpr std::string_view kOutOfMemory =
    "Error - not enough memory resources for complete operation. The program will terminate.";
inline constexpr std::string_view kDatabaseFilesNotWritten =
    "Error - while trying to write the databases files.";
inline constexpr std::string_view kSceneryNotRead =
    "Error - while trying to read the scenery files, so the databases files were not replaced.";
inline constexpr std::string_view kNothingRead =
    "Error - no scenery records were read, so the databases files were not replaced.";
inline constexpr std::string_view kNoSceneryArea =
    "The SCENERY.CFG file doesn't list any scenery area, so no databases files were created.";

// Second lines of messages about the target folder's database files.
inline constexpr std::string_view kPreviousSetKept = "The previous database files were kept.";
inline constexpr std::string_view kTargetFolderNotLocked =
    "Error - could not lock the folder of the databases files, so nothing was changed.";
inline constexpr std::string_view kTargetFolderBusy =
    "Error - another run is creating the databases files of this folder. Please wait until it "
    "has ended.";

// A message followed by a line that says more: which path, what was found,
// what was kept. The first line stays the program's own text.
inline std::string WithDetail(std::string_view message, std::string_view detail) {
  std::string text(message);
  if (!detail.empty()) (text += '\n') += detail;
  return text;
}

// Start-up checks and the "Create Databases Files" button.
inline constexpr std::string_view kErrorTitle = "Error Message";
inline constexpr std::string_view kProgramConfigMissing =
    "Error! - PROGRAM_CONFIG.CFG file is missing. Please re-install the program.";
inline constexpr std::string_view kProgramConfigTwice =
    "Error! - there is more than one PROGRAM_CONFIG.CFG file in this folder. Please keep only the "
    "program's own.";
inline constexpr std::string_view kProgramConfigNotRewritten =
    "Error! - while trying to modify the PROGRAM_CONFIG.CFG file. The program will terminate.";
inline constexpr std::string_view kDefaultDbMissing =
    "Error! - the DEFAULT_DB folder is missing. Please try to re-install the SCOPEL program. The "
    "program will terminate.";
inline constexpr std::string_view kOldFilesNotDeleted =
    "Error - while trying to update the databases files. The program will terminate.";

// Setup dialogs.
inline constexpr std::string_view kNoTargetProgramChosen =
    "You didn't selected any Quelby's Program.";
inline constexpr std::string_view kWrongTargetFolder =
    "The directory that you had entered doesn't contains the selected Quelby's Program, please try "
    "again.";
inline constexpr std::string_view kNoSimulatorVersionChosen =
    "You didn't selected your Flight Simulator's version.";
// "The directory that you had entered is not your FS2004's main folder,
// please try again.", with the simulator's short name ("FS2002", "FS2004").
inline std::string WrongSimulatorFolder(std::string_view short_name) {
  return "The directory that you had entered is not your " + std::string(short_name) +
         "'s main folder, please try again.";
}

}  // namespace tarnvale::text
