// The desktop program's setup questions: which program the database files
// are for and where it is (remembered from one start to the next in the
// user's settings), and which simulator it reads.
#pragma once

#include "app/program_state.h"
#include "app/startup.h"
#include "gui/askfor_quelby_program.h"
#include "gui/dialog_startup_view.h"
#include "gui/fspath_dialog.h"
#include "gui/message_presenter.h"

class QSettings;

namespace tarnvale::gui {

class SetupQuestions {
 public:
  // `memory` keeps the last program and folder; `owner` owns the messages.
  SetupQuestions(MessagePresenter& presenter, QSettings& memory, QWidget* owner);

  // Start-up, the target dialog opening with the program and folder of the
  // last start that succeeded.
  StartupOutcome Start(ProgramState& state);
  // "Change Program or Simulator...": both dialogs open with what the
  // window serves now. True when it serves the new answers.
  bool Change(ProgramState& state);

  AskforQuelbyProgram& TargetDialog() { return target_dialog_; }
  FSPath_Dialog& SimulatorDialog() { return simulator_dialog_; }

 private:
  void Remember(const ProgramState& state);

  AskforQuelbyProgram target_dialog_;
  FSPath_Dialog simulator_dialog_;
  DialogStartupView view_;
  QSettings& memory_;
};

}  // namespace tarnvale::gui
