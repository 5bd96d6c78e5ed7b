// tarnvale-cli.exe opened from Explorer gets a console of its own: it says
// that it is the command-line tool and where the window is, and waits for
// a key instead of closing before anyone reads it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"
#include "window_driver.h"

namespace tarnvale::win {
namespace {

// Presses a key in the console of process `process`.
bool PressKeyIn(DWORD process) {
  FreeConsole();
  if (!AttachConsole(process)) return false;
  const HANDLE input =
      CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  INPUT_RECORD keys[2] = {};
  for (int at = 0; at < 2; ++at) {
    keys[at].EventType = KEY_EVENT;
    keys[at].Event.KeyEvent = {at == 0, 1, VK_SPACE, 0, {L' '}, 0};
  }
  DWORD written = 0;
  const bool pressed = WriteConsoleInputW(input, keys, 2, &written) && written == 2;
  CloseHandle(input);
  FreeConsole();
  return pressed;
}

TEST(ExplorerStart, SaysWhereTheWindowIsAndWaitsForAKey) {
  if (!testing::HasDisplay()) GTEST_SKIP() << "no display for Wine: run the tests under xvfb-run";
  tarnvale::testing::TempDir dir;
  const std::filesystem::path out = dir / "out.txt";
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const HANDLE out_file = CreateFileW(out.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out_file;
  startup.hStdError = out_file;
  std::wstring program = std::filesystem::path(TARNVALE_CLI_PATH).make_preferred().wstring();
  std::wstring line = L"\"" + program + L"\"";
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE,
                             CREATE_NEW_CONSOLE, nullptr, nullptr, &startup, &process));
  CloseHandle(out_file);

  const bool asked = testing::WaitUntil(
      [&] { return tarnvale::testing::ReadFile(out).find("Press any key") != std::string::npos; });
  const bool waited = WaitForSingleObject(process.hProcess, 500) == WAIT_TIMEOUT;
  EXPECT_TRUE(asked && PressKeyIn(process.dwProcessId));
  if (WaitForSingleObject(process.hProcess, 30'000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 99);
  }
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);

  EXPECT_TRUE(waited) << "closed before a key was pressed";
  EXPECT_EQ(code, 2u);
  const std::string said = tarnvale::testing::ReadFile(out);
  EXPECT_NE(said.find("tarnvale-cli is Tarnvale's command-line tool"), std::string::npos) << said;
  EXPECT_NE(said.find("start Tarnvale from the Start menu"), std::string::npos) << said;
}

}  // namespace
}  // namespace tarnvale::win
