// Shared pieces of the desktop program's tests: an offscreen QApplication for
// the whole test program, a presenter that answers messages at once, and
// ways to act on a modal window that the code under test opens.
#pragma once

#include <QString>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "gui/message_presenter.h"

namespace tarnvale::gui::testing {

// The title that the program's messages carry: the executable's base name.
QString ExecutableBaseName();

struct ShownMessage {
  QWidget* owner = nullptr;
  QString title;
  QString text;
  QString summary;  // beneath the text (empty for a plain message)
  QString details;  // the report behind Details (empty for a plain message)
};

// Records every message and returns as if the user had pressed OK at once,
// after running the hook (if any) on the window's thread.
class ScriptedPresenter final : public MessagePresenter {
 public:
  void Show(QWidget* owner, const QString& title, const QString& text) override;
  void ShowWithReport(QWidget* owner, const QString& title, const QString& text,
                      const QString& summary, const QString& details) override;

  void OnShow(std::function<void(const ShownMessage&)> hook) { hook_ = std::move(hook); }
  std::vector<ShownMessage> Messages() const;
  std::vector<std::string> Texts() const;

 private:
  void Record(const ShownMessage& message);

  mutable std::mutex mutex_;
  std::vector<ShownMessage> messages_;
  std::function<void(const ShownMessage&)> hook_;
};

// Processes events until `done` holds. Fails the test (and returns false)
// when it never does, instead of hanging the test program.
bool ProcessEventsUntil(const std::function<bool()>& done);

// Runs `act` on the first visible modal window that `matches` accepts, as
// soon as one is shown: the code under test then waits in its exec().
void WhenModalShown(std::function<bool(QWidget*)> matches, std::function<void(QWidget*)> act);

template <typename T>
void WhenShown(std::function<void(T*)> act) {
  WhenModalShown([](QWidget* widget) { return dynamic_cast<T*>(widget) != nullptr; },
                 [act = std::move(act)](QWidget* widget) { act(dynamic_cast<T*>(widget)); });
}

// Types `name` into the next file dialog that is shown, in `folder`, and
// accepts it.
void ChooseInFileDialog(const std::filesystem::path& folder, const QString& name);

// Presses `key` (Escape, Return, ...) in `widget`.
void PressKey(QWidget* widget, Qt::Key key);

// Clicks the child button of `parent` whose text is `text`.
void ClickButton(QWidget* parent, const QString& text);

// A setup dialog's radio button of that text, and its folder field.
void Choose(QWidget* dialog, const QString& radio_text);
void TypeFolder(QWidget* dialog, const std::filesystem::path& folder);

}  // namespace tarnvale::gui::testing
