// The start-up questions put to the user through the Qt setup dialogs, and its messages through the
// presenter.

#include "gui/dialog_startup_view.h"

#include <string>

namespace tarnvale::gui {

DialogStartupView::DialogStartupView(AskforQuelbyProgram& target_dialog,
                                     FSPath_Dialog& simulator_dialog, MessagePresenter& presenter,
                                     QWidget* owner)
    : target_dialog_(target_dialog),
      simulator_dialog_(simulator_dialog),
      presenter_(presenter),
      owner_(owner) {}

void DialogStartupView::PrefillTarget(TargetProgramChoice choice,
                                      const std::filesystem::path& folder) {
  target_dialog_.Prefill(choice, QString::fromStdString(folder.string()));
}

void DialogStartupView::OfferTargets(const std::vector<FoundProgram>& found) {
  target_dialog_.OfferFound(found);
}

TargetProgramChoice DialogStartupView::AcceptedTargetChoice() const {
  return target_dialog_.Choice();
}

std::optional<std::filesystem::path> DialogStartupView::AskTargetFolder() {
  if (target_dialog_.exec() != QDialog::Accepted) return std::nullopt;
  target_folder_ = target_dialog_.AcceptedFolder();
  return target_folder_;
}

// The simulator is looked for, and a "C:\..." answer looked up, in the Wine
// prefix of the target program first.
std::optional<SimulatorChoice> DialogStartupView::AskSimulator(const SimulatorChoice& recorded) {
  simulator_dialog_.SetTargetFolder(target_folder_);
  simulator_dialog_.Prefill(recorded.version, QString::fromStdString(recorded.folder.string()));
  if (simulator_dialog_.exec() != QDialog::Accepted) return std::nullopt;
  return SimulatorChoice{simulator_dialog_.Version(), simulator_dialog_.AcceptedFolder()};
}

void DialogStartupView::ShowMessage(std::string_view text, MessageTitle title) {
  const std::string program = ProgramName().toStdString();
  presenter_.Show(owner_, ToQString(MessageTitleText(title, program)), ToQString(text));
}

}  // namespace tarnvale::gui
