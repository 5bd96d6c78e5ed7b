// The about box, shown from "Help" > "About Tarnvale v1.0".
#pragma once

#include "gui/fixed_dialog.h"

class QPlainTextEdit;

namespace tarnvale::gui {

class About_Program final : public FixedDialog {
 public:
  explicit About_Program(QWidget* parent = nullptr);

 protected:
  // Both fields are filled each time the box opens.
  void showEvent(QShowEvent* event) override;

 private:
  QPlainTextEdit* AddScrollingField(const char* name, int x, int y, int width, int height);
  static void ShowWholeLines(QPlainTextEdit* field);

  QPlainTextEdit* description_;
  QPlainTextEdit* credits_;
};

}  // namespace tarnvale::gui
