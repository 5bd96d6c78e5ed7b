// Wine prefixes are a matter of the Linux build: on Windows a drive-letter
// path is simply a path, and the program runs in no prefix.
#ifndef _WIN32
#include "platform/wine_prefix.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>

#include "support/temp_dir.h"

namespace tarnvale::platform {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::WriteFile;

// A prefix as Wine makes it: drive_c, and dosdevices with c: and z:.
class PrefixPathsTest : public ::testing::Test {
 protected:
  PrefixPathsTest() {
    fs::create_directories(prefix() / "dosdevices");
    fs::create_symlink("../drive_c", prefix() / "dosdevices" / "c:");
    fs::create_symlink("/", prefix() / "dosdevices" / "z:");
    WriteFile(simulator() / "fs9.exe", "");
    WriteFile(radar() / "Program_Config.cfg", "");
    home_ = std::getenv("HOME");
    ::setenv("HOME", (dir_ / "home").c_str(), 1);
    ::unsetenv("WINEPREFIX");
  }
  ~PrefixPathsTest() override { ::setenv("HOME", home_.c_str(), 1); }

  fs::path prefix() const { return fs::canonical(dir_.Path()) / "prefix"; }
  fs::path simulator() const {
    return prefix() / "drive_c" / "Program Files" / "Microsoft Games" / "Flight Simulator 9";
  }
  fs::path radar() const { return prefix() / "drive_c" / "Program Files" / "Scopel v5"; }

  TempDir dir_;
  std::string home_;
};

TEST_F(PrefixPathsTest, DriveLetterPathsAreFoundThroughThePrefixNearOrNamed) {
  const std::string typed = "c:\\program files\\Microsoft Games\\Flight Simulator 9\\";
  EXPECT_EQ(fs::canonical(ResolveTypedPath(typed, "/", radar())), simulator());
  EXPECT_EQ(ResolveTypedPath(typed, "/", {}), fs::path());  // no prefix known
  ::setenv("WINEPREFIX", prefix().c_str(), 1);
  EXPECT_EQ(fs::canonical(ResolveTypedPath(typed, "/", {})), simulator());
  EXPECT_EQ(ResolveTypedPath("Scopel v5", prefix() / "drive_c" / "Program Files", {}), radar());
}

TEST_F(PrefixPathsTest, FoldersGetTheirWindowsFormThroughTheClosestDrive) {
  EXPECT_EQ(WindowsPathOf(simulator(), radar()),
            "C:\\Program Files\\Microsoft Games\\Flight Simulator 9");
  EXPECT_EQ(WindowsPathOf(prefix() / "drive_c", radar()), "C:\\");
  const fs::path outside = fs::canonical(dir_.Path()) / "elsewhere";
  fs::create_directories(outside);
  std::string through_z = "Z:";
  for (const fs::path& component : outside.relative_path()) {
    through_z += '\\';
    through_z += component.string();
  }
  EXPECT_EQ(WindowsPathOf(outside, radar()), through_z);
  EXPECT_EQ(WindowsPathOf(simulator(), outside), std::nullopt);  // the target is in no prefix
}

TEST_F(PrefixPathsTest, InstallsAreFoundUnderProgramFiles) {
  EXPECT_EQ(FindInstalledPrograms("FS9.EXE", radar()), (std::vector<fs::path>{simulator()}));
  const fs::path second = prefix() / "drive_c" / "Program Files (x86)" / "FS9 copy";
  WriteFile(second / "fs9.exe", "");
  EXPECT_EQ(FindInstalledPrograms("fs9.exe", radar()),
            (std::vector<fs::path>{simulator(), second}));
  EXPECT_TRUE(FindInstalledPrograms("fs2002.exe", radar()).empty());
}

}  // namespace
}  // namespace tarnvale::platform

#endif  // _WIN32
