// Runs stored fuzz inputs through one entry, without libFuzzer, so that any
// compiler's build replays the corpus and the inputs of past crashes.
//
//   tarnvale-fuzz-replay TARGET PATH...
//
// Each PATH is a file or a folder whose files are all replayed. A crash
// aborts the program, naming the input on standard error first.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_entries.h"

namespace {

using tarnvale::fuzz::FuzzTarget;

const FuzzTarget* FindTarget(std::string_view name) {
  for (const FuzzTarget& target : tarnvale::fuzz::FuzzTargets()) {
    if (target.name == name) return &target;
  }
  return nullptr;
}

std::vector<std::filesystem::path> InputsUnder(const std::filesystem::path& path) {
  if (!std::filesystem::is_directory(path)) return {path};
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

bool Replay(const FuzzTarget& target, const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::cerr << "cannot read " << file.string() << '\n';
    return false;
  }
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
  std::cerr << "replaying " << file.string() << '\n';
  target.entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const FuzzTarget* target = argc > 1 ? FindTarget(argv[1]) : nullptr;
  if (target == nullptr) {
    std::cerr << "usage: tarnvale-fuzz-replay TARGET PATH...\ntargets:";
    for (const FuzzTarget& known : tarnvale::fuzz::FuzzTargets()) std::cerr << ' ' << known.name;
    std::cerr << '\n';
    return 2;
  }
  int replayed = 0;
  bool all_read = true;
  for (int i = 2; i < argc; ++i) {
    for (const std::filesystem::path& file : InputsUnder(argv[i])) {
      all_read = Replay(*target, file) && all_read;
      ++replayed;
    }
  }
  std::cout << replayed << " inputs replayed through " << target->name << '\n';
  return all_read ? 0 : 1;
}
