// The Qt program's setup questions: the remembered target program in QSettings, and start-up and
// Change through the setup dialogs.

#include "gui/setup_questions.h"

#include <QSettings>

namespace tarnvale::gui {
namespace {

const QString kChoiceKey = QStringLiteral("TargetProgram/Choice");
const QString kFolderKey = QStringLiteral("TargetProgram/Folder");

}  // namespace

RememberedTarget SettingsMemory::Load() const {
  return {TargetChoiceFromNumber(settings_.value(kChoiceKey).toInt()),
          settings_.value(kFolderKey).toString().toStdString()};
}

void SettingsMemory::Save(const RememberedTarget& target) {
  settings_.setValue(kChoiceKey, static_cast<int>(target.choice));
  settings_.setValue(kFolderKey, QString::fromStdString(target.folder.string()));
  settings_.sync();
}

SetupQuestions::SetupQuestions(MessagePresenter& presenter, QSettings& memory, QWidget* owner)
    : target_dialog_(presenter),
      simulator_dialog_(presenter),
      view_(target_dialog_, simulator_dialog_, presenter, owner),
      memory_(memory) {}

StartupOutcome SetupQuestions::Start(ProgramState& state) {
  return StartDesktopSession(state, view_, memory_);
}

bool SetupQuestions::Change(ProgramState& state) {
  return ChangeDesktopSetup(state, view_, memory_);
}

}  // namespace tarnvale::gui
