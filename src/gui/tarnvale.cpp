#include "gui/tarnvale.h"

#include "app/program_state.h"
#include "app/report_archive.h"
#include "app/startup.h"
#include "gui/askfor_quelby_program.h"
#include "gui/dialog_startup_view.h"
#include "gui/fspath_dialog.h"
#include "gui/message_presenter.h"
#include "gui/tarnvale_dlg.h"

namespace tarnvale::gui {

Tarnvale::Tarnvale(int& argc, char** argv) : QApplication(argc, argv) {
  setWindowIcon(ApplicationIcon());
}

int Tarnvale::Run() {
  ProgramState state;
  state.report_archive = ReportArchiveFolder();
  MessageBoxPresenter presenter;
  TarnvaleDlg window(state, presenter);
  AskforQuelbyProgram target_dialog(presenter);
  FSPath_Dialog simulator_dialog(presenter);
  DialogStartupView startup(target_dialog, simulator_dialog, presenter, &window);
  if (RunStartup(state, startup) == StartupOutcome::Ready) {
    ReleaseTargetFolder(state);
    window.exec();
  }
  return 0;
}

}  // namespace tarnvale::gui
