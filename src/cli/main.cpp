#include <CLI/CLI.hpp>

int main(int argc, char** argv) {
  CLI::App app{"Tarnvale: builds navigation database files from flight simulator scenery"};
  app.require_subcommand(1);
  CLI11_PARSE(app, argc, argv);
  return 0;
}
