// The command line at home in its shell: help examples quoted as that
// shell takes them, and on Windows, where no shell expands "*.dat", the
// dump command expanding it itself.
#include <gtest/gtest.h>

#include <string>

#include "cli_process.h"
#include "support/temp_dir.h"

namespace tarnvale {
namespace {

using testing::CliResult;
using testing::RunCli;

TEST(ShellHabits, HelpExamplesQuoteAsTheShellDoes) {
  const CliResult help = RunCli({"create", "--help"});
  ASSERT_EQ(help.exit_code, 0);
#ifdef _WIN32
  EXPECT_NE(help.out.find("--target \"C:\\Program Files\\Scopel v5\""), std::string::npos)
      << help.out;
  EXPECT_EQ(help.out.find('\'', help.out.find("Examples:")), std::string::npos) << help.out;
#else
  EXPECT_NE(help.out.find("--target 'C:\\Program Files\\Scopel v5'"), std::string::npos)
      << help.out;
#endif
}

TEST(ShellHabits, DumpExpandsAFilePatternOnWindows) {
#ifndef _WIN32
  GTEST_SKIP() << "a POSIX shell expands the pattern before the program starts";
#endif
  testing::TempDir dir;
  ASSERT_EQ(RunCli({"demo", "--dir", dir.Path().string(), "--program", "radar"}).exit_code, 0);
  const std::string folder = (dir / "Scopel v5").string();

  const CliResult dump = RunCli({"dump", folder + "\\WORLD_*.DAT"});

  EXPECT_EQ(dump.exit_code, 0) << dump.err;
  for (const char* file : {"world_airports.dat", "world_navaids.dat", "world_fixpoints.dat"}) {
    EXPECT_NE(dump.out.find("# " + folder + "\\" + file + ": "), std::string::npos) << file;
  }
  EXPECT_EQ(RunCli({"dump", folder + "\\none_*.dat"}).exit_code, 1);  // named as missing
}

}  // namespace
}  // namespace tarnvale
