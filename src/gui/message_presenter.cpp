// The program's message title and its texts as Qt shows them.
#include "gui/message_presenter.h"

#include <QCoreApplication>

namespace tarnvale::gui {

QString ProgramName() { return QCoreApplication::applicationName(); }

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace tarnvale::gui
