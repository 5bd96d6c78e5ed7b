// The start-up sequence's questions asked through the setup dialogs, and its
// messages through the presenter.
#pragma once

#include "app/desktop_session.h"
#include "gui/askfor_quelby_program.h"
#include "gui/fspath_dialog.h"
#include "gui/message_presenter.h"

namespace tarnvale::gui {

class DialogStartupView final : public DesktopStartupView {
 public:
  // `owner` owns the start-up messages (the main window, still hidden).
  DialogStartupView(AskforQuelbyProgram& target_dialog, FSPath_Dialog& simulator_dialog,
                    MessagePresenter& presenter, QWidget* owner);

  void PrefillTarget(TargetProgramChoice choice, const std::filesystem::path& folder) override;
  void OfferTargets(const std::vector<FoundProgram>& found) override;
  TargetProgramChoice AcceptedTargetChoice() const override;

  std::optional<std::filesystem::path> AskTargetFolder() override;
  // Opens with the recorded simulator.
  std::optional<SimulatorChoice> AskSimulator(const SimulatorChoice& recorded) override;
  void ShowMessage(std::string_view text, MessageTitle title) override;

 private:
  AskforQuelbyProgram& target_dialog_;
  FSPath_Dialog& simulator_dialog_;
  MessagePresenter& presenter_;
  QWidget* owner_;
  std::filesystem::path target_folder_;  // the one the target dialog accepted last
};

}  // namespace tarnvale::gui
