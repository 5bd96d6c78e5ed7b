// What only the Windows build has to get right: UTF-16 names, drive letters
// and shares, replacing a file another program reads, the folder lock
// between processes, and console events instead of signals.
//
// The tests that need a second process start this test program again, with
// one DISABLED_ test to run and its work named in the environment.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/directory_search.h"
#include "platform/file_operations.h"
#include "platform/folder_lock.h"
#include "platform/paths.h"
#include "platform/system.h"
#include "platform/windows_system.h"
#include "platform/wine_prefix.h"
#include "support/temp_dir.h"

namespace tarnvale::platform {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

constexpr const wchar_t* kChildWork = L"TARNVALE_TEST_CHILD_WORK";

std::vector<std::string> Names(const std::vector<fs::path>& paths) {
  std::vector<std::string> names;
  for (const fs::path& path : paths) names.push_back(Utf8Of(path.filename()));
  return names;
}

// This test program, started again to run the DISABLED_ test `test` alone
// with `work` in its environment. `new_console`: in a console of its own,
// hidden, so that its console events reach no other program.
class ChildRun {
 public:
  ChildRun(const std::string& test, const fs::path& work, bool new_console) {
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(self) +
                        L"\" --gtest_also_run_disabled_tests --gtest_filter=" + WideFromUtf8(test);
    ::SetEnvironmentVariableW(kChildWork, work.c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    const bool started = ::CreateProcessW(self, line.data(), nullptr, nullptr, FALSE,
                                          new_console ? CREATE_NEW_CONSOLE : 0, nullptr, nullptr,
                                          &startup, &process);
    ::SetEnvironmentVariableW(kChildWork, nullptr);
    if (!started) throw std::runtime_error("cannot start the test program again");
    ::CloseHandle(process.hThread);
    process_ = process.hProcess;
  }
  ~ChildRun() {
    if (process_) {
      ::TerminateProcess(process_, 1);
      ::CloseHandle(process_);
    }
  }
  ChildRun(const ChildRun&) = delete;
  ChildRun& operator=(const ChildRun&) = delete;

  bool WaitForEnd(DWORD milliseconds) const {
    return ::WaitForSingleObject(process_, milliseconds) == WAIT_OBJECT_0;
  }
  // Ends it as a crash would: no destructor runs, no handle is closed by it.
  void Kill() const {
    ::TerminateProcess(process_, 9);
    WaitForEnd(INFINITE);
  }

 private:
  HANDLE process_ = nullptr;
};

// The work a child run was started for, or std::nullopt when this is no
// child run.
std::optional<fs::path> ChildWork() {
  const wchar_t* work = _wgetenv(kChildWork);
  if (!work) return std::nullopt;
  return fs::path(work);
}

// Waits up to ten seconds for `file` to exist.
bool WaitForFile(const fs::path& file) {
  for (int i = 0; i < 200; ++i) {
    if (fs::exists(file)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

// The standard library's own narrow conversions are no UTF-8 with MinGW;
// the program's names go through PathFromUtf8 and Utf8Of and survive
// characters of any script, in listings too, which sort as on Linux.
TEST(WindowsPaths, ListingOrderIgnoresTheFileSystemsOrder) {
  const std::string zurich = "Z\xC3\xBCrich";                            // Zürich
  const std::string praha = "\xD0\x9F\xD1\x80\xD0\xB0\xD0\xB3\xD0\xB0";  // Прага
  EXPECT_EQ(PathFromUtf8(zurich).native(), L"Z\u00FCrich");
  EXPECT_EQ(Utf8Of(PathFromUtf8(praha)), praha);
  EXPECT_NE(fs::path(zurich).native(), L"Z\u00FCrich");  // what not to use

  TempDir dir;
  for (const std::string name : {"b.bgl", "_x.bgl", "Z.BGL", "a.BGL", "C.bgl", "notes.txt"}) {
    WriteFile(dir / name, "x");
  }
  WriteFile(dir.Path() / PathFromUtf8(praha + ".bgl"), "x");
  WriteFile(dir.Path() / PathFromUtf8(zurich + ".bgl"), "x");
  fs::create_directory(dir / "folder.bgl");
  // By ASCII upper case, byte by byte in UTF-8: '.' before 'Ü', 'Z' before
  // '_', and the letters outside ASCII after all of ASCII.
  EXPECT_EQ(Names(FindFiles(dir.Path(), "*.bgl")),
            (std::vector<std::string>{"a.BGL", "b.bgl", "C.bgl", "Z.BGL", zurich + ".bgl", "_x.bgl",
                                      praha + ".bgl"}));
  EXPECT_EQ(FindFile(dir.Path(), "c.BGL"), dir / "C.bgl");
}

TEST(WindowsPaths, DriveLettersAndSharesArePartOfThePath) {
  TempDir dir;
  fs::create_directories(dir / "Flight Simulator 9" / "Scenery");
  const fs::path full = fs::absolute(dir.Path());
  ASSERT_TRUE(HasDriveLetter(Utf8Of(full)));
  const std::string drive = Utf8Of(full.root_name());  // "C:"

  // Letter case and separators as typed; names come back as stored.
  const std::string typed = Utf8Of(full) + "/FLIGHT SIMULATOR 9\\scenery\\";
  EXPECT_EQ(ExistingFolder(typed, "relative base"), full / "Flight Simulator 9" / "Scenery");
  EXPECT_EQ(ResolveTypedPath(typed, {}, {}), full / "Flight Simulator 9" / "Scenery");
  EXPECT_EQ(WineDriveFolder(drive[0], {}), fs::path(drive + "\\"));
  // A leading separator is the root of the base's drive.
  const std::string rooted = Utf8Of(full.relative_path()) + "\\flight simulator 9";
  EXPECT_EQ(ResolvePath("\\" + rooted, full / "elsewhere"), full / "Flight Simulator 9");
  // A share is a root of its own (MinGW's std::filesystem does not see it
  // as a root name); the missing components are kept.
  EXPECT_EQ(ResolvePath("\\\\server\\FS\\Scenery/World", full).native(),
            L"\\\\server\\FS\\Scenery\\World");
  // So are "\\?\" long paths: matched and made absolute as they are (where
  // std::filesystem::absolute would make "C:\?\C:\..." of them).
  const std::wstring long_form = L"\\\\?\\" + (full / "Flight Simulator 9").native();
  EXPECT_EQ(MatchLetterCase(L"\\\\?\\" + (full / "flight simulator 9").native()).native(),
            long_form);
  EXPECT_EQ(AbsolutePath(long_form).native(), long_form);
  EXPECT_EQ(AbsolutePath(L"\\\\server\\FS\\x").native(), L"\\\\server\\FS\\x");
  // "C:Scenery" is taken in drive C's current folder, and made whole.
  const fs::path current = fs::current_path();
  fs::current_path(full / "Flight Simulator 9");
  EXPECT_EQ(ResolvePath(drive + "scenery").native(),
            (full / "Flight Simulator 9" / "Scenery").native());
  fs::current_path(current);

  // The Windows form written to Program_Config.cfg is the path itself.
  EXPECT_EQ(WindowsPathOf(full / "flight simulator 9", {}), Utf8Of(full / "Flight Simulator 9"));
  EXPECT_TRUE(CandidatePrefixes(full).empty());
}

// Another program reading the old file (and letting it be deleted, as the
// simulator and this program's own reads do) does not stop a replacement;
// one that lets nobody delete it does, and then nothing changes.
TEST(WindowsFiles, ReplaceWhileTheOldFileIsOpenForReading) {
  TempDir dir;
  const fs::path target = dir / "world_airports.dat";
  WriteFile(target, "old");
  const auto open_with = [&](DWORD share) {
    return ::CreateFileW(target.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  const HANDLE sharing = open_with(FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
  ASSERT_NE(sharing, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(ReplaceFileContents(target, "new")) << "replacing a file that is being read";
  char bytes[8] = {};
  DWORD count = 0;
  EXPECT_TRUE(::ReadFile(sharing, bytes, sizeof bytes, &count, nullptr));
  EXPECT_EQ(std::string(bytes, count), "old");
  ::CloseHandle(sharing);
  EXPECT_EQ(ReadFile(target), "new");

  const HANDLE exclusive = open_with(FILE_SHARE_READ);
  ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(ReplaceFileContents(target, "newer"));
  ::CloseHandle(exclusive);
  EXPECT_EQ(ReadFile(target), "new");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1)
      << "a temporary file was left behind";
}

TEST(WindowsFolderLock, HeldByAnotherProcessUntilItEndsHoweverItEnds) {
  TempDir dir;
  const fs::path folder = dir / "Scopel v5";
  fs::create_directory(folder);
  const fs::path held = dir / "held";
  const ChildRun holder("WindowsChild.DISABLED_HoldFolderLock", dir.Path(), false);
  ASSERT_TRUE(WaitForFile(held)) << "the second process did not take the lock";

  std::error_code error;
  EXPECT_FALSE(FolderLock::TryAcquire(folder, error));
  EXPECT_EQ(error, std::errc::resource_unavailable_try_again) << error.message();
  // Another path to the same folder is the same lock.
  EXPECT_FALSE(FolderLock::TryAcquire(dir / "SCOPEL V5" / ".", error));
  EXPECT_EQ(error, std::errc::resource_unavailable_try_again) << error.message();
  EXPECT_TRUE(fs::is_empty(folder)) << "the lock must leave nothing in the folder";

  holder.Kill();
  EXPECT_TRUE(FolderLock::TryAcquire(folder, error)) << error.message();
}

TEST(WindowsChild, DISABLED_HoldFolderLock) {
  const std::optional<fs::path> work = ChildWork();
  if (!work) GTEST_SKIP() << "only as the second process of HeldByAnotherProcess";
  std::error_code error;
  const std::optional<FolderLock> lock = FolderLock::TryAcquire(*work / "Scopel v5", error);
  ASSERT_TRUE(lock) << error.message();
  WriteFile(*work / "held", "");
  std::this_thread::sleep_for(std::chrono::seconds(60));  // until killed
}

// The control handler itself, as the system calls it on its own thread.
TEST(ConsoleInterrupt, FirstEventRaisesTheFlagsTheSecondIsPassedOn) {
  std::atomic<bool> cancel{false};
  InterruptHandler handler;
  handler.Forward(&cancel);
  EXPECT_FALSE(HandleConsoleControl(CTRL_LOGOFF_EVENT));  // not the user's interrupt
  EXPECT_FALSE(handler.Interrupted());
  EXPECT_TRUE(HandleConsoleControl(CTRL_BREAK_EVENT));
  EXPECT_TRUE(handler.Interrupted());
  EXPECT_TRUE(cancel);
  EXPECT_FALSE(HandleConsoleControl(CTRL_C_EVENT)) << "a second interrupt must end the process";
}

// Real Ctrl-C events, in a second process with a console of its own: the
// first only raises the flags, the second ends the process.
TEST(ConsoleInterrupt, CtrlCTwiceInARealConsole) {
  TempDir dir;
  const ChildRun child("WindowsChild.DISABLED_PressCtrlCTwice", dir.Path(), true);
  ASSERT_TRUE(child.WaitForEnd(60000));
  const std::string seen = ReadFile(dir / "seen");
  if (seen.starts_with("no console")) GTEST_SKIP() << "the second process got " << seen;
  EXPECT_EQ(seen, "interrupted forwarded ") << "the first Ctrl-C must only raise the flags, "
                                               "the second end the process";
}

TEST(WindowsChild, DISABLED_PressCtrlCTwice) {
  const std::optional<fs::path> work = ChildWork();
  if (!work) GTEST_SKIP() << "only as the second process of CtrlCTwiceInARealConsole";
  const fs::path seen = *work / "seen";
  std::atomic<bool> cancel{false};
  InterruptHandler handler;
  handler.Forward(&cancel);
  if (!::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)) {
    WriteFile(seen, "no console (error " + std::to_string(::GetLastError()) + ")");
    return;
  }
  for (int i = 0; i < 200 && !handler.Interrupted(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  std::string text = handler.Interrupted() ? "interrupted " : "not interrupted ";
  if (cancel) text += "forwarded ";
  WriteFile(seen, text);
  ::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
  std::this_thread::sleep_for(std::chrono::seconds(10));
  WriteFile(seen, text + "survived");
}

}  // namespace
}  // namespace tarnvale::platform

#endif  // _WIN32
