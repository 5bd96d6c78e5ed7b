// The simulator dialog: the simulator's version and its main folder.
#pragma once

#include <cstdint>

#include "gui/setup_dialog.h"

namespace tarnvale::gui {

class FSPath_Dialog final : public SetupDialog {
 public:
  explicit FSPath_Dialog(MessagePresenter& presenter, QWidget* parent = nullptr);

  // 8 = FS2002, 9 = FS2004, 0 while no version is chosen.
  std::int16_t Version() const;

 protected:
  DialogAnswer Answer() const override;
};

}  // namespace tarnvale::gui
