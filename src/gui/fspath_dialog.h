// The simulator dialog: the simulator's version and its main folder.
#pragma once

#include "gui/setup_dialog.h"

namespace tarnvale::gui {

class FSPath_Dialog final : public SetupDialog {
 public:
  explicit FSPath_Dialog(MessagePresenter& presenter, QWidget* parent = nullptr);

  // The chosen simulator; None while no version is chosen.
  FsVersion Version() const;

 protected:
  DialogAnswer Answer() const override;
};

}  // namespace tarnvale::gui
