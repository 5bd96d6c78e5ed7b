// `tarnvale-cli dump`: each record of a database file as a line of "Name=value" pairs, or as JSON,
// printed as it is read.

#include "output/database_dump.h"

#include <charconv>
#include <concepts>
#include <cstdio>
#include <iterator>
#include <ostream>
#include <string_view>
#include <variant>

#include "output/record_layouts.h"
#include "platform/paths.h"

namespace tarnvale {

namespace {

using Json = nlohmann::ordered_json;

// The text of a variable text block: its `length` bytes up to the first NUL.
std::string_view BlockText(const std::string& block, std::uint16_t length) {
  const std::string_view bytes = std::string_view(block).substr(0, length);
  return bytes.substr(0, bytes.find('\0'));
}

void AppendLatin1AsUtf8(unsigned char byte, std::string& out) {
  if (byte < 0x80) {
    out += static_cast<char>(byte);
  } else {
    out += static_cast<char>(0xC0 | (byte >> 6));
    out += static_cast<char>(0x80 | (byte & 0x3F));
  }
}

std::string Utf8FromLatin1(std::string_view text) {
  std::string out;
  for (const char c : text) AppendLatin1AsUtf8(static_cast<unsigned char>(c), out);
  return out;
}

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      out += escape;
    } else {
      AppendLatin1AsUtf8(byte, out);
    }
  }
  return out + '"';
}

// A layout visitor that writes "Name=value" pairs.
class TextFormatter {
 public:
  explicit TextFormatter(std::string& out) : out_(out) {}

  template <std::integral T>
  void Field(std::string_view name, T value) {
    Put(name, std::to_string(+value));
  }
  template <std::size_t N>
  void Field(std::string_view name, const FixedText<N>& text) {
    Put(name, Quoted(TextOf(text)));
  }
  void Text(std::string_view length_name, std::string_view name, std::uint16_t length,
            const std::string& text) {
    Field(length_name, length);
    Put(name, Quoted(BlockText(text, length)));
  }
  template <typename E>
  void Count(std::string_view name, const RecordArray<E>& elements) {
    Put(name, std::to_string(elements.size()));
  }
  template <typename E>
  void Elements(std::string_view name, const RecordArray<E>& elements) {
    std::string list = "[";
    for (const E& element : elements) {
      if (list.size() > 1) list += ' ';
      std::string fields;
      TextFormatter inner(fields);
      VisitLayout(element, inner);
      list += '{' + fields + '}';
    }
    Put(name, list + ']');
  }

 private:
  void Put(std::string_view name, const std::string& value) {
    if (!out_.empty()) out_ += ' ';
    out_.append(name).append("=").append(value);
  }

  std::string& out_;
};

std::string FileHeading(const std::filesystem::path& file, const DatabaseFileSummary& summary) {
  const std::string heading = "# " + platform::Utf8Of(file) + ": ";
  if (summary.kind == DatabaseFileKind::MagneticDeclination) {
    return heading + "the simulator's magnetic declination data, " + std::to_string(summary.size) +
           " bytes, no records";
  }
  return heading + std::to_string(summary.record_count) + " records in " +
         std::to_string(summary.size) + " bytes";
}

// What dump prints waits in a buffer and goes to the stream in pieces of
// this size or more, rather than a field or a record at a time.
constexpr std::size_t kPendingBytes = std::size_t{64} * 1024;

// Writes the pending `text` to `out` once it holds `at_least` bytes.
void Flush(std::string& text, std::ostream& out, std::size_t at_least = 0) {
  if (text.size() < at_least) return;
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  text.clear();
}

// The heading needs the record count, so the file is read twice: once to
// count, once to print.
void PrintText(const std::filesystem::path& file, DatabaseFileStream& stream, std::string& text,
               std::ostream& out) {
  text.append(FileHeading(file, stream.ReadRecords([](const ParsedRecord&) {}))) += '\n';
  std::size_t number = 0;
  stream.ReadRecords([&](const ParsedRecord& parsed) {
    text.append("#").append(std::to_string(++number));
    text.append(" @").append(std::to_string(parsed.offset));
    text.append(" ").append(FormatRecordFields(parsed.record)) += '\n';
    Flush(text, out, kPendingBytes);
  });
  Flush(text, out);
}

void AppendIndent(std::string& out, int depth) {
  out.append(2 * static_cast<std::size_t>(depth), ' ');
}

// `value` laid out as Json::dump with an indent of 2 lays it out `depth`
// levels deep inside a document. Texts hold no raw line breaks, so that is
// its own layout with each line indented further.
std::string Dumped(const Json& value, int depth) {
  const std::string text = value.dump(2, ' ', false, Json::error_handler_t::replace);
  std::string indented;
  std::size_t line = 0;
  for (std::size_t end; (end = text.find('\n', line)) != std::string::npos; line = end + 1) {
    indented.append(text, line, end + 1 - line);
    AppendIndent(indented, depth);
  }
  return indented.append(text, line);
}

// Writes a JSON array or object element by element to the end of `out`, in
// the layout that Json::dump(2) gives the whole value at `depth`.
class JsonContainerWriter {
 public:
  JsonContainerWriter(std::string& out, int depth, bool object)
      : out_(out), depth_(depth), brackets_(object ? "{}" : "[]") {}

  // Starts the next element, whose value the caller writes: Dumped at
  // ValueDepth(), or a container of that depth.
  void Element() {
    if (empty_) {
      out_ += brackets_[0];
      out_ += '\n';
    } else {
      out_ += ",\n";
    }
    AppendIndent(out_, ValueDepth());
    empty_ = false;
  }
  // Keys are the program's own names of fields, plain ASCII letters: none
  // needs escaping.
  void Member(std::string_view key) {
    Element();
    out_.append("\"").append(key).append("\": ");
  }
  void Member(std::string_view key, const Json& value) {
    Member(key);
    out_ += Dumped(value, ValueDepth());
  }
  // An integer, as Json::dump writes it.
  template <std::integral T>
  void Member(std::string_view key, T value) {
    Member(key);
    char digits[24];  // the longest 64-bit integer has 20
    out_.append(digits, std::to_chars(std::begin(digits), std::end(digits), value).ptr);
  }
  void Close() {
    if (empty_) {
      out_ += brackets_;
    } else {
      out_ += '\n';
      AppendIndent(out_, depth_);
      out_ += brackets_[1];
    }
  }
  int ValueDepth() const { return depth_ + 1; }

 private:
  std::string& out_;
  int depth_;
  std::string_view brackets_;
  bool empty_ = true;
};

// A layout visitor that writes a record's fields as one JSON object (texts
// as UTF-8 read from Latin-1, sub-records as arrays of objects), laid out
// `depth` levels deep as Json::dump(2) lays out a document.
class JsonFieldWriter {
 public:
  JsonFieldWriter(std::string& out, int depth) : out_(out), object_(out, depth, true) {}

  template <std::integral T>
  void Field(std::string_view name, T value) {
    object_.Member(name, +value);
  }
  template <std::size_t N>
  void Field(std::string_view name, const FixedText<N>& text) {
    object_.Member(name, Utf8FromLatin1(TextOf(text)));
  }
  void Text(std::string_view length_name, std::string_view name, std::uint16_t length,
            const std::string& text) {
    Field(length_name, length);
    object_.Member(name, Utf8FromLatin1(BlockText(text, length)));
  }
  template <typename E>
  void Count(std::string_view name, const RecordArray<E>& elements) {
    Field(name, elements.size());
  }
  template <typename E>
  void Elements(std::string_view name, const RecordArray<E>& elements) {
    object_.Member(name);
    JsonContainerWriter list(out_, object_.ValueDepth(), false);
    for (const E& element : elements) {
      list.Element();
      JsonFieldWriter fields(out_, list.ValueDepth());
      VisitLayout(element, fields);
      fields.Close();
    }
    list.Close();
  }
  void Close() { object_.Close(); }

 private:
  std::string& out_;
  JsonContainerWriter object_;
};

// One file's object, its records written as they are read.
void WriteJson(const std::filesystem::path& file, DatabaseFileStream& stream,
               JsonContainerWriter& files, std::string& text, std::ostream& out) {
  files.Element();
  JsonContainerWriter object(text, files.ValueDepth(), true);
  object.Member("file", platform::Utf8Of(file));
  if (stream.Summary().kind) object.Member("type", DatabaseFileName(*stream.Summary().kind));
  object.Member("size", stream.Summary().size);
  object.Member("records");
  JsonContainerWriter records(text, object.ValueDepth(), false);
  std::size_t number = 0;
  const DatabaseFileSummary& summary = stream.ReadRecords([&](const ParsedRecord& parsed) {
    records.Element();
    JsonFieldWriter fields(text, records.ValueDepth());
    fields.Field("record", ++number);
    fields.Field("offset", parsed.offset);
    std::visit([&](const auto& record) { VisitLayout(record, fields); }, parsed.record);
    fields.Close();
    Flush(text, out, kPendingBytes);
  });
  records.Close();
  if (summary.failure) {
    object.Member("error", {{"record", summary.failure->record_number},
                            {"offset", summary.failure->offset},
                            {"reason", summary.failure->reason}});
  }
  object.Close();
  Flush(text, out);
}

}  // namespace

namespace {

template <typename Layout>
std::string LayoutLine(const Layout& layout) {
  std::string line;
  TextFormatter formatter(line);
  VisitLayout(layout, formatter);
  return line;
}

// Read back from the text `dump --json` writes, so that the two cannot differ.
template <typename Layout>
Json LayoutJson(const Layout& layout) {
  std::string text;
  JsonFieldWriter fields(text, 0);
  VisitLayout(layout, fields);
  fields.Close();
  return Json::parse(text);
}

}  // namespace

std::string FormatRecordFields(const DatabaseRecord& record) {
  return std::visit([](const auto& layout) { return LayoutLine(layout); }, record);
}
std::string FormatRecordFields(const IlsRecord& ils) { return LayoutLine(ils); }
std::string FormatRecordFields(const AirwayPointRecord& point) { return LayoutLine(point); }

Json RecordFieldsToJson(const DatabaseRecord& record) {
  return std::visit([](const auto& layout) { return LayoutJson(layout); }, record);
}
Json RecordFieldsToJson(const IlsRecord& ils) { return LayoutJson(ils); }
Json RecordFieldsToJson(const AirwayPointRecord& point) { return LayoutJson(point); }

int DumpDatabaseFiles(const std::vector<std::filesystem::path>& files, bool json, std::ostream& out,
                      std::ostream& errors) {
  int status = 0;
  std::string text;  // not yet written to `out`
  JsonContainerWriter documents(text, 0, false);
  for (const std::filesystem::path& file : files) {
    DatabaseFileStream stream(file);
    const bool unread = stream.Summary().failure && stream.Summary().failure->record_number == 0;
    if (json) {
      WriteJson(file, stream, documents, text, out);
    } else if (!unread) {
      PrintText(file, stream, text, out);
    }
    if (const auto& failure = stream.Summary().failure) {
      errors << platform::Utf8Of(file) << ": " << DescribeFailure(*failure) << '\n';
      status = 1;
    }
  }
  if (json) {
    documents.Close();
    text += '\n';
    Flush(text, out);
  }
  return status;
}

}  // namespace tarnvale
