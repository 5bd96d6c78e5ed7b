// tarnvale-cli: builds the database files without windows, shows what they
// hold, makes synthetic scenery, and runs a self-contained demo.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <map>
#include <ranges>
#include <string>
#include <type_traits>
#include <vector>

#include "cli/create_command.h"
#include "cli/exit_codes.h"
#include "cli/explain_command.h"
#include "cli/file_patterns.h"
#include "cli/help_texts.h"
#include "cli/scenery_commands.h"
#include "cli/set_commands.h"
#include "cli/terminal_view.h"
#include "output/database_dump.h"
#include "platform/code_page.h"
#include "platform/paths.h"
#ifdef _WIN32
#include "cli/explorer_start.h"
#include "platform/windows_system.h"
#endif

namespace {

using namespace tarnvale;
using namespace tarnvale::cli;

// The numbers of the simulator versions, and what each stands for:
// "8 = FS2002, 9 = FS2004".
std::vector<int> SimulatorNumbers() {
  std::vector<int> numbers;
  for (const SimulatorTraits& simulator : kSimulators)
    numbers.push_back(ToNumber(simulator.version));
  return numbers;
}
std::string SimulatorNumbersHelp() {
  std::string help;
  for (const SimulatorTraits& simulator : kSimulators) {
    if (!help.empty()) help += ", ";
    help += std::to_string(ToNumber(simulator.version)) + " = " + std::string(simulator.short_name);
  }
  return help;
}

const auto kFsVersion = CLI::IsMember(SimulatorNumbers());

// The program files that mark a simulator folder, newest first: "fs9.exe or
// fs2002.exe".
std::string ProgramFilesHelp() {
  std::string help;
  for (const SimulatorTraits& simulator : std::views::reverse(kSimulators)) {
    if (!help.empty()) help += " or ";
    help += simulator.program_file;
  }
  return help;
}

// An option whose value is one of the words of `choices`, in any letter
// case; the help lists the words, not the values they stand for.
template <typename Value>
CLI::Option* AddWordOption(CLI::App& command, const std::string& name, Value& value,
                           const std::map<std::string, Value>& choices, const std::string& help) {
  std::vector<std::string> words;
  for (const auto& [word, ignored] : choices) words.push_back(word);
  std::string listed;
  for (const std::string& word : words) listed += (listed.empty() ? "" : "|") + word;
  return command
      .add_option(name, value, help)
      // Transforms run last added first: the word is checked, then mapped.
      ->transform(CLI::CheckedTransformer(choices, CLI::ignore_case).description(""))
      ->transform(CLI::IsMember(words, CLI::ignore_case).description(""))
      ->type_name(listed);
}

std::filesystem::path PathOf(const std::string& text) { return platform::PathFromUtf8(text); }
std::vector<std::filesystem::path> PathOf(const std::vector<std::string>& texts) {
  std::vector<std::filesystem::path> paths;
  for (const std::string& text : texts) paths.push_back(PathOf(text));
  return paths;
}

// An option whose value is a path, an optional path or a vector of them.
// CLI11 would make the path from the typed text with path(std::string),
// which on Windows takes each byte for a character instead of reading UTF-8;
// the option takes text and PathFromUtf8 makes the path.
template <typename Paths>
CLI::Option* AddPathOption(CLI::App& command, const std::string& name, Paths& paths,
                           const std::string& help) {
  using Text = std::conditional_t<std::is_same_v<Paths, std::vector<std::filesystem::path>>,
                                  std::vector<std::string>, std::string>;
  return command.add_option_function<Text>(
      name, [&paths](const Text& text) { paths = PathOf(text); }, help);
}

// The simulator version is typed as its number; the help says which stands
// for which, followed by `more`.
CLI::Option* AddFsVersion(CLI::App& command, FsVersion& version, const std::string& more = {}) {
  return command.add_option("--fs-version", version, SimulatorNumbersHelp() + more)
      ->check(kFsVersion)
      ->type_name("INT");
}

void AddCreate(CLI::App& app, CreateOptions& options) {
  CLI::App* create = app.add_subcommand(
      "create", "Check the target program's folder and build its database files");
  AddPathOption(*create, "--target", options.target,
                "Folder of the program that holds Program_Config.cfg")
      ->required();
  CLI::Option* simulator = AddPathOption(*create, "--simulator", options.simulator,
                                         "Simulator folder (holds " + ProgramFilesHelp() +
                                             "); replaces the one Program_Config.cfg records");
  CLI::Option* version = AddFsVersion(*create, options.fs_version);
  AddPathOption(*create, "--report", options.report,
                "Also write what the run read and passed over, as JSON, to this file");
  create
      ->add_option(
          "--threads", options.threads,
          "Threads that read scenery files and write database files, up to 256 (default 0: one "
          "per core)")
      ->check(CLI::Range(0u, 256u).description(""))
      ->type_name("N");
  simulator->needs(version);
  version->needs(simulator);
  create->footer(
      std::string(kCreateExamples) +
      "Exit status: 0 database files written, 1 error or refused input (the old files stay),\n"
      "  2 usage error or no simulator recorded yet, 3 cancelled by Ctrl-C or SIGTERM.");
}

void AddGenScenery(CLI::App& app, fab::GenerateOptions& options) {
  CLI::App* gen = app.add_subcommand("gen-scenery", "Write a synthetic simulator installation");
  AddPathOption(*gen, "--out", options.out, "Simulator folder to create")->required();
  AddFsVersion(*gen, options.fs_version)->required();
  const std::map<std::string, fab::Preset> presets{
      {"demo", fab::Preset::Demo}, {"world", fab::Preset::World}, {"full", fab::Preset::Full}};
  AddWordOption(*gen, "--preset", options.preset, presets,
                "demo (a few areas), world (the navigation data of a whole stock scenery) or\n"
                "full (world with the terrain, object and texture files of a stock installation)")
      ->required();
  gen->add_option("--scale", options.scale, "Multiplies every record count of the preset")
      ->check(CLI::PositiveNumber);
  gen->add_option("--seed", options.seed, "Same seed, same bytes");
  gen->footer(std::string(kGenSceneryExamples) +
              "Exit status: 0 written, 1 cannot write (DIR not new or empty, or a write failed),\n"
              "  2 usage error.");
}

void AddDemo(CLI::App& app, DemoOptions& options) {
  CLI::App* demo = app.add_subcommand(
      "demo", "Build a sample simulator and program folder, then create the database files");
  AddPathOption(*demo, "--dir", options.dir, "Folder for the demo (default ./tarnvale-demo)");
  AddFsVersion(*demo, options.fs_version, " (default 9)");
  const std::map<std::string, TargetProgram> programs{{"chart", TargetProgram::Chart},
                                                      {"radar", TargetProgram::Radar}};
  AddWordOption(*demo, "--program", options.program, programs, "chart or radar (default chart)");
  demo->footer(
      std::string(kDemoExamples) +
      "Exit status: 0 database files written, 1 error (or DIR holds files not made by demo),\n"
      "  2 usage error, 3 cancelled by Ctrl-C or SIGTERM.");
}

struct DumpOptions {
  std::vector<std::filesystem::path> files;
  bool json = false;
};

void AddDump(CLI::App& app, DumpOptions& options) {
  CLI::App* dump = app.add_subcommand("dump", "Print the records of database files");
  AddPathOption(*dump, "FILE", options.files, "Database files written by Tarnvale")->required();
  dump->add_flag("--json", options.json, "One JSON array instead of one line per record");
  dump->footer(
      std::string(kDumpExamples) +
      "Give the files themselves, not their folder: FOLDER/*.dat (and FOLDER/magdec.bgl).\n"
      "Exit status: 0 every file read, 1 a file missing, a folder, not a database file or\n"
      "  damaged, 2 usage error.");
}

// --- diff and status ---------------------------------------------------------

void AddDiff(CLI::App& app, DiffOptions& options) {
  CLI::App* diff = app.add_subcommand(
      "diff", "Compare two database sets (or files) record by record, by kind and ident");
  AddPathOption(*diff, "OLD", options.old_set, "Database file, or folder holding a set")
      ->required();
  AddPathOption(*diff, "NEW", options.new_set, "Database file, or folder holding a set")
      ->required();
  diff->add_flag("--json", options.json, "The comparison as one JSON object");
  diff->footer(std::string(kDiffExamples) +
               "Exit status: 0 the same records, 4 records added, removed or changed,\n"
               "  1 a set missing, empty or damaged, 2 usage error.");
}

void AddStatus(CLI::App& app, StatusOptions& options) {
  CLI::App* status = app.add_subcommand(
      "status", "Say whether a program's database files are current with the scenery");
  AddPathOption(*status, "--target", options.target,
                "Folder of the program that holds Program_Config.cfg")
      ->required();
  status->add_flag("--json", options.json, "One JSON object instead of lines");
  status->footer(std::string(kStatusExamples) +
                 "Exit status: 0 current, 4 scenery changed, a replacement pending or no\n"
                 "  record of the build, 1 error (no settings, simulator or Scenery.cfg),\n"
                 "  2 usage error.");
}

// --- explain -----------------------------------------------------------------

void AddExplain(CLI::App& app, ExplainOptions& options) {
  CLI::App* explain = app.add_subcommand(
      "explain", "Show every record of an ident, where it came from and what it beat");
  explain
      ->add_option("IDENT", options.ident,
                   "Airport, navaid or intersection ident, airway or "
                   "airspace name (letter case not significant)")
      ->required();
  AddPathOption(*explain, "--target", options.target,
                "Folder of the program that holds Program_Config.cfg")
      ->required();
  CLI::Option* simulator =
      AddPathOption(*explain, "--simulator", options.simulator,
                    "Simulator folder (holds " + ProgramFilesHelp() +
                        "); read instead of the one Program_Config.cfg records");
  CLI::Option* version = AddFsVersion(*explain, options.fs_version);
  explain->add_flag("--json", options.json, "One JSON object instead of text");
  simulator->needs(version);
  version->needs(simulator);
  explain->footer(std::string(kExplainExamples) +
                  "Reads the scenery in memory and writes nothing.\n"
                  "Exit status: 0 records found, 1 no record has the ident or an error,\n"
                  "  2 usage error or no simulator recorded yet.");
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // Arguments and console text in UTF-8, the program's own text everywhere.
  std::vector<std::string> arguments = platform::CommandLineArguments();
  std::vector<char*> words;
  for (std::string& argument : arguments) words.push_back(argument.data());
  words.push_back(nullptr);
  argc = static_cast<int>(arguments.size());
  argv = words.data();
  const platform::Utf8ConsoleOutput console;
  if (argc == 1 && platform::StartedInOwnConsole()) return SayWhereTheWindowIs();
#endif
  CLI::App app{"Tarnvale: builds navigation database files from flight simulator scenery"};
  app.require_subcommand(1);
  app.set_version_flag("--version", "tarnvale-cli " TARNVALE_VERSION);
  app.footer(std::string(kMainExamples) +
             "Exit status: 0 success, 1 error or refused input, 2 usage error, 3 cancelled,\n"
             "  4 differences found (diff, status).");
  std::string code_page;
  app.add_option("--code-page", code_page,
                 std::string("Windows code page of Scenery.cfg and Program_Config.cfg: 1250, 1251 "
                             "or 1252 (default: ")
                     .append(platform::kDefaultCodePageWords)
                     .append(")"))
      ->check([](const std::string& text) {
        return platform::CodePageNamed(text) ? std::string() : "not 1250, 1251 or 1252";
      });
  CreateOptions create;
  fab::GenerateOptions scenery;
  DemoOptions demo;
  DumpOptions dump;
  DiffOptions diff;
  StatusOptions status;
  ExplainOptions explain;
  AddCreate(app, create);
  AddGenScenery(app, scenery);
  AddDemo(app, demo);
  AddDump(app, dump);
  AddDiff(app, diff);
  AddStatus(app, status);
  AddExplain(app, explain);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error);
    return status == 0 ? kExitSuccess : kExitUsage;
  }
  if (!code_page.empty()) platform::SetActiveCodePage(*platform::CodePageNamed(code_page));
  TerminalView view = TerminalView::ForProcess();
  if (app.got_subcommand("create")) return RunCreateCommand(create, view);
  if (app.got_subcommand("dump")) {
#ifdef _WIN32
    dump.files = ExpandFilePatterns(dump.files);
#endif
    return DumpDatabaseFiles(dump.files, dump.json, std::cout, std::cerr) == 0 ? kExitSuccess
                                                                               : kExitError;
  }
  if (app.got_subcommand("diff")) return RunDiffCommand(diff, std::cout, std::cerr);
  if (app.got_subcommand("status")) return RunStatusCommand(status, std::cout, std::cerr);
  if (app.got_subcommand("explain")) return RunExplainCommand(explain, std::cout, std::cerr);
  if (app.got_subcommand("gen-scenery")) return RunGenSceneryCommand(scenery, std::cout);
  return RunDemoCommand(demo, view);
}
