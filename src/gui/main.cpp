// tarnvale: the desktop program built with Qt; --version is answered without any window.

#include <iostream>
#include <string_view>

#include "gui/tarnvale.h"

int main(int argc, char** argv) {
  // Answered before any window system is needed.
  if (argc == 2 && std::string_view(argv[1]) == "--version") {
    std::cout << "tarnvale " TARNVALE_VERSION "\n";
    return 0;
  }
  tarnvale::gui::Tarnvale application(argc, argv);
  return application.Run();
}
