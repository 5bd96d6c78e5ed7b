// A Qt dialog of fixed size: group boxes, texts and buttons placed in dialog units, and an optional
// menu bar.

#include "gui/fixed_dialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

namespace tarnvale::gui {

FixedDialog::FixedDialog(const QString& title, QSize client_size, QWidget* parent)
    : QDialog(parent),
      client_(new QWidget(this)),
      layout_(client_, client_size),
      client_size_(client_size) {
  setFont(DialogFont());
  setWindowTitle(title);
}

QGroupBox* FixedDialog::AddGroupBox(const QString& title, int x, int y, int width, int height) {
  auto* group = new QGroupBox(title, client_);
  layout_.Place(group, x, y, width, height);
  return group;
}

QLabel* FixedDialog::AddText(const QString& text, int x, int y, int width, int height) {
  auto* label = new QLabel(text, client_);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  layout_.Place(label, x, y, width, height);
  return label;
}

QPushButton* FixedDialog::AddButton(const QString& text, int x, int y, int width, int height) {
  auto* button = new QPushButton(text, client_);
  layout_.Place(button, x, y, width, height);
  return button;
}

void FixedDialog::FinishLayout(QMenuBar* menu) {
  const QSize client = layout_.Apply();
  menu_height_ = menu != nullptr ? menu->sizeHint().height() : 0;
  if (menu != nullptr) menu->setGeometry(0, 0, client.width(), menu_height_);
  client_->move(0, menu_height_);
  setFixedSize(client.width(), client.height() + menu_height_);
}

void FixedDialog::SetClientHeight(int height) {
  const QSize client = layout_.Resize({client_size_.width(), height});
  setFixedSize(client.width(), client.height() + menu_height_);
}

}  // namespace tarnvale::gui
