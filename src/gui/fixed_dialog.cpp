#include "gui/fixed_dialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

namespace tarnvale::gui {

FixedDialog::FixedDialog(const QString& title, QSize client_size, QWidget* parent)
    : QDialog(parent), client_(new QWidget(this)), layout_(client_, client_size) {
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
  const int menu_height = menu != nullptr ? menu->sizeHint().height() : 0;
  if (menu != nullptr) menu->setGeometry(0, 0, client.width(), menu_height);
  client_->move(0, menu_height);
  setFixedSize(client.width(), client.height() + menu_height);
}

}  // namespace tarnvale::gui
