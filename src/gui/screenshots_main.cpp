// tarnvale-screenshots DIR: draws every window of the program offscreen and
// saves each as a PNG in DIR. Lists the controls whose text would be
// clipped, and exits with 1 when there is any.
#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QTextStream>
#include <cstdio>

#include "app/program_state.h"
#include "gui/about_program.h"
#include "gui/askfor_quelby_program.h"
#include "gui/fspath_dialog.h"
#include "gui/message_presenter.h"
#include "gui/tarnvale_dlg.h"

namespace {

using tarnvale::gui::FixedDialog;

void PrintFont() {
  const QFont font = tarnvale::gui::DialogFont();
  const tarnvale::gui::DialogUnits units = tarnvale::gui::BaseUnitsOf(font);
  QTextStream(stdout) << "dialog font: " << QFontInfo(font).family() << " " << font.pointSize()
                      << " pt, base units " << units.base_x << " x " << units.base_y << Qt::endl;
}

// Saves `window` as DIR/name.png; false when a text does not fit.
bool Save(FixedDialog& window, const QDir& dir, const QString& name) {
  window.show();
  QApplication::processEvents();
  const QString file = dir.filePath(name + QStringLiteral(".png"));
  QTextStream out(stdout);
  if (!window.grab().save(file)) out << "cannot write " << file << Qt::endl;
  const QStringList clipped = window.ClippedControls();
  for (const QString& text : clipped) out << name << ": clipped: " << text << Qt::endl;
  window.hide();
  return clipped.isEmpty();
}

// The window as it looks while a run reads the scenery areas.
void ShowRunningState(tarnvale::RunView& view) {
  view.EnableCancelButton(true);
  view.EnableCreateButton(false);
  view.SetProgressRange(0, 120);
  view.SetProgressPosition(47);
  view.SetStatusText("Propeller Objects");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tarnvale-screenshots DIR\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tarnvale"));
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  if (!dir.mkpath(QStringLiteral("."))) return 1;
  PrintFont();

  tarnvale::ProgramState state;
  tarnvale::gui::MessageBoxPresenter presenter;
  tarnvale::gui::TarnvaleDlg window(state, presenter);
  tarnvale::gui::AskforQuelbyProgram target_dialog(presenter);
  tarnvale::gui::FSPath_Dialog simulator_dialog(presenter);
  tarnvale::gui::About_Program about;

  bool all_fit = Save(window, dir, QStringLiteral("main-window"));
  ShowRunningState(window.WindowView());
  all_fit = Save(window, dir, QStringLiteral("main-window-running")) && all_fit;
  all_fit = Save(target_dialog, dir, QStringLiteral("target-program-dialog")) && all_fit;
  all_fit = Save(simulator_dialog, dir, QStringLiteral("simulator-dialog")) && all_fit;
  all_fit = Save(about, dir, QStringLiteral("about-box")) && all_fit;
  return all_fit ? 0 : 1;
}
