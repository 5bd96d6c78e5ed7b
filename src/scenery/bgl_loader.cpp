// Hands one scenery file to the FS2002 or FS2004 readers: the file brought into memory block by
// block as they read it, and what its reading came to noted.

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

// A file is read in pages, each read once: its head first, then whole
// blocks where records are decoded.
constexpr std::size_t kPageSize = std::size_t{4} * 1024;
constexpr std::size_t kBlockSize = std::size_t{64} * 1024;

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
  platform::UnmapMemory(block, size);
}

// Address space of `size` bytes (at least one, so that a file of size 0 has
// a valid address too); memory only where blocks are read into it.
BglFile::Block BglFile::ReservedBlock(std::size_t size) {
  const std::size_t reserved = std::max<std::size_t>(size, 1);
  return Block(static_cast<std::uint8_t*>(platform::ReserveMemory(reserved)),
               BlockDeleter{reserved});
}

// A buffer that one thread uses for file after file, so that its pages,
// already in memory, are not faulted in anew for every file. A file needs
// no clearing when it is done: the next one reads only blocks it brought in
// itself. Larger files than any stock one get a buffer of their own, given
// back when they are done, so that what one of them brought in does not
// stay in memory for the rest of the run.
class BglFile::ReusedBuffer {
 public:
  static constexpr std::size_t kLargestFile = std::size_t{64} * 1024 * 1024;

  // The buffer, grown to at least `size` bytes; nullptr while a file holds
  // it or for a file larger than kLargestFile. Throws std::bad_alloc.
  std::uint8_t* Take(std::size_t size) {
    if (taken_ || size > kLargestFile) return nullptr;
    if (!block_ || size > capacity_) {
      // Room for a larger file to come as well: room never read costs nothing.
      const std::size_t capacity = std::min(std::max(size, 2 * capacity_), kLargestFile);
      block_ = ReservedBlock(capacity);
      capacity_ = capacity;
    }
    taken_ = true;
    return block_.get();
  }

  void GiveBack() { taken_ = false; }

 private:
  Block block_{nullptr, BlockDeleter{}};
  std::size_t capacity_ = 0;
  bool taken_ = false;
};

std::unique_ptr<BglFile> BglFile::Open(const std::filesystem::path& path, std::error_code& error) {
  std::optional<platform::InputFile> file = platform::InputFile::Open(path, error);
  if (!file) return nullptr;
  const auto size = static_cast<std::size_t>(file->Size());
  thread_local ReusedBuffer reused;
  if (std::uint8_t* bytes = reused.Take(size)) {
    return std::unique_ptr<BglFile>(
        new BglFile(std::move(*file), bytes, size, Block(nullptr, BlockDeleter{}), &reused));
  }
  Block own = ReservedBlock(size);
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
      loaded_((size + kPageSize - 1) / kPageSize, false) {}

BglFile::~BglFile() {
  if (reused_) reused_->GiveBack();
}

void BglFile::Fetch(std::size_t offset, std::size_t count) {
  const std::size_t size = Size();
  if (offset >= size || count == 0) return;
  const std::size_t end = count < size - offset ? offset + count : size;
  // A first read inside the head reads the head alone: a file that holds
  // nothing the run decodes costs its header and section table. Later reads
  // take the whole blocks around what they ask for, read pages excepted.
  const bool head = brought_in_ == 0 && end <= kBglHeadSize;
  const std::size_t from = head ? 0 : offset / kBlockSize * kBlockSize;
  const std::size_t to =
      std::min(head ? kBglHeadSize : (end + kBlockSize - 1) / kBlockSize * kBlockSize, size);
  std::size_t page = from / kPageSize;
  const std::size_t last_page = (to - 1) / kPageSize;
  while (page <= last_page) {
    if (loaded_[page]) {
      ++page;
      continue;
    }
    std::size_t run_end = page;  // neighbouring missing pages are read at once
    while (run_end <= last_page && !loaded_[run_end]) ++run_end;
    ReadRange(page * kPageSize, std::min(run_end * kPageSize, size));
    std::fill(loaded_.begin() + static_cast<std::ptrdiff_t>(page),
              loaded_.begin() + static_cast<std::ptrdiff_t>(run_end), true);
    page = run_end;
  }
  // The pages read before and after, joined to these, are in as well.
  std::size_t in_first = offset / kPageSize;
  while (in_first > 0 && loaded_[in_first - 1]) --in_first;
  std::size_t in_end = (end - 1) / kPageSize + 1;
  while (in_end < loaded_.size() && loaded_[in_end]) ++in_end;
  MarkIn(in_first * kPageSize, std::min(in_end * kPageSize, size));
}

// Reads [from, to) into the buffer; a file that ends early or fails to read
// leaves the rest of the range zero.
void BglFile::ReadRange(std::size_t from, std::size_t to) {
  platform::CommitMemory(bytes_ + from, to - from);
  std::error_code error;
  const std::size_t got = file_.ReadAt(from, bytes_ + from, to - from, error);
  brought_in_ += to - from;
  if (got == to - from) return;
  std::memset(bytes_ + from + got, 0, to - from - got);
  incomplete_ = true;
  if (!read_error_) read_error_ = error;
}

namespace {

// What the header alone tells of a file: too short for the chosen
// simulator's header words, or a file of the other layout (an FS2002
// simulator reads no file of the 0x1992 container).
FileStatus HeaderStatus(BglBytes& bytes, BglLayout layout) {
  const bool sectioned = layout == BglLayout::Sectioned;
  const std::size_t header = sectioned ? kFs2004HeaderSize : fs2002::kFacilityMarkField + 4;
  const ByteCursor words = bytes.Bring(0, header);
  if (words.Overrun()) return FileStatus::Short;
  if ((words.U16(2) == kFs2004Magic) != sectioned) return FileStatus::NotBgl;
  return FileStatus::Read;
}

// Notes what the file's reading added to the database's reading notes.
void NoteReading(FileReading& reading, const NavDatabase::ReadingNotes& before,
                 const NavDatabase::ReadingNotes& after) {
  const std::size_t later_airports = after.later_airports - before.later_airports;
  const std::size_t malformed = after.malformed - before.malformed;
  reading.skipped = later_airports + malformed;
  if (reading.status != FileStatus::Read) return;
  if (later_airports != 0) {
    reading.status = FileStatus::LaterFormat;
  } else if (malformed != 0) {
    reading.status = FileStatus::Damaged;
  }
}

// A file that could not be opened, or not read whole: passed over, unless
// the reason lies with the process or the machine.
void NoteUnreadable(FileReading& reading, const std::error_code& error) {
  reading.status = FileStatus::Unreadable;
  if (error && !platform::IsFileOwnError(error)) reading.system_failure = error;
}

}  // namespace

// Decoders let std::bad_alloc pass; here, where a file's reading ends, it
// becomes the loader's result.
LoadResult LoadBgl(NavDatabase& db, BglBytes& bytes, FsVersion fs_version, FileReading* reading) {
  try {
    if (!IsReadableSimulator(fs_version)) return LoadResult::Ok;
    const NavDatabase::ReadingNotes before{db.notes.malformed, db.notes.later_airports, {}};
    const BglLayout layout = SimulatorTraitsOf(fs_version)->bgl_layout;
    const FileStatus header = HeaderStatus(bytes, layout);
    if (layout == BglLayout::Facility) fs2002::ReadFile(db, bytes.OnDemand());
    if (layout == BglLayout::Sectioned) ReadFs2004File(db, bytes);
    if (reading) {
      reading->status = header;
      NoteReading(*reading, before, db.notes);
    }
    return LoadResult::Ok;
  } catch (const std::bad_alloc&) {
    return LoadResult::OutOfMemory;
  }
}

LoadResult BglLoader(NavDatabase& db, const std::filesystem::path& file, FsVersion fs_version,
                     FileReading* reading) {
  if (!IsReadableSimulator(fs_version)) return LoadResult::Ok;
  try {
    std::error_code error;
    const std::unique_ptr<BglFile> bytes = BglFile::Open(file, error);
    const LoadResult result = bytes ? LoadBgl(db, *bytes, fs_version, reading) : LoadResult::Ok;
    if (reading && bytes) reading->stamp = bytes->Stamp();
    if (reading && (!bytes || bytes->Incomplete())) {
      NoteUnreadable(*reading, bytes ? bytes->ReadError() : error);
    }
    return result;
  } catch (const std::bad_alloc&) {
    return LoadResult::OutOfMemory;
  }
}

LoadResult LoadBglBytes(NavDatabase& db, std::span<const std::uint8_t> bytes,
                        FsVersion fs_version) {
  MemoryBglBytes memory(bytes);
  return LoadBgl(db, memory, fs_version);
}

}  // namespace tarnvale
