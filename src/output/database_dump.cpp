#include "output/database_dump.h"

#include <concepts>
#include <cstdio>
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

// A layout visitor that fills a JSON object.
class JsonFormatter {
 public:
  explicit JsonFormatter(Json& out) : out_(out) {}

  template <std::integral T>
  void Field(std::string_view name, T value) {
    out_[std::string(name)] = value;
  }
  template <std::size_t N>
  void Field(std::string_view name, const FixedText<N>& text) {
    out_[std::string(name)] = Utf8FromLatin1(TextOf(text));
  }
  void Text(std::string_view length_name, std::string_view name, std::uint16_t length,
            const std::string& text) {
    Field(length_name, length);
    out_[std::string(name)] = Utf8FromLatin1(BlockText(text, length));
  }
  template <typename E>
  void Count(std::string_view name, const RecordArray<E>& elements) {
    out_[std::string(name)] = elements.size();
  }
  template <typename E>
  void Elements(std::string_view name, const RecordArray<E>& elements) {
    Json list = Json::array();
    for (const E& element : elements) {
      Json fields = Json::object();
      JsonFormatter inner(fields);
      VisitLayout(element, inner);
      list.push_back(std::move(fields));
    }
    out_[std::string(name)] = std::move(list);
  }

 private:
  Json& out_;
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

// The heading needs the record count, so the file is read twice: once to
// count, once to print.
void PrintText(const std::filesystem::path& file, DatabaseFileStream& stream, std::ostream& out) {
  out << FileHeading(file, stream.ReadRecords([](ParsedRecord&&) {})) << '\n';
  std::size_t number = 0;
  stream.ReadRecords([&](ParsedRecord&& parsed) {
    out << '#' << ++number << " @" << parsed.offset << ' ' << FormatRecordFields(parsed.record)
        << '\n';
  });
}

std::string Indent(int depth) { return std::string(2 * static_cast<std::size_t>(depth), ' '); }

// `value` laid out as Json::dump with an indent of 2 lays it out `depth`
// levels deep inside a document. Texts hold no raw line breaks, so that is
// its own layout with each line indented further.
std::string Dumped(const Json& value, int depth) {
  const std::string text = value.dump(2, ' ', false, Json::error_handler_t::replace);
  std::string indented;
  for (const char c : text) {
    indented += c;
    if (c == '\n') indented += Indent(depth);
  }
  return indented;
}

// Writes a JSON array or object element by element, in the layout that
// Json::dump(2) gives the whole value at `depth`.
class JsonContainerWriter {
 public:
  JsonContainerWriter(std::ostream& out, int depth, bool object)
      : out_(out), depth_(depth), brackets_(object ? "{}" : "[]") {}

  // Starts the next element, whose value the caller writes: Dumped at
  // ValueDepth(), or a container of that depth.
  void Element() {
    if (empty_) {
      out_ << brackets_[0] << '\n';
    } else {
      out_ << ",\n";
    }
    out_ << Indent(ValueDepth());
    empty_ = false;
  }
  void Member(std::string_view key) {
    Element();
    out_ << Dumped(Json(key), 0) << ": ";
  }
  void Member(std::string_view key, const Json& value) {
    Member(key);
    out_ << Dumped(value, ValueDepth());
  }
  void Close() {
    if (empty_) {
      out_ << brackets_;
    } else {
      out_ << '\n' << Indent(depth_) << brackets_[1];
    }
  }
  int ValueDepth() const { return depth_ + 1; }

 private:
  std::ostream& out_;
  int depth_;
  std::string_view brackets_;
  bool empty_ = true;
};

// One file's object, its records written as they are read.
void WriteJson(const std::filesystem::path& file, DatabaseFileStream& stream,
               JsonContainerWriter& files, std::ostream& out) {
  files.Element();
  JsonContainerWriter object(out, files.ValueDepth(), true);
  object.Member("file", platform::Utf8Of(file));
  if (stream.Summary().kind) object.Member("type", DatabaseFileName(*stream.Summary().kind));
  object.Member("size", stream.Summary().size);
  object.Member("records");
  JsonContainerWriter records(out, object.ValueDepth(), false);
  std::size_t number = 0;
  const DatabaseFileSummary& summary = stream.ReadRecords([&](ParsedRecord&& parsed) {
    Json record = {{"record", ++number}, {"offset", parsed.offset}};
    record.update(RecordFieldsToJson(parsed.record));
    records.Element();
    out << Dumped(record, records.ValueDepth());
  });
  records.Close();
  if (summary.failure) {
    object.Member("error", {{"record", summary.failure->record_number},
                            {"offset", summary.failure->offset},
                            {"reason", summary.failure->reason}});
  }
  object.Close();
}

}  // namespace

std::string FormatRecordFields(const DatabaseRecord& record) {
  std::string line;
  TextFormatter formatter(line);
  std::visit([&](const auto& fields) { VisitLayout(fields, formatter); }, record);
  return line;
}

Json RecordFieldsToJson(const DatabaseRecord& record) {
  Json object = Json::object();
  JsonFormatter formatter(object);
  std::visit([&](const auto& fields) { VisitLayout(fields, formatter); }, record);
  return object;
}

int DumpDatabaseFiles(const std::vector<std::filesystem::path>& files, bool json, std::ostream& out,
                      std::ostream& errors) {
  int status = 0;
  JsonContainerWriter documents(out, 0, false);
  for (const std::filesystem::path& file : files) {
    DatabaseFileStream stream(file);
    const bool unread = stream.Summary().failure && stream.Summary().failure->record_number == 0;
    if (json) {
      WriteJson(file, stream, documents, out);
    } else if (!unread) {
      PrintText(file, stream, out);
    }
    if (const auto& failure = stream.Summary().failure) {
      errors << platform::Utf8Of(file) << ": " << DescribeFailure(*failure) << '\n';
      status = 1;
    }
  }
  if (json) {
    documents.Close();
    out << '\n';
  }
  return status;
}

}  // namespace tarnvale
