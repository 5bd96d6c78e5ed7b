#include "output/database_dump.h"

#include <concepts>
#include <cstdio>
#include <ostream>
#include <string_view>
#include <variant>

#include "output/record_layouts.h"

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

std::string FileHeading(const std::filesystem::path& file, const DatabaseFileContents& contents) {
  const std::string heading = "# " + file.string() + ": ";
  if (contents.kind == DatabaseFileKind::MagneticDeclination) {
    return heading + "the simulator's magnetic declination data, " +
           std::to_string(contents.size) + " bytes, no records";
  }
  return heading + std::to_string(contents.records.size()) + " records in " +
         std::to_string(contents.size) + " bytes";
}

void PrintText(const std::filesystem::path& file, const DatabaseFileContents& contents,
               std::ostream& out) {
  out << FileHeading(file, contents) << '\n';
  for (std::size_t index = 0; index < contents.records.size(); ++index) {
    const ParsedRecord& parsed = contents.records[index];
    out << '#' << index + 1 << " @" << parsed.offset << ' ' << FormatRecordFields(parsed.record)
        << '\n';
  }
}

Json FileToJson(const std::filesystem::path& file, const DatabaseFileContents& contents) {
  Json document = {{"file", file.string()}};
  if (contents.kind) document["type"] = DatabaseFileName(*contents.kind);
  document["size"] = contents.size;
  Json records = Json::array();
  for (std::size_t index = 0; index < contents.records.size(); ++index) {
    const ParsedRecord& parsed = contents.records[index];
    Json record = {{"record", index + 1}, {"offset", parsed.offset}};
    record.update(RecordFieldsToJson(parsed.record));
    records.push_back(std::move(record));
  }
  document["records"] = std::move(records);
  if (contents.failure) {
    document["error"] = {{"record", contents.failure->record_number},
                         {"offset", contents.failure->offset},
                         {"reason", contents.failure->reason}};
  }
  return document;
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

int DumpDatabaseFiles(const std::vector<std::filesystem::path>& files, bool json,
                      std::ostream& out, std::ostream& errors) {
  int status = 0;
  Json documents = Json::array();
  for (const std::filesystem::path& file : files) {
    const DatabaseFileContents contents = ReadDatabaseFile(file);
    const bool unread = contents.failure && contents.failure->record_number == 0;
    if (json) {
      documents.push_back(FileToJson(file, contents));
    } else if (!unread) {
      PrintText(file, contents, out);
    }
    if (contents.failure) {
      errors << file.string() << ": " << DescribeFailure(*contents.failure) << '\n';
      status = 1;
    }
  }
  if (json) out << documents.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
  return status;
}

}  // namespace tarnvale
