// The simulator dialog: the simulator's version and its main folder.
#pragma once

#include <filesystem>

#include "gui/setup_dialog.h"

namespace tarnvale::gui {

class FSPath_Dialog final : public SetupDialog {
 public:
  explicit FSPath_Dialog(MessagePresenter& presenter, QWidget* parent = nullptr);

  // The chosen simulator; None while no version is chosen.
  FsVersion Version() const;

  // What the next openings show (the recorded simulator).
  void Prefill(FsVersion version, const QString& folder);

  // The folder of the program the database files are for. A relative answer
  // is taken from it; a "C:\..." answer is looked up in its Wine prefix
  // first, and the simulator's installs are looked for there first too.
  void SetTargetFolder(const std::filesystem::path& folder) { target_folder_ = folder; }

 protected:
  DialogAnswer Answer() const override;
  std::filesystem::path TypedFolder() const override;
  std::filesystem::path NearFolder() const override;
  // Opening offers the installs found of both versions.
  void showEvent(QShowEvent* event) override;

 private:
  // Choosing a version looks for its installs: a single one goes into the
  // folder field unless the user typed something there; several are listed
  // under it. Only "Ok" accepts a folder.
  void LookForInstalls(FsVersion version);
  // Where a relative folder text is taken from.
  std::filesystem::path RelativeBase() const;

  std::filesystem::path target_folder_;
};

// The simulator as the dialog names it ("Microsoft Flight Simulator 2004");
// empty for None.
QString SimulatorText(FsVersion version);

}  // namespace tarnvale::gui
