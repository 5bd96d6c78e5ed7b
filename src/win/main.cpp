// tarnvale.exe: the desktop program for Windows.
#include "platform/windows_system.h"
#include "win/application.h"
#include "win/registry_memory.h"
#include "win/setup_dialogs.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  tarnvale::win::PrepareWindowThread();
  tarnvale::win::WinStartupView setup;
  tarnvale::win::RegistryTargetMemory memory;
  return tarnvale::win::RunTarnvale(setup, memory);
}
