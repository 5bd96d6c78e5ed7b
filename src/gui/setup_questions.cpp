// The Qt program's setup questions: the remembered target program in QSettings, and start-up and
// Change through the setup dialogs.

#include "gui/setup_questions.h"

#include <QSettings>

#include "gui/message_presenter.h"
#include "platform/code_page.h"

namespace tarnvale::gui {
namespace {

const QString kChoiceKey = QStringLiteral("TargetProgram/Choice");
const QString kFolderKey = QStringLiteral("TargetProgram/Folder");
const QString kCodePageKey = QStringLiteral("CodePage");

}  // namespace

RememberedTarget SettingsMemory::Load() const {
  return {TargetChoiceFromNumber(settings_.value(kChoiceKey).toInt()),
          settings_.value(kFolderKey).toString().toStdString(),
          platform::CodePageNamed(settings_.value(kCodePageKey).toString().toStdString())};
}

void SettingsMemory::Save(const RememberedTarget& target) {
  settings_.setValue(kChoiceKey, static_cast<int>(target.choice));
  settings_.setValue(kFolderKey, QString::fromStdString(target.folder.string()));
  if (target.code_page) {
    settings_.setValue(kCodePageKey, ToQString(platform::CodePageNumber(*target.code_page)));
  }
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

void SetupQuestions::ChooseCodePage(ProgramState& state, platform::CodePage code_page) {
  static_cast<void>(tarnvale::ChooseCodePage(state, code_page, memory_));
}

}  // namespace tarnvale::gui
