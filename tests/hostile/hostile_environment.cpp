// Installations for hostile runs, snapshots of folders, small file systems that fill up or turn
// read-only, and files marked immutable.

#include "hostile/hostile_environment.h"

#ifdef _WIN32
#include "platform/windows_system.h"
#else
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <fstream>

#include "sceneryfab/installation_generator.h"

namespace tarnvale::testing {

namespace fs = std::filesystem;

Installation::Installation(fs::path target)
    : simulator_(dir_ / "simulator"), target_(target.empty() ? dir_ / "radar" : std::move(target)) {
  fab::GenerateOptions options;
  options.out = simulator_;
  options.fs_version = FsVersion::Fs2004;
  fab::GenerateInstallation(options);
  fs::create_directories(target_ / "DEFAULT_DB");
  config_text_ =
      "[Main Settings]\r\nProgram_Name=Scopel\r\nProgram_Id=2\r\nFS_Version=9\r\nFS_Directory=" +
      simulator_.string() + "\r\n";
  WriteFile(ConfigFile(), config_text_);
}

Snapshot Take(const fs::path& folder) {
  Snapshot snapshot;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    snapshot[entry.path().filename().string()] =
        entry.is_directory() ? "<folder>" : ReadFile(entry.path());
  }
  return snapshot;
}

std::vector<std::string> Differences(const Snapshot& got, const Snapshot& expected) {
  std::vector<std::string> names;
  for (const auto& [name, bytes] : got) {
    const auto other = expected.find(name);
    if (other == expected.end())
      names.push_back("extra " + name);
    else if (other->second != bytes)
      names.push_back("changed " + name);
  }
  for (const auto& [name, bytes] : expected) {
    if (!got.contains(name)) names.push_back("missing " + name);
  }
  return names;
}

fs::path Installation::RegionFolder() const {
  return simulator_ / "Scenery" / "Region01" / "Scenery";
}

CliResult Installation::Create() const { return RunCli({"create", "--target", target_.string()}); }

void Installation::RecordAnotherSimulator() {
  const std::string recorded = "FS_Directory=" + simulator_.string();
  config_text_.replace(config_text_.find(recorded), recorded.size(), recorded + "-before");
  WriteFile(ConfigFile(), config_text_);
}

CliResult Installation::CreateReplacingSimulator() const {
  return RunCli({"create", "--target", target_.string(), "--simulator", simulator_.string(),
                 "--fs-version", "9"});
}

#ifdef _WIN32
// No file system can be made and mounted for a moment on Windows without
// administrator rights.
ScratchFileSystem::ScratchFileSystem(const std::string&) : mount_point_(dir_ / "mounted") {}
ScratchFileSystem::~ScratchFileSystem() = default;
void ScratchFileSystem::Fill() const {}
bool ScratchFileSystem::MakeReadOnly() const { return false; }

// A folder cannot be held that way: files are still added to and renamed
// into it.
ImmutableMark::ImmutableMark(fs::path path) : path_(std::move(path)) {
  if (fs::is_directory(path_)) return;
  const HANDLE handle = ::CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  set_ = handle != INVALID_HANDLE_VALUE;
  if (set_) held_ = handle;
}

ImmutableMark::~ImmutableMark() {
  if (set_) ::CloseHandle(held_);
}

bool ImmutableMark::SetImmutable(bool) const { return false; }
#else
ScratchFileSystem::ScratchFileSystem(const std::string& size) : mount_point_(dir_ / "mounted") {
  fs::create_directories(mount_point_);
  const std::string options = "size=" + size;
  mounted_ = ::mount("tmpfs", mount_point_.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

ScratchFileSystem::~ScratchFileSystem() {
  if (mounted_) ::umount2(mount_point_.c_str(), MNT_DETACH);
}

void ScratchFileSystem::Fill() const {
  std::ofstream filler(mount_point_ / "filler", std::ios::binary);
  const std::string block(4096, 'x');
  while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) {
  }
}

bool ScratchFileSystem::MakeReadOnly() const {
  return ::mount(nullptr, mount_point_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

ImmutableMark::ImmutableMark(fs::path path) : path_(std::move(path)) { set_ = SetImmutable(true); }

ImmutableMark::~ImmutableMark() {
  if (set_) SetImmutable(false);
}

bool ImmutableMark::SetImmutable(bool immutable) const {
  const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  int flags = 0;
  bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (done) {
    flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  ::close(fd);
  return done;
}

#endif

std::vector<fs::path> DatabaseFilesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ".dat") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace tarnvale::testing
