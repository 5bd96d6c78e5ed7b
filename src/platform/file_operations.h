// Whole-file operations. A file replaced in place is never left
// half-written.
//
// Every routine reports failure as an error_code (empty on success) and
// never throws on file-system errors.
#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

#include "platform/system_file.h"

namespace tarnvale::platform {

// Replaces `target` with a file holding exactly `bytes`. The bytes go to a
// temporary file beside `target`, are flushed to disk, and the temporary file
// is then renamed over `target`: either the new file is complete or `target`
// stays as it was, and no temporary file is left behind. A new file takes the
// permissions of the file it replaces (0644 when there was none). A folder
// that cannot be flushed after the rename is reported too: the new file is
// then in place, but its name might not survive a power cut.
[[nodiscard]] std::error_code ReplaceFileContents(const std::filesystem::path& target,
                                                  std::string_view bytes);

// Appends every byte of the regular file `from` to `to`. Fails without
// writing anything when `from` cannot be opened or is no regular file (a
// FIFO or a device is turned away without waiting for it).
[[nodiscard]] std::error_code CopyFileInto(const std::filesystem::path& from, OutputFile& to);

// The same for a source the caller opened with InputFile::Open: a caller
// that must tell a missing or unusable source (the error of Open) from a
// failed copy (the error of this) opens it itself. The bytes are those the
// file held when it was opened; a failed read fails the copy.
[[nodiscard]] std::error_code CopyFileInto(const InputFile& from, OutputFile& to);

// True when `a` and `b` are regular files that hold the same bytes.
bool SameContents(const std::filesystem::path& a, const std::filesystem::path& b);

// Deletes the file `path` (a link itself, not its target). Fails, changing
// nothing, when `path` does not exist or is a folder.
[[nodiscard]] std::error_code DeleteFile(const std::filesystem::path& path);

// Gives the entry `from` the name `to` in one step, replacing a file of
// that name. Fails, changing nothing, when it cannot.
[[nodiscard]] std::error_code RenameEntry(const std::filesystem::path& from,
                                          const std::filesystem::path& to);

// Makes the folder `path` (not its parents). Fails with
// std::errc::file_exists when an entry of that name is there, a folder too.
std::error_code CreateFolder(const std::filesystem::path& path);

// Removes `path` and, when it is a folder (not a link to one), everything
// below it. Nothing there is no failure.
std::error_code RemoveTree(const std::filesystem::path& path);

// Flushes the entries of `folder` (names made, renamed or removed in it) to
// disk, so that they survive a power cut as the files they name do.
[[nodiscard]] std::error_code SyncFolder(const std::filesystem::path& folder);

}  // namespace tarnvale::platform
