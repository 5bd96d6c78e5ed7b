// The desktop program's setup questions: which program the database files
// are for and where it is (remembered from one start to the next in the
// user's settings), and which simulator it reads.
#pragma once

#include "app/desktop_session.h"
#include "app/program_state.h"
#include "gui/askfor_quelby_program.h"
#include "gui/dialog_startup_view.h"
#include "gui/fspath_dialog.h"
#include "gui/message_presenter.h"

class QSettings;

namespace tarnvale::gui {

// The last program and folder, kept in the user's settings file.
class SettingsMemory final : public TargetMemory {
 public:
  explicit SettingsMemory(QSettings& settings) : settings_(settings) {}
  RememberedTarget Load() const override;
  void Save(const RememberedTarget& target) override;

 private:
  QSettings& settings_;
};

class SetupQuestions {
 public:
  // `memory` keeps the last program and folder; `owner` owns the messages.
  SetupQuestions(MessagePresenter& presenter, QSettings& memory, QWidget* owner);

  // StartDesktopSession and ChangeDesktopSetup through the dialogs.
  [[nodiscard]] StartupOutcome Start(ProgramState& state);
  [[nodiscard]] bool Change(ProgramState& state);
  // "File" > "Code Page": chosen for the next run, and remembered.
  void ChooseCodePage(ProgramState& state, platform::CodePage code_page);

  AskforQuelbyProgram& TargetDialog() { return target_dialog_; }
  FSPath_Dialog& SimulatorDialog() { return simulator_dialog_; }

 private:
  AskforQuelbyProgram target_dialog_;
  FSPath_Dialog simulator_dialog_;
  DialogStartupView view_;
  SettingsMemory memory_;
};

}  // namespace tarnvale::gui
