// Reads database files back record by record through a moving window, refusing records that overrun
// the file or break its rules.

#include "output/database_reader.h"

#include <algorithm>
#include <concepts>
#include <system_error>

#include "output/record_layouts.h"
#include "platform/ascii_text.h"
#include "platform/paths.h"
#include "scenery/byte_cursor.h"

namespace tarnvale {

namespace {

// The bytes of a database file as parsing walks it from its start.
class RecordBytes {
 public:
  explicit RecordBytes(std::size_t size) : size_(size) {}
  virtual ~RecordBytes() = default;

  std::size_t Size() const { return size_; }
  // [offset, offset + count) cut at the end of the file, valid until the
  // next call; shorter still where the file could not be read.
  virtual ByteCursor At(std::size_t offset, std::size_t count) = 0;
  // True once a read of the file failed or found it shorter than its size.
  virtual bool ReadFailed() const { return false; }

 protected:
  std::size_t Cut(std::size_t offset, std::size_t count) const {
    return offset < size_ ? std::min(count, size_ - offset) : 0;
  }

 private:
  std::size_t size_;
};

class MemoryRecordBytes final : public RecordBytes {
 public:
  explicit MemoryRecordBytes(std::span<const std::uint8_t> bytes)
      : RecordBytes(bytes.size()), bytes_(bytes) {}
  ByteCursor At(std::size_t offset, std::size_t count) override {
    return ByteCursor(bytes_.subspan(std::min(offset, bytes_.size()), Cut(offset, count)));
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

// A file read through a window of fixed size that moves forward as parsing
// asks for bytes behind it. Every read of a record (a field or a text of at
// most 65535 bytes) fits the window.
class FileRecordBytes final : public RecordBytes {
 public:
  FileRecordBytes(const platform::InputFile& file, std::size_t size)
      : RecordBytes(size), file_(file), window_(kWindowSize) {}

  ByteCursor At(std::size_t offset, std::size_t count) override {
    count = Cut(offset, count);
    if (offset < start_ || offset - start_ + count > filled_) Fill(offset);
    const std::size_t at = offset - start_;  // 0 after a fill
    return ByteCursor(
        std::span<const std::uint8_t>(window_).subspan(at, std::min(count, filled_ - at)));
  }
  bool ReadFailed() const override { return read_failed_; }

 private:
  static constexpr std::size_t kWindowSize = std::size_t{256} * 1024;
  static_assert(kWindowSize > 0xFFFF, "a whole text must fit the window");

  // A file that ends before its size or fails to read fills the window
  // only partly.
  void Fill(std::size_t offset) {
    start_ = offset;
    const std::size_t wanted = Cut(offset, kWindowSize);
    bool failed = false;
    filled_ = file_.ReadAt(offset, window_.data(), wanted, failed);
    if (filled_ < wanted) read_failed_ = true;
  }

  const platform::InputFile& file_;
  std::vector<std::uint8_t> window_;
  std::size_t start_ = 0;   // file offset of the window's first byte
  std::size_t filled_ = 0;  // bytes of the window read
  bool read_failed_ = false;
};

// A layout visitor that fills a record from the bytes at `offset`. Reading
// past the end yields zeros and marks the decoder overrun; so does a
// sub-array count larger than the bytes left could hold, which is refused
// before anything is allocated for it.
class LittleEndianDecoder {
 public:
  LittleEndianDecoder(RecordBytes& bytes, std::size_t offset) : bytes_(bytes), offset_(offset) {}

  template <std::integral T>
  void Field(std::string_view, T& value) {
    const ByteCursor field = Take(sizeof(T));
    if constexpr (sizeof(T) == 1) {
      value = static_cast<T>(field.U8(0));
    } else if constexpr (sizeof(T) == 2) {
      value = static_cast<T>(field.U16(0));
    } else {
      static_assert(sizeof(T) == 4, "database fields are 1, 2 or 4 bytes wide");
      value = static_cast<T>(field.U32(0));
    }
  }
  template <std::size_t N>
  void Field(std::string_view, FixedText<N>& text) {
    const std::string_view chars = Take(N).Chars(0, N);
    text.fill('\0');
    std::copy(chars.begin(), chars.end(), text.begin());
  }
  void Text(std::string_view, std::string_view, std::uint16_t& length, std::string& text) {
    Field({}, length);
    text.assign(Take(length).Chars(0, length));
  }
  template <typename E>
  void Count(std::string_view, RecordArray<E>& elements) {
    std::uint32_t count = 0;
    Field({}, count);
    const std::size_t left = offset_ < bytes_.Size() ? bytes_.Size() - offset_ : 0;
    if (count > left / FileRecordSize(E{})) {
      overrun_ = true;
      count = 0;
    }
    elements.resize(count);
  }
  template <typename E>
  void Elements(std::string_view, RecordArray<E>& elements) {
    for (E& element : elements) VisitLayout(element, *this);
  }

  bool Overrun() const { return overrun_; }
  std::size_t Offset() const { return offset_; }

 private:
  // The next `count` bytes; fewer when the file ends first, which reads as
  // zeros.
  ByteCursor Take(std::size_t count) {
    const ByteCursor field = bytes_.At(offset_, count);
    if (field.Size() < count) overrun_ = true;
    offset_ += count;
    return field;
  }

  RecordBytes& bytes_;
  std::size_t offset_;
  bool overrun_ = false;
};

std::string CheckKind(std::uint8_t kind, std::span<const RecordKind> expected) {
  std::string wanted;
  for (const RecordKind allowed : expected) {
    if (kind == static_cast<std::uint8_t>(allowed)) return {};
    wanted += (wanted.empty() ? "" : " or ") + std::to_string(static_cast<int>(allowed));
  }
  return "kind " + std::to_string(kind) + " where " + wanted + " was expected";
}

std::string CheckFileSize(std::uint32_t file_size, std::size_t length) {
  if (file_size == length) return {};
  return "FileSize " + std::to_string(file_size) + " differs from the record's length " +
         std::to_string(length);
}

std::string CheckNextOffset(std::int32_t next_offset, std::size_t end) {
  if (static_cast<std::uint32_t>(next_offset) == end) return {};
  return "NextOffset " + std::to_string(next_offset) + " differs from the record's end " +
         std::to_string(end);
}

// What a sound record of a file holds.
struct RecordRules {
  std::span<const RecordKind> kinds;  // the kind bytes the file may hold
  bool file_size_is_length = false;
};

// The reason a record is unsound, or the empty text.
template <typename Record>
std::string CheckRecord(const Record& record, const RecordRules& rules, std::size_t offset,
                        std::size_t length) {
  if constexpr (std::same_as<Record, AirspaceRecord>) {
    return CheckNextOffset(record.NextOffset, offset + length);  // no kind, no FileSize
  } else {
    std::string reason = CheckKind(record.Kind, rules.kinds);
    if (reason.empty() && rules.file_size_is_length)
      reason = CheckFileSize(record.FileSize, length);
    return reason;
  }
}

// The reason a record running past the end of the bytes is refused.
std::string OverrunReason(const RecordBytes& bytes, std::size_t offset) {
  if (bytes.ReadFailed()) return "the file cannot be read";
  return "the record runs past the end of the file (" + std::to_string(bytes.Size() - offset) +
         " bytes left)";
}

// Reads records of type `Record` back to back until the end of the bytes.
// Every record is decoded into the same one, which the decoder fills field
// by field: its texts and arrays keep their memory from record to record,
// so reading asks for memory only for a record larger than all before it.
template <typename Record>
void ParseRecords(RecordBytes& bytes, const RecordRules& rules, DatabaseFileSummary& summary,
                  const RecordHandler& on_record) {
  ParsedRecord parsed{0, Record{}};
  Record& record = std::get<Record>(parsed.record);
  while (parsed.offset < bytes.Size()) {
    const std::size_t offset = parsed.offset;
    const std::size_t number = summary.record_count + 1;
    LittleEndianDecoder decoder(bytes, offset);
    VisitLayout(record, decoder);
    if (decoder.Overrun()) {
      summary.failure = ParseFailure{offset, number, OverrunReason(bytes, offset)};
      return;
    }
    const std::size_t length = decoder.Offset() - offset;
    if (std::string reason = CheckRecord(record, rules, offset, length); !reason.empty()) {
      summary.failure = ParseFailure{offset, number, std::move(reason)};
      return;
    }
    on_record(parsed);
    summary.record_count = number;
    parsed.offset += length;  // every layout has fixed bytes: always advances
  }
}

// "no such file" or "is a folder: ..." for a path that names no file to
// read; empty otherwise (a file that then fails to open says so itself).
std::string_view NoFileTrouble(const std::filesystem::path& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (status.type() == std::filesystem::file_type::not_found) return "no such file";
  if (std::filesystem::is_directory(status)) return "is a folder: give its *.dat files";
  return {};
}

void ParseByKind(DatabaseFileKind kind, RecordBytes& bytes, DatabaseFileSummary& summary,
                 const RecordHandler& on_record) {
  const OutputFileType& file = OutputFileOf(kind);
  const RecordRules rules{file.record_kinds, file.size_is_length};
  switch (kind) {
    case DatabaseFileKind::Airports:
      return ParseRecords<AirportRecord>(bytes, rules, summary, on_record);
    case DatabaseFileKind::FuelAreas:
      return ParseRecords<FuelAreaRecord>(bytes, rules, summary, on_record);
    case DatabaseFileKind::Airspaces:
      return ParseRecords<AirspaceRecord>(bytes, rules, summary, on_record);
    case DatabaseFileKind::Navaids:
      return ParseRecords<NavaidRecord>(bytes, rules, summary, on_record);
    case DatabaseFileKind::Markers:
      return ParseRecords<MarkerRecord>(bytes, rules, summary, on_record);
    case DatabaseFileKind::Fixpoints:
      return ParseRecords<FixRecord>(bytes, rules, summary, on_record);
    case DatabaseFileKind::VictorAirways:
    case DatabaseFileKind::JetAirways:
      return ParseRecords<AirwayRecord>(bytes, rules, summary, on_record);
    case DatabaseFileKind::MagneticDeclination:
      return;  // the simulator's own file, copied unchanged
  }
}

}  // namespace

std::optional<DatabaseFileKind> DatabaseFileKindOf(std::string_view file_name) {
  for (const OutputFileType& file : kOutputFiles) {
    if (platform::EqualsIgnoreCase(file_name, file.name)) return file.kind;
  }
  return std::nullopt;
}

std::string_view DatabaseFileName(DatabaseFileKind kind) { return OutputFileOf(kind).name; }

DatabaseFileStream::DatabaseFileStream(const std::filesystem::path& path) {
  summary_.kind = DatabaseFileKindOf(platform::Utf8Of(path.filename()));
  if (const std::string_view trouble = NoFileTrouble(path); !trouble.empty()) {
    summary_.failure = ParseFailure{0, 0, std::string(trouble)};
    return;
  }
  if (!summary_.kind) {
    summary_.failure = ParseFailure{0, 0, "not a database file of Tarnvale (unknown name)"};
    return;
  }
  file_ = platform::InputFile::Open(path);
  if (!file_) {
    summary_.failure = ParseFailure{0, 0, "the file cannot be read"};
    return;
  }
  summary_.size = static_cast<std::uintmax_t>(file_->Size());
}

DatabaseFileStream::~DatabaseFileStream() = default;

const DatabaseFileSummary& DatabaseFileStream::ReadRecords(const RecordHandler& on_record) {
  if (summary_.failure && summary_.failure->record_number == 0) return summary_;
  summary_.record_count = 0;
  summary_.failure.reset();
  FileRecordBytes bytes(*file_, static_cast<std::size_t>(summary_.size));
  ParseByKind(*summary_.kind, bytes, summary_, on_record);
  return summary_;
}

DatabaseFileContents ParseDatabaseFile(DatabaseFileKind kind, std::span<const std::uint8_t> bytes) {
  DatabaseFileContents contents;
  contents.kind = kind;
  contents.size = bytes.size();
  MemoryRecordBytes memory(bytes);
  ParseByKind(kind, memory, contents,
              [&](const ParsedRecord& parsed) { contents.records.push_back(parsed); });
  return contents;
}

DatabaseFileContents ReadDatabaseFile(const std::filesystem::path& path) {
  DatabaseFileStream stream(path);
  DatabaseFileContents contents;
  static_cast<DatabaseFileSummary&>(contents) =
      stream.ReadRecords([&](const ParsedRecord& parsed) { contents.records.push_back(parsed); });
  return contents;
}

std::string DescribeFailure(const ParseFailure& failure) {
  if (failure.record_number == 0) return failure.reason;
  return "record " + std::to_string(failure.record_number) + " at byte offset " +
         std::to_string(failure.offset) + ": " + failure.reason;
}

}  // namespace tarnvale
