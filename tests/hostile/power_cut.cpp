// The model of a disk after a power cut: the recorded files and folders,
// each folder's entries at its last flush and after each change since, and
// every mix of those that a cut may leave.
#include "hostile/power_cut.h"

#include <algorithm>
#include <set>
#include <string_view>
#include <utility>

#include "support/temp_dir.h"

namespace tarnvale::testing {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kFolderMark = "<folder>";

}  // namespace

Tree ReadTree(const fs::path& folder) {
  Tree tree;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    tree[entry.path().lexically_relative(folder).generic_string()] =
        entry.is_directory() ? std::string(kFolderMark) : ReadFile(entry.path());
  }
  return tree;
}

void WriteTree(const fs::path& folder, const Tree& tree) {
  fs::remove_all(folder);
  fs::create_directories(folder);
  for (const auto& [name, bytes] : tree) {
    if (bytes == kFolderMark) {
      fs::create_directories(folder / name);
    } else {
      WriteFile(folder / name, bytes);
    }
  }
}

PowerCutRecorder::PowerCutRecorder(fs::path root) : root_(root.lexically_normal()) {
  Scan(root_, true, "");
  platform::RecordFileChanges(this);
}

PowerCutRecorder::~PowerCutRecorder() { platform::RecordFileChanges(nullptr); }

std::size_t PowerCutRecorder::NewNode(bool folder, std::string name) {
  Node node;
  node.folder = folder;
  if (folder) node.versions.emplace_back();
  node.flushed = std::make_shared<const std::string>();
  disk_.push_back(std::move(node));
  bytes_.emplace_back();
  names_.push_back(std::move(name));
  return disk_.size() - 1;
}

std::size_t PowerCutRecorder::Scan(const fs::path& path, bool folder, std::string name) {
  const std::size_t id = NewNode(folder, name);
  if (!folder) {
    bytes_[id] = ReadFile(path);
    disk_[id].flushed = std::make_shared<const std::string>(bytes_[id]);
    return id;
  }
  Entries entries;
  for (const fs::directory_entry& entry : fs::directory_iterator(path)) {
    const std::string child = entry.path().filename().string();
    entries[child] = Scan(entry.path(), fs::is_directory(entry.symlink_status()),
                          name.empty() ? child : name + "/" + child);
  }
  disk_[id].versions = {std::move(entries)};
  return id;
}

std::optional<std::pair<std::size_t, std::string>> PowerCutRecorder::Locate(
    const fs::path& path) const {
  const fs::path relative = path.lexically_normal().lexically_relative(root_);
  if (relative.empty() || relative == "." || *relative.begin() == "..") return std::nullopt;
  std::size_t folder = 0;
  for (const fs::path& part : relative.parent_path()) {
    const Entries& entries = disk_[folder].versions.back();
    const auto found = entries.find(part.string());
    if (found == entries.end() || !disk_[found->second].folder) return std::nullopt;
    folder = found->second;
  }
  return std::pair{folder, relative.filename().string()};
}

std::optional<std::size_t> PowerCutRecorder::Find(const fs::path& path) const {
  if (path.lexically_normal().lexically_relative(root_) == ".") return 0;
  const auto place = Locate(path);
  if (!place) return std::nullopt;
  const Entries& entries = disk_[place->first].versions.back();
  const auto found = entries.find(place->second);
  if (found == entries.end()) return std::nullopt;
  return found->second;
}

void PowerCutRecorder::Link(std::size_t folder, const std::string& name, std::size_t node) {
  std::vector<Entries>& versions = disk_[folder].versions;
  versions.push_back(versions.back());
  versions.back()[name] = node;
}

void PowerCutRecorder::Unlink(const fs::path& path) {
  const std::optional<std::size_t> node = Find(path);
  if (!node || *node == 0) return;
  if (disk_[*node].folder) Empty(*node);
  const auto [folder, name] = *Locate(path);
  std::vector<Entries>& versions = disk_[folder].versions;
  versions.push_back(versions.back());
  versions.back().erase(name);
}

// A folder's entries removed, those of its folders first.
void PowerCutRecorder::Empty(std::size_t folder) {
  std::vector<Entries>& versions = disk_[folder].versions;
  if (versions.back().empty()) return;
  for (const auto& [name, node] : versions.back()) {
    if (disk_[node].folder) Empty(node);
  }
  versions.emplace_back();
}

void PowerCutRecorder::CreateFile(const fs::path& path, std::intptr_t handle) {
  const auto place = Locate(path);
  if (!place) {
    open_.erase(handle);  // a file elsewhere may have a handle of the same value
    return;
  }
  std::optional<std::size_t> node = Find(path);
  if (node && !disk_[*node].folder) {
    bytes_[*node].clear();  // an existing file is emptied
  } else {
    node =
        NewNode(false, names_[place->first].empty() ? place->second
                                                    : names_[place->first] + "/" + place->second);
    Link(place->first, place->second, *node);
  }
  open_[handle] = *node;
}

void PowerCutRecorder::Rename(const fs::path& from, const fs::path& to) {
  const std::optional<std::size_t> node = Find(from);
  const auto source = Locate(from);
  const auto destination = Locate(to);
  if (!node || !source) return;
  std::vector<Entries>& versions = disk_[source->first].versions;
  versions.push_back(versions.back());
  versions.back().erase(source->second);
  if (!destination) return;
  // Within one folder the name changes in one step.
  if (destination->first == source->first) {
    versions.back()[destination->second] = *node;
    return;
  }
  Link(destination->first, destination->second, *node);
  moves_.push_back({*node, source->first, disk_[source->first].first + versions.size() - 1});
}

void PowerCutRecorder::Remember(const std::string& flushed) {
  moments_.push_back({flushed, disk_, moves_});
}

void PowerCutRecorder::Note(const platform::FileChangeEvent& event) {
  using platform::FileChange;
  const std::scoped_lock lock(mutex_);
  const auto open = open_.find(event.handle);
  switch (event.change) {
    case FileChange::CreateFile:
      CreateFile(event.path, event.handle);
      break;
    case FileChange::Write:
      if (open != open_.end()) bytes_[open->second].append(event.bytes);
      break;
    case FileChange::FlushFile:
      if (open != open_.end()) {
        Remember("file " + names_[open->second]);
        disk_[open->second].flushed = std::make_shared<const std::string>(bytes_[open->second]);
      }
      break;
    case FileChange::Rename:
      Rename(event.path, event.to);
      break;
    case FileChange::DeleteFile:
    case FileChange::RemoveTree:
      Unlink(event.path);
      break;
    case FileChange::CreateFolder:
      if (const auto place = Locate(event.path)) {
        const std::string& parent = names_[place->first];
        Link(place->first, place->second,
             NewNode(true, parent.empty() ? place->second : parent + "/" + place->second));
      }
      break;
    case FileChange::SyncFolder:
      if (const std::optional<std::size_t> folder = Find(event.path);
          folder && disk_[*folder].folder) {
        Remember("folder " + (*folder == 0 ? std::string(".") : names_[*folder]));
        std::vector<Entries>& versions = disk_[*folder].versions;
        disk_[*folder].first += versions.size() - 1;
        versions.erase(versions.begin(), versions.end() - 1);
      }
      break;
  }
}

void PowerCutRecorder::Walk(const Disk& disk, const std::vector<std::size_t>& version,
                            std::size_t folder, const std::string& prefix, Layout& layout) {
  for (const auto& [name, node] : disk[folder].versions[version[folder]]) {
    const std::string path = prefix.empty() ? name : prefix + "/" + name;
    layout.emplace_back(path, node);
    if (disk[node].folder) Walk(disk, version, node, path, layout);
  }
}

// The versions of each folder's entries as they are now.
std::vector<std::size_t> PowerCutRecorder::Latest(const Disk& disk) {
  std::vector<std::size_t> version(disk.size(), 0);
  for (std::size_t node = 0; node < disk.size(); ++node) {
    if (disk[node].folder) version[node] = disk[node].versions.size() - 1;
  }
  return version;
}

Tree PowerCutRecorder::Now() const {
  const std::scoped_lock lock(mutex_);
  Layout layout;
  Walk(disk_, Latest(disk_), 0, "", layout);
  Tree tree;
  for (const auto& [path, node] : layout) {
    tree[path] = disk_[node].folder ? std::string(kFolderMark) : bytes_[node];
  }
  return tree;
}

void PowerCutRecorder::ForEachState(const std::function<void(const PowerCutState&)>& check) {
  platform::RecordFileChanges(nullptr);  // the checks change the folder themselves
  std::set<std::uint64_t> seen;
  const std::size_t flushes = moments_.size();
  for (std::size_t i = 0; i <= flushes; ++i) {
    const Moment moment = i < flushes
                              ? Moment{"before flush " + std::to_string(i + 1) + " of " +
                                           std::to_string(flushes) + " (" + moments_[i].what + ")",
                                       moments_[i].disk, moments_[i].moves}
                              : Moment{"after the last change", disk_, moves_};
    StatesOf(moment, check, seen);
  }
}

void PowerCutRecorder::StatesOf(const Moment& moment,
                                const std::function<void(const PowerCutState&)>& check,
                                std::set<std::uint64_t>& seen) const {
  const Disk& disk = moment.disk;
  std::vector<std::size_t> unsettled;
  for (std::size_t node = 0; node < disk.size(); ++node) {
    if (disk[node].folder && disk[node].versions.size() > 1) unsettled.push_back(node);
  }
  // Which of its versions each folder holds, counted from its last flush.
  std::vector<std::size_t> version(disk.size(), 0);
  // Every combination of versions, as an odometer over the unsettled folders.
  for (bool more = true; more;) {
    Layout layout;
    Walk(disk, version, 0, "", layout);
    std::set<std::size_t> reached = {0};
    for (const auto& [path, node] : layout) reached.insert(node);
    const auto loses_a_file = [&](const Move& move) {
      return reached.contains(move.from) &&
             disk[move.from].first + version[move.from] >= move.without &&
             !reached.contains(move.file);
    };
    std::string key;
    for (const auto& [path, node] : layout) {
      // The bytes of a flush are shared by every moment after it.
      key += path + '\0' +
             std::to_string(reinterpret_cast<std::uintptr_t>(disk[node].flushed.get())) + '\n';
    }
    if (std::none_of(moment.moves.begin(), moment.moves.end(), loses_a_file) &&
        seen.insert(std::hash<std::string>()(key)).second) {
      PowerCutState state{moment.what, {}, {}};
      for (std::size_t folder : unsettled) {
        state.folders += (folder == 0 ? std::string(".") : names_[folder]) + " kept " +
                         std::to_string(version[folder]) + " of " +
                         std::to_string(disk[folder].versions.size() - 1) + " changes; ";
      }
      for (const auto& [path, node] : layout) {
        state.tree[path] = disk[node].folder ? std::string(kFolderMark) : *disk[node].flushed;
      }
      check(state);
    }
    more = false;
    for (std::size_t folder : unsettled) {
      if (++version[folder] < disk[folder].versions.size()) {
        more = true;
        break;
      }
      version[folder] = 0;
    }
  }
}

}  // namespace tarnvale::testing
