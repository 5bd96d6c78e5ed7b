// The Windows program's start: common controls and COM made ready, the start-up questions asked,
// then the main window run.

#include "win/application.h"

#include <commctrl.h>
#include <objbase.h>

#include "app/program_state.h"
#include "app/report_archive.h"
#include "win/main_window.h"

namespace tarnvale::win {

void PrepareWindowThread() {
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                      ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
}

int RunTarnvale(WinStartupView& setup, TargetMemory& memory) {
  ProgramState state;
  state.report_archive = ReportArchiveFolder();
  if (StartDesktopSession(state, setup, memory) == StartupOutcome::Ready) {
    MainWindow window(state, setup, memory);
    window.Run();
  }
  return 0;
}

}  // namespace tarnvale::win
