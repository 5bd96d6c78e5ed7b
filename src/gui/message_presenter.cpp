#include "gui/message_presenter.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace tarnvale::gui {

void MessageBoxPresenter::Show(QWidget* owner, const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, owner);
  box.exec();
}

QString ProgramName() { return QCoreApplication::applicationName(); }

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace tarnvale::gui
