// The examples at the end of each command's --help, written for the shell
// the program meets: POSIX paths in single quotes on Linux, Windows paths
// in double quotes (as cmd.exe and PowerShell take them) on Windows.
#pragma once

namespace tarnvale::cli {

#ifdef _WIN32
inline constexpr const char* kMainExamples =
    "Examples:\n"
    "  tarnvale-cli demo --program radar\n"
    "  tarnvale-cli create --target \"C:\\Program Files\\Scopel v5\" --report run.json\n"
    "  tarnvale-cli dump \"tarnvale-demo\\Scopel v5\\world_navaids.dat\"\n";
inline constexpr const char* kCreateExamples =
    "Examples:\n"
    "  tarnvale-cli create --target \"tarnvale-demo\\Scopel v5\" --report run.json\n"
    "  tarnvale-cli create --target \"C:\\Program Files\\Scopel v5\" "
    "--simulator \"C:\\Program Files\\Microsoft Games\\Flight Simulator 9\" --fs-version 9\n";
inline constexpr const char* kGenSceneryExamples =
    "Examples:\n"
    "  tarnvale-cli gen-scenery --out \"C:\\Temp\\FS9\" --fs-version 9 --preset demo\n"
    "  tarnvale-cli gen-scenery --out \"C:\\Temp\\FS2002\" --fs-version 8 --preset world --scale "
    "0.1 --seed 7\n";
inline constexpr const char* kDemoExamples =
    "Examples:\n"
    "  tarnvale-cli demo\n"
    "  tarnvale-cli demo --program radar --dir \"C:\\Temp\\radar-demo\"\n"
    "  tarnvale-cli demo --fs-version 8 --program chart\n";
inline constexpr const char* kDumpExamples =
    "Examples:\n"
    "  tarnvale-cli dump \"tarnvale-demo\\Scopel v5\\world_navaids.dat\"\n"
    "  tarnvale-cli dump --json \"tarnvale-demo\\Scopel v5\\*.dat\" > records.json\n";
inline constexpr const char* kDiffExamples =
    "Examples:\n"
    "  tarnvale-cli diff \"C:\\Backup\\Scopel v5\" \"C:\\Program Files\\Scopel v5\"\n"
    "  tarnvale-cli diff --json old\\world_airports.dat new\\world_airports.dat > changes.json\n";
inline constexpr const char* kStatusExamples =
    "Examples:\n"
    "  tarnvale-cli status --target \"C:\\Program Files\\Scopel v5\"\n"
    "  tarnvale-cli status --json --target \"tarnvale-demo\\Scopel v5\"\n";
inline constexpr const char* kExplainExamples =
    "Examples:\n"
    "  tarnvale-cli explain LOWI --target \"tarnvale-demo\\Scopel v5\"\n"
    "  tarnvale-cli explain ILWI --target \"C:\\Program Files\\Scopel v5\" --json\n";
#else
inline constexpr const char* kMainExamples =
    "Examples:\n"
    "  tarnvale-cli demo --program radar\n"
    "  tarnvale-cli create --target 'C:\\Program Files\\Scopel v5' --report run.json\n"
    "  tarnvale-cli dump 'tarnvale-demo/Scopel v5/world_navaids.dat'\n";
inline constexpr const char* kCreateExamples =
    "Examples:\n"
    "  tarnvale-cli create --target 'tarnvale-demo/Scopel v5' --report run.json\n"
    "  tarnvale-cli create --target 'C:\\Program Files\\Scopel v5' \\\n"
    "      --simulator 'C:\\Program Files\\Microsoft Games\\Flight Simulator 9' --fs-version 9\n";
inline constexpr const char* kGenSceneryExamples =
    "Examples:\n"
    "  tarnvale-cli gen-scenery --out /tmp/FS9 --fs-version 9 --preset demo\n"
    "  tarnvale-cli gen-scenery --out /tmp/FS2002 --fs-version 8 --preset world --scale 0.1 "
    "--seed 7\n";
inline constexpr const char* kDemoExamples =
    "Examples:\n"
    "  tarnvale-cli demo\n"
    "  tarnvale-cli demo --program radar --dir /tmp/radar-demo\n"
    "  tarnvale-cli demo --fs-version 8 --program chart\n";
inline constexpr const char* kDumpExamples =
    "Examples:\n"
    "  tarnvale-cli dump 'tarnvale-demo/Scopel v5/world_navaids.dat'\n"
    "  tarnvale-cli dump --json 'tarnvale-demo/Scopel v5/'*.dat > records.json\n";
inline constexpr const char* kDiffExamples =
    "Examples:\n"
    "  tarnvale-cli diff ~/scopel-backup 'C:\\Program Files\\Scopel v5'\n"
    "  tarnvale-cli diff --json old/world_airports.dat new/world_airports.dat > changes.json\n";
inline constexpr const char* kStatusExamples =
    "Examples:\n"
    "  tarnvale-cli status --target 'C:\\Program Files\\Scopel v5'\n"
    "  tarnvale-cli status --json --target 'tarnvale-demo/Scopel v5'\n";
inline constexpr const char* kExplainExamples =
    "Examples:\n"
    "  tarnvale-cli explain LOWI --target 'tarnvale-demo/Scopel v5'\n"
    "  tarnvale-cli explain ILWI --target 'C:\\Program Files\\Scopel v5' --json\n";
#endif

}  // namespace tarnvale::cli
