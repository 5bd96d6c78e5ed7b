// The target-program and simulator dialogs, asked by start-up and by
// "Change Program or Simulator...", and the start-up messages.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/desktop_session.h"
#include "platform/windows_system.h"

namespace tarnvale::win {

// Asks the user for a folder, starting in `start` (empty: wherever the
// system starts); empty when none was chosen.
using FolderChooser =
    std::function<std::filesystem::path(HWND owner, const std::filesystem::path& start)>;

// The system's folder chooser (IFileDialog picking folders).
std::filesystem::path ChooseFolderWithShell(HWND owner, const std::filesystem::path& start);

class WinStartupView final : public DesktopStartupView {
 public:
  WinStartupView();

  // The window that owns the dialogs and messages from now on (none at
  // start: they then stand on their own in the taskbar).
  void SetOwner(HWND owner) { owner_ = owner; }
  // What "Browse..." asks; the system's folder chooser by default.
  void SetFolderChooser(FolderChooser chooser) { chooser_ = std::move(chooser); }

  void PrefillTarget(TargetProgramChoice choice, const std::filesystem::path& folder) override;
  void OfferTargets(const std::vector<FoundProgram>& found) override;
  TargetProgramChoice AcceptedTargetChoice() const override { return accepted_choice_; }
  std::optional<std::filesystem::path> AskTargetFolder() override;
  std::optional<SimulatorChoice> AskSimulator(const SimulatorChoice& recorded) override;
  void ShowMessage(std::string_view text, MessageTitle title) override;

 private:
  HWND owner_ = nullptr;
  FolderChooser chooser_;
  TargetProgramChoice prefilled_choice_ = TargetProgramChoice::None;
  std::filesystem::path prefilled_folder_;
  std::vector<FoundProgram> offered_targets_;
  TargetProgramChoice accepted_choice_ = TargetProgramChoice::None;
  std::filesystem::path target_folder_;  // the one the target dialog accepted last
};

}  // namespace tarnvale::win
