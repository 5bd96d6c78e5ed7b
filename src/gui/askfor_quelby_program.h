// The target-program dialog: which sibling program the database files are
// for, and the folder where it is installed.
#pragma once

#include "gui/setup_dialog.h"

namespace tarnvale::gui {

class AskforQuelbyProgram final : public SetupDialog {
 public:
  explicit AskforQuelbyProgram(MessagePresenter& presenter, QWidget* parent = nullptr);

 protected:
  DialogAnswer Answer() const override;
};

}  // namespace tarnvale::gui
