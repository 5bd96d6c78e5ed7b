// What a power cut may leave of the changes made below a folder, worked
// out from the platform's record of every file change
// (platform::RecordFileChanges), for tests that cut the power at every flush.
//
// A file's bytes last as of its last flush (a file never flushed is empty).
// A folder's entries last as of its last flush, and the system may have
// written them back on its own at any moment since: each folder holds its
// entries as they were at its last flush or after any later change up to
// the cut, independently of the other folders. "Everything unflushed
// dropped" is every folder as at its last flush; "every rename kept, the
// bytes not flushed lost" is every folder as at the cut. A rename from one
// folder to another may last in the new folder only (the file then has both
// names), but a rename moves a name and never loses the file: where the old
// name is gone, the file is found under its new one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/fault_injection.h"

namespace tarnvale::testing {

// Every entry below a folder by its path relative to the folder ("a/b"),
// with the bytes of each file ("<folder>" for a folder).
using Tree = std::map<std::string, std::string>;
Tree ReadTree(const std::filesystem::path& folder);
// Makes `folder` hold exactly `tree`.
void WriteTree(const std::filesystem::path& folder, const Tree& tree);

// One thing a power cut may leave in the folder.
struct PowerCutState {
  std::string moment;   // "before flush 3 of 17 (file .tarnvale-staging/world_airports.dat)"
  std::string folders;  // each folder that had changes since its last flush, and how many it kept
  Tree tree;
};

// Records, while it lives, the changes made below `root`, whose entries are
// taken to be on disk when it starts.
class PowerCutRecorder final : public platform::FileChangeRecorder {
 public:
  explicit PowerCutRecorder(std::filesystem::path root);
  ~PowerCutRecorder() override;
  PowerCutRecorder(const PowerCutRecorder&) = delete;
  PowerCutRecorder& operator=(const PowerCutRecorder&) = delete;

  // The flushes of files and folders below the root so far.
  std::size_t Flushes() const { return moments_.size(); }
  // Ends the record, then hands `check` every distinct state that a power
  // cut just before one of the flushes, or after the last change, may leave.
  void ForEachState(const std::function<void(const PowerCutState&)>& check);
  // The folder as the recorded changes left it: what is on disk, unless a
  // change was made past the platform's routines.
  Tree Now() const;

  void Note(const platform::FileChangeEvent& event) override;

 private:
  using Entries = std::map<std::string, std::size_t>;
  struct Node {
    bool folder = false;
    // A folder's entries at its last flush, then after each change since;
    // the first is the folder's version `first` counting from its making.
    std::vector<Entries> versions;
    std::size_t first = 0;
    // A file's bytes as of its last flush.
    std::shared_ptr<const std::string> flushed;
  };
  using Disk = std::vector<Node>;
  // A file renamed from one folder to another.
  struct Move {
    std::size_t file = 0;
    std::size_t from = 0;
    std::size_t without = 0;  // the version of `from` that lacks the old name
  };
  struct Moment {
    std::string what;
    Disk disk;
    std::vector<Move> moves;
  };
  // The entries a walk meets, each path with its node.
  using Layout = std::vector<std::pair<std::string, std::size_t>>;

  static void Walk(const Disk& disk, const std::vector<std::size_t>& version, std::size_t folder,
                   const std::string& prefix, Layout& layout);
  static std::vector<std::size_t> Latest(const Disk& disk);

  std::size_t Scan(const std::filesystem::path& path, bool folder, std::string name);
  std::size_t NewNode(bool folder, std::string name);
  // The folder that holds `path`, and its name there; none outside the root.
  std::optional<std::pair<std::size_t, std::string>> Locate(
      const std::filesystem::path& path) const;
  std::optional<std::size_t> Find(const std::filesystem::path& path) const;
  void Link(std::size_t folder, const std::string& name, std::size_t node);
  void Unlink(const std::filesystem::path& path);
  void Empty(std::size_t folder);
  void CreateFile(const std::filesystem::path& path, std::intptr_t handle);
  void Rename(const std::filesystem::path& from, const std::filesystem::path& to);
  void Remember(const std::string& flushed);
  void StatesOf(const Moment& moment, const std::function<void(const PowerCutState&)>& check,
                std::set<std::uint64_t>& seen) const;

  std::filesystem::path root_;
  mutable std::mutex mutex_;
  Disk disk_;                       // node 0: the root
  std::vector<std::string> bytes_;  // each file's bytes now
  std::vector<std::string> names_;  // each node's path below the root, for messages
  std::map<std::intptr_t, std::size_t> open_;
  std::vector<Move> moves_;
  std::vector<Moment> moments_;
};

}  // namespace tarnvale::testing
