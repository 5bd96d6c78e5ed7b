// A dialog of fixed size whose controls are placed in dialog units, in the
// dialog font, with an optional menu bar above its client area.
#pragma once

#include <QDialog>
#include <QSize>
#include <QString>

#include "gui/dialog_layout.h"

class QGroupBox;
class QLabel;
class QMenuBar;
class QPushButton;

namespace tarnvale::gui {

class FixedDialog : public QDialog {
 public:
  // `client_size` is in dialog units.
  FixedDialog(const QString& title, QSize client_size, QWidget* parent = nullptr);

  // The controls whose text does not fit their rectangles (empty when all do).
  QStringList ClippedControls() const { return layout_.ClippedControls(); }

 protected:
  // The parent of every control.
  QWidget* Client() const { return client_; }
  DialogLayout& Layout() { return layout_; }

  // Controls placed at x, y, width, height in dialog units, in the order of
  // the dialog layout (later ones are drawn above earlier ones).
  QGroupBox* AddGroupBox(const QString& title, int x, int y, int width, int height);
  // A static text, wrapped at word boundaries.
  QLabel* AddText(const QString& text, int x, int y, int width, int height);
  QPushButton* AddButton(const QString& text, int x, int y, int width, int height);

  // Sizes the controls and the dialog once they are all placed; `menu`,
  // when given, sits above the client area.
  void FinishLayout(QMenuBar* menu = nullptr);

  // After FinishLayout: a new height of the client area, in dialog units,
  // the width and the controls' places kept.
  void SetClientHeight(int height);

 private:
  QWidget* client_;
  DialogLayout layout_;
  QSize client_size_;
  int menu_height_ = 0;
};

}  // namespace tarnvale::gui
