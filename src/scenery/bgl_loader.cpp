#include "scenery/bgl_loader.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "platform/system.h"
#include "scenery/fs2002_readers.h"
#include "scenery/fs2004_sections.h"

namespace tarnvale {

namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

// A file already in memory: everything is there.
class MemoryBglBytes final : public BglBytes {
 public:
  explicit MemoryBglBytes(std::span<const std::uint8_t> bytes) : BglBytes(bytes) {
    MarkIn(0, bytes.size());
  }

 private:
  void Fetch(std::size_t, std::size_t) override {}
};

}  // namespace

void BglFile::BlockDeleter::operator()(std::uint8_t* block) const {
  if (mapped_size != 0) {
    platform::UnmapMemory(block, mapped_size);
  } else {
    std::free(block);
  }
}

// A zero-filled block of `size` bytes (at least one, so that a file of size
// 0 has a valid address too). Large blocks are mapped straight from the
// system as untouched zero pages, so the parts never read cost neither memory
// nor clearing; the heap would clear them first once its threshold for
// mapping had risen past their size.
BglFile::Block BglFile::ZeroFilledBlock(std::size_t size) {
  constexpr std::size_t kMappedBlockSize = 256 * 1024;
  if (size >= kMappedBlockSize) {
    return Block(static_cast<std::uint8_t*>(platform::MapZeroedMemory(size)), BlockDeleter{size});
  }
  auto* block = static_cast<std::uint8_t*>(std::calloc(size == 0 ? 1 : size, 1));
  if (!block) throw std::bad_alloc();
  return Block(block, BlockDeleter{});
}

// A zero-filled buffer that one thread uses for file after file. A file
// clears the blocks it brought in when it is done, so the next file again
// reads zeros wherever it brings nothing in, and the pages, already in
// memory, are not faulted in anew for every file.
class BglFile::ReusedBuffer {
 public:
  // The buffer, grown to at least `size` bytes; nullptr while a file holds
  // it. Throws std::bad_alloc.
  std::uint8_t* Take(std::size_t size) {
    if (taken_) return nullptr;
    if (!block_ || size > capacity_) {
      // Room for a larger file to come as well: each new block is faulted
      // in anew as files are read into it, and room never read costs nothing.
      const std::size_t capacity = std::max(size, 2 * capacity_);
      block_ = ZeroFilledBlock(capacity);
      capacity_ = capacity;
    }
    taken_ = true;
    return block_.get();
  }

  // Clears the blocks that `loaded` marks and makes the buffer available.
  void GiveBack(const std::vector<bool>& loaded, std::size_t size) {
    for (std::size_t block = 0; block < loaded.size(); ++block) {
      if (!loaded[block]) continue;
      const std::size_t from = block * kBlockSize;
      std::memset(block_.get() + from, 0, std::min(kBlockSize, size - from));
    }
    taken_ = false;
  }

 private:
  Block block_{nullptr, BlockDeleter{}};
  std::size_t capacity_ = 0;
  bool taken_ = false;
};

std::unique_ptr<BglFile> BglFile::Open(const std::filesystem::path& path) {
  std::optional<platform::InputFile> file = platform::InputFile::Open(path);
  if (!file) return nullptr;
  const auto size = static_cast<std::size_t>(file->Size());
  thread_local ReusedBuffer reused;
  if (std::uint8_t* bytes = reused.Take(size)) {
    return std::unique_ptr<BglFile>(
        new BglFile(std::move(*file), bytes, size, Block(nullptr, BlockDeleter{}), &reused));
  }
  Block own = ZeroFilledBlock(size);  // two files open at once on this thread
  std::uint8_t* bytes = own.get();
  return std::unique_ptr<BglFile>(
      new BglFile(std::move(*file), bytes, size, std::move(own), nullptr));
}

BglFile::BglFile(platform::InputFile file, std::uint8_t* bytes, std::size_t size, Block own_buffer,
                 ReusedBuffer* reused)
    : BglBytes(std::span<const std::uint8_t>(bytes, size)),
      file_(std::move(file)),
      bytes_(bytes),
      own_buffer_(std::move(own_buffer)),
      reused_(reused),
      loaded_((size + kBlockSize - 1) / kBlockSize, false) {}

BglFile::~BglFile() {
  if (reused_) reused_->GiveBack(loaded_, File().Size());
}

void BglFile::Fetch(std::size_t offset, std::size_t count) {
  const std::size_t size = File().Size();
  if (offset >= size || count == 0) return;
  const std::size_t end = count < size - offset ? offset + count : size;
  const std::size_t first = offset / kBlockSize;
  const std::size_t last = (end - 1) / kBlockSize;
  std::size_t block = first;
  while (block <= last) {
    if (loaded_[block]) {
      ++block;
      continue;
    }
    std::size_t run_end = block;  // neighbouring missing blocks are read at once
    while (run_end <= last && !loaded_[run_end]) loaded_[run_end++] = true;
    ReadRange(block * kBlockSize, std::min(run_end * kBlockSize, size));
    block = run_end;
  }
  // The blocks read before and after, joined to these, are in as well.
  std::size_t in_first = first;
  while (in_first > 0 && loaded_[in_first - 1]) --in_first;
  std::size_t in_end = last + 1;
  while (in_end < loaded_.size() && loaded_[in_end]) ++in_end;
  MarkIn(in_first * kBlockSize, std::min(in_end * kBlockSize, size));
}

// A file that ends early or fails to read leaves the rest of the range zero.
void BglFile::ReadRange(std::size_t from, std::size_t to) {
  bool failed = false;
  if (file_.ReadAt(from, bytes_ + from, to - from, failed) < to - from) incomplete_ = true;
}

namespace {

// What the header alone tells of a file: too short for the chosen
// simulator's header words, or a file of the other format (an FS2002
// simulator reads no file of the 0x1992 container).
FileStatus HeaderStatus(BglBytes& bytes, FsVersion fs_version) {
  const bool fs2004 = fs_version == FsVersion::Fs2004;
  const std::size_t header = fs2004 ? kFs2004HeaderSize : fs2002::kFacilityMarkField + 4;
  bytes.Require(0, header);
  const ByteCursor& file = bytes.File();
  if (!file.Contains(0, header)) return FileStatus::Short;
  if ((file.U16(2) == kFs2004Magic) != fs2004) return FileStatus::NotBgl;
  return FileStatus::Read;
}

// Notes what the file's reading added to the database's reading notes.
void NoteReading(FileReading& reading, const NavDatabase::ReadingNotes& before,
                 const NavDatabase::ReadingNotes& after) {
  reading.skipped = after.malformed - before.malformed;
  if (reading.status != FileStatus::Read) return;
  if (after.foreign != before.foreign) {
    reading.status = FileStatus::NotBgl;
  } else if (reading.skipped != 0) {
    reading.status = FileStatus::Damaged;
  }
}

}  // namespace

// Decoders let std::bad_alloc pass; here, where a file's reading ends, it
// becomes the loader's result.
int LoadBgl(NavDatabase& db, BglBytes& bytes, FsVersion fs_version, FileReading* reading) {
  try {
    if (!IsReadableSimulator(fs_version)) return kLoaderOk;
    const NavDatabase::ReadingNotes before{db.notes.malformed, db.notes.foreign, {}};
    const FileStatus header = HeaderStatus(bytes, fs_version);
    if (fs_version == FsVersion::Fs2002) fs2002::ReadFile(db, bytes.OnDemand());
    if (fs_version == FsVersion::Fs2004) ReadFs2004File(db, bytes);
    if (reading) {
      reading->status = header;
      NoteReading(*reading, before, db.notes);
    }
    return kLoaderOk;
  } catch (const std::bad_alloc&) {
    return kLoaderOutOfMemory;
  }
}

int BglLoader(NavDatabase& db, const std::filesystem::path& file, FsVersion fs_version,
              FileReading* reading) {
  if (!IsReadableSimulator(fs_version)) return kLoaderOk;
  try {
    const std::unique_ptr<BglFile> bytes = BglFile::Open(file);
    const int result = bytes ? LoadBgl(db, *bytes, fs_version, reading) : kLoaderOk;
    if ((!bytes || bytes->Incomplete()) && reading) reading->status = FileStatus::Unreadable;
    return result;
  } catch (const std::bad_alloc&) {
    return kLoaderOutOfMemory;
  }
}

int LoadBglBytes(NavDatabase& db, std::span<const std::uint8_t> bytes, FsVersion fs_version) {
  MemoryBglBytes memory(bytes);
  return LoadBgl(db, memory, fs_version);
}

}  // namespace tarnvale
