#include "gui/tarnvale.h"

int main(int argc, char** argv) {
  tarnvale::gui::Tarnvale application(argc, argv);
  return application.Run();
}
