// The Qt application: asks the start-up questions, then shows the main window until it closes.

#include "gui/tarnvale.h"

#include <QSettings>

#include "app/program_state.h"
#include "app/report_archive.h"
#include "app/startup.h"
#include "gui/message_box_presenter.h"
#include "gui/setup_questions.h"
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
  // ~/.config/Tarnvale/tarnvale.conf
  QSettings memory(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tarnvale"),
                   QStringLiteral("tarnvale"));
  SetupQuestions questions(presenter, memory, &window);
  if (questions.Start(state) == StartupOutcome::Ready) {
    window.SetChangeSetup([&] { return questions.Change(state); });
    window.SetChooseCodePage(
        [&](platform::CodePage code_page) { questions.ChooseCodePage(state, code_page); });
    window.exec();
  }
  return 0;
}

}  // namespace tarnvale::gui
