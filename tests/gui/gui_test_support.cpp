// The offscreen QApplication, the scripted presenter, and ways to act on the modal windows and
// dialogs of the desktop program's tests.

#include "gui_test_support.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

namespace tarnvale::gui::testing {
namespace {

// Generous: only a broken program gets near it, and then the test fails
// rather than hangs.
constexpr int kGiveUpAfterMs = 120'000;

// One QApplication for the whole test program, drawn offscreen so that the
// tests need no display.
class OffscreenApplication final : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // File dialogs open in, and Qt keeps what they remember in, a home of
    // the test program's own: never the user's. The simulator dialog looks
    // for installs in ~/.wine and $WINEPREFIX: only the tests' own prefixes.
    qputenv("HOME", home_.path().toLocal8Bit());
    qunsetenv("WINEPREFIX");
    qputenv("XDG_CONFIG_HOME", home_.filePath(QStringLiteral(".config")).toLocal8Bit());
    application_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override { application_.reset(); }

 private:
  int argc_ = 1;
  char name_[9] = "test_gui";
  char* argv_[2] = {name_, nullptr};
  QTemporaryDir home_;
  std::unique_ptr<QApplication> application_;
};

const auto* const kApplication = ::testing::AddGlobalTestEnvironment(new OffscreenApplication);

}  // namespace

QString ExecutableBaseName() {
  return QFileInfo(QCoreApplication::applicationFilePath()).baseName();
}

void ScriptedPresenter::Show(QWidget* owner, const QString& title, const QString& text) {
  Record({owner, title, text, {}, {}});
}

void ScriptedPresenter::ShowWithReport(QWidget* owner, const QString& title, const QString& text,
                                       const QString& summary, const QString& details) {
  Record({owner, title, text, summary, details});
}

void ScriptedPresenter::Record(const ShownMessage& message) {
  {
    std::lock_guard lock(mutex_);
    messages_.push_back(message);
  }
  if (hook_) hook_(message);
}

std::vector<ShownMessage> ScriptedPresenter::Messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

std::vector<std::string> ScriptedPresenter::Texts() const {
  std::vector<std::string> texts;
  for (const ShownMessage& message : Messages()) texts.push_back(message.text.toStdString());
  return texts;
}

bool ProcessEventsUntil(const std::function<bool()>& done) {
  QDeadlineTimer deadline(kGiveUpAfterMs);
  while (!done()) {
    if (deadline.hasExpired()) {
      ADD_FAILURE() << "the awaited state never came";
      return false;
    }
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

void WhenModalShown(std::function<bool(QWidget*)> matches, std::function<void(QWidget*)> act) {
  auto* poll = new QTimer(qApp);
  QObject::connect(poll, &QTimer::timeout, poll,
                   [poll, matches = std::move(matches), act = std::move(act)] {
                     QWidget* modal = QApplication::activeModalWidget();
                     if (modal == nullptr || !modal->isVisible() || !matches(modal)) return;
                     poll->stop();
                     poll->deleteLater();
                     act(modal);
                   });
  poll->start(5);
}

void ChooseInFileDialog(const std::filesystem::path& folder, const QString& name) {
  WhenShown<QFileDialog>([folder, name](QFileDialog* files) {
    files->setDirectory(QString::fromStdString(folder.string()));
    files->selectFile(name);
    static_cast<QDialog*>(files)->accept();
  });
}

void PressKey(QWidget* widget, Qt::Key key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
}

void ClickButton(QWidget* parent, const QString& text) {
  for (QAbstractButton* button : parent->findChildren<QAbstractButton*>()) {
    if (button->text() == text) {
      button->click();
      return;
    }
  }
  ADD_FAILURE() << "no button " << text.toStdString();
}

void Choose(QWidget* dialog, const QString& radio_text) {
  for (QRadioButton* radio : dialog->findChildren<QRadioButton*>()) {
    if (radio->text() == radio_text) radio->click();
  }
}

void TypeFolder(QWidget* dialog, const std::filesystem::path& folder) {
  dialog->findChild<QLineEdit*>(QStringLiteral("FolderField"))
      ->setText(QString::fromStdString(folder.string()));
}

}  // namespace tarnvale::gui::testing
