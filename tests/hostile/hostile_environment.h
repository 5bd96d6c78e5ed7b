// Hostile surroundings for a creation run: a simulator installation and a
// radar program folder in a temporary folder, file systems that are full or
// read-only, and files the system refuses to change.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "cli/cli_process.h"
#include "support/temp_dir.h"

namespace tarnvale::testing {

// A generated FS2004 demo installation and a radar program folder whose
// Program_Config.cfg records it.
class Installation {
 public:
  // `target` is the program folder to use (made when missing); empty: one
  // inside the temporary folder.
  explicit Installation(std::filesystem::path target = {});

  const std::filesystem::path& Simulator() const { return simulator_; }
  const std::filesystem::path& Target() const { return target_; }
  std::filesystem::path ConfigFile() const { return target_ / "Program_Config.cfg"; }
  const std::string& ConfigText() const { return config_text_; }
  // The scenery folder of the first region's area.
  std::filesystem::path RegionFolder() const;

  CliResult Create() const;
  // Program_Config.cfg records another simulator folder from now on.
  void RecordAnotherSimulator();
  // With --simulator and --fs-version naming the simulator; after
  // RecordAnotherSimulator the run rewrites Program_Config.cfg together
  // with the new set.
  CliResult CreateReplacingSimulator() const;

 private:
  TempDir dir_;
  std::filesystem::path simulator_;
  std::filesystem::path target_;
  std::string config_text_;
};

// A small tmpfs mounted on a new folder for the test's lifetime. Available()
// is false where mounting is not allowed.
class ScratchFileSystem {
 public:
  explicit ScratchFileSystem(const std::string& size);
  ~ScratchFileSystem();
  ScratchFileSystem(const ScratchFileSystem&) = delete;
  ScratchFileSystem& operator=(const ScratchFileSystem&) = delete;

  bool Available() const { return mounted_; }
  const std::filesystem::path& Path() const { return mount_point_; }
  // Fills the free space with one file.
  void Fill() const;
  bool MakeReadOnly() const;

 private:
  TempDir dir_;
  std::filesystem::path mount_point_;
  bool mounted_ = false;
};

// Marks a file or folder immutable (not even root may change, replace or
// delete it, nor add to a folder) for the object's lifetime. Available() is
// false where the file system or the process cannot set the mark. On
// Windows the mark is what Windows programs meet instead: the file or folder
// held open by another program that shares it for reading only, so that it
// cannot be written, replaced or deleted, nor renamed into.
class ImmutableMark {
 public:
  explicit ImmutableMark(std::filesystem::path path);
  ~ImmutableMark();
  ImmutableMark(const ImmutableMark&) = delete;
  ImmutableMark& operator=(const ImmutableMark&) = delete;

  bool Available() const { return set_; }

 private:
  bool SetImmutable(bool immutable) const;

  std::filesystem::path path_;
  bool set_ = false;
  void* held_ = nullptr;  // Windows: the handle holding it
};

// The database files (*.dat) in `folder`, sorted.
std::vector<std::filesystem::path> DatabaseFilesIn(const std::filesystem::path& folder);

// Every entry of a folder by name, with the bytes of each file ("<folder>"
// for a folder).
using Snapshot = std::map<std::string, std::string>;
Snapshot Take(const std::filesystem::path& folder);
// The names whose entries differ between two snapshots ("extra X",
// "changed X", "missing X"), so that a failure names files instead of
// printing their bytes.
std::vector<std::string> Differences(const Snapshot& got, const Snapshot& expected);

}  // namespace tarnvale::testing
