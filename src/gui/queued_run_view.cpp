// The window's thread reached through Qt's queued calls to its QObject.

#include "gui/queued_run_view.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <utility>

namespace tarnvale::gui {

bool QObjectThread::IsCurrent() const { return QThread::currentThread() == window_->thread(); }

void QObjectThread::Post(std::function<void()> call) {
  QMetaObject::invokeMethod(window_, std::move(call), Qt::QueuedConnection);
}

void QObjectThread::RunPosted() { QCoreApplication::sendPostedEvents(window_, QEvent::MetaCall); }

}  // namespace tarnvale::gui
