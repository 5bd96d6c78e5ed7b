// The application object: asks the start-up questions, then shows the main
// window until it closes.
#pragma once

#include <QApplication>

namespace tarnvale::gui {

class Tarnvale final : public QApplication {
 public:
  Tarnvale(int& argc, char** argv);

  // The whole program; returns its exit code (0 also when a setup dialog
  // was closed without an answer).
  [[nodiscard]] int Run();
};

}  // namespace tarnvale::gui
