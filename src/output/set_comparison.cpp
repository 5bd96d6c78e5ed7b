// Two database sets compared by kind and key: a pass to digests, matching by
// sorting, and a second pass for the keys and fields of the differences.
#include "output/set_comparison.h"

#include <algorithm>
#include <concepts>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <utility>
#include <variant>

#include "domain/shared_work.h"
#include "output/database_reader.h"
#include "output/record_layouts.h"
#include "platform/directory_search.h"
#include "platform/paths.h"

namespace tarnvale {
namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t Mix(std::uint64_t hash, std::uint64_t value) {
  hash ^= value + 0x9E3779B97F4A7C15u + (hash << 6) + (hash >> 2);
  return hash * 0xFF51AFD7ED558CCDu;
}

std::uint64_t HashText(std::string_view text) {
  std::uint64_t hash = text.size();
  for (const char c : text) hash = Mix(hash, static_cast<unsigned char>(c));
  return hash;
}

// Fields that say where a record lies in its file, or its length, rather
// than what it holds: a record earlier in the file that grows moves every
// NextOffset behind it.
bool IsDerivedField(std::string_view name) { return name == "NextOffset" || name == "FileSize"; }

template <typename Record, typename OnField>
void HashFields(const Record& record, OnField on_field);

// A layout visitor that hashes each top-level field (a text with its
// length, a sub-array with its count) and hands it on with its name.
template <typename OnField>
class FieldHasher {
 public:
  explicit FieldHasher(OnField on_field) : on_field_(on_field) {}

  template <std::integral T>
  void Field(std::string_view name, T value) {
    if (!IsDerivedField(name)) on_field_(name, Mix(0, static_cast<std::uint64_t>(value)));
  }
  template <std::size_t N>
  void Field(std::string_view name, const FixedText<N>& text) {
    on_field_(name, HashText(std::string_view(text.data(), N)));
  }
  void Text(std::string_view, std::string_view name, std::uint16_t length,
            const std::string& text) {
    on_field_(name, HashText(std::string_view(text).substr(0, length)));
  }
  template <typename E>
  void Count(std::string_view, const RecordArray<E>&) {}
  template <typename E>
  void Elements(std::string_view name, const RecordArray<E>& elements) {
    std::uint64_t hash = elements.size();
    for (const E& element : elements) {
      HashFields(element,
                 [&hash](std::string_view, std::uint64_t field) { hash = Mix(hash, field); });
    }
    on_field_(name, hash);
  }

 private:
  OnField on_field_;
};

template <typename Record, typename OnField>
void HashFields(const Record& record, OnField on_field) {
  FieldHasher<OnField> hasher(on_field);
  VisitLayout(record, hasher);
}

std::uint64_t ContentHash(const DatabaseRecord& record) {
  std::uint64_t hash = 0;
  std::visit(
      [&hash](const auto& r) {
        HashFields(r, [&hash](std::string_view, std::uint64_t field) { hash = Mix(hash, field); });
      },
      record);
  return hash;
}

struct NamedHash {
  std::string_view name;  // a literal of the layout: lives as long as the program
  std::uint64_t hash;
};

std::vector<NamedHash> FieldHashes(const DatabaseRecord& record) {
  std::vector<NamedHash> fields;
  std::visit(
      [&fields](const auto& r) {
        HashFields(r, [&fields](std::string_view name, std::uint64_t hash) {
          fields.push_back({name, hash});
        });
      },
      record);
  return fields;
}

// --- Kinds and keys ------------------------------------------------------------

ComparedKind KindOf(const DatabaseRecord& record) {
  struct {
    ComparedKind operator()(const AirportRecord&) const { return ComparedKind::Airports; }
    ComparedKind operator()(const FuelAreaRecord&) const { return ComparedKind::FuelAreas; }
    ComparedKind operator()(const AirspaceRecord&) const { return ComparedKind::Airspaces; }
    ComparedKind operator()(const NavaidRecord& navaid) const {
      return navaid.Kind == static_cast<std::uint8_t>(RecordKind::Vor) ? ComparedKind::Vors
                                                                       : ComparedKind::Ndbs;
    }
    ComparedKind operator()(const MarkerRecord&) const { return ComparedKind::Markers; }
    ComparedKind operator()(const FixRecord&) const { return ComparedKind::Fixes; }
    ComparedKind operator()(const AirwayRecord& airway) const {
      return airway.Kind == static_cast<std::uint8_t>(RecordKind::JetAirway)
                 ? ComparedKind::JetAirways
                 : ComparedKind::VictorAirways;
    }
  } kind_of;
  return std::visit(kind_of, record);
}

// "48.12345,-122.30100": a position in the files' units, in degrees.
std::string Degrees(std::int32_t latitude, std::int32_t longitude) {
  char text[48];
  std::snprintf(text, sizeof text, "%.5f,%.5f", latitude * 90.0 / 10001750.0,
                longitude * 360.0 / 4294967296.0);
  return text;
}

// "outer", or "type 7" for a type the simulators do not define.
std::string MarkerTypeName(std::uint8_t type) {
  constexpr std::array<std::string_view, 4> kNames = {"inner", "middle", "outer", "back course"};
  return type < kNames.size() ? std::string(kNames[type]) : "type " + std::to_string(type);
}

// The text up to the first NUL of a variable text of `length` bytes.
std::string_view BlockText(const std::string& block, std::uint16_t length) {
  const std::string_view bytes = std::string_view(block).substr(0, length);
  return bytes.substr(0, bytes.find('\0'));
}

std::string KeyOf(const DatabaseRecord& record) {
  struct {
    std::string operator()(const AirportRecord& r) const { return std::string(TextOf(r.Ident)); }
    std::string operator()(const FuelAreaRecord& r) const {
      return "type " + std::to_string(r.FuelType) + " at " + Degrees(r.Latitude, r.Longitude);
    }
    std::string operator()(const AirspaceRecord& r) const {
      const std::string_view name = BlockText(r.Name, r.NameLength);
      return name.empty() ? "(no name)" : std::string(name);
    }
    std::string operator()(const NavaidRecord& r) const { return std::string(TextOf(r.Ident)); }
    std::string operator()(const MarkerRecord& r) const {
      return MarkerTypeName(r.MarkerType) + " at " + Degrees(r.Latitude, r.Longitude);
    }
    std::string operator()(const FixRecord& r) const { return std::string(TextOf(r.FixKey)); }
    std::string operator()(const AirwayRecord& r) const { return std::string(TextOf(r.Name)); }
  } key_of;
  return std::visit(key_of, record);
}

// What KeyOf tells, as a hash and without making any text.
std::uint64_t KeyHash(const DatabaseRecord& record) {
  struct {
    std::uint64_t operator()(const FuelAreaRecord& r) const {
      return Mix(Mix(Mix(1, r.FuelType), static_cast<std::uint32_t>(r.Latitude)),
                 static_cast<std::uint32_t>(r.Longitude));
    }
    std::uint64_t operator()(const MarkerRecord& r) const {
      return Mix(Mix(Mix(2, r.MarkerType), static_cast<std::uint32_t>(r.Latitude)),
                 static_cast<std::uint32_t>(r.Longitude));
    }
    std::uint64_t operator()(const AirportRecord& r) const { return HashText(TextOf(r.Ident)); }
    std::uint64_t operator()(const NavaidRecord& r) const { return HashText(TextOf(r.Ident)); }
    std::uint64_t operator()(const FixRecord& r) const { return HashText(TextOf(r.FixKey)); }
    std::uint64_t operator()(const AirwayRecord& r) const { return HashText(TextOf(r.Name)); }
    std::uint64_t operator()(const AirspaceRecord& r) const {
      return HashText(BlockText(r.Name, r.NameLength));
    }
  } key_hash;
  return std::visit(key_hash, record);
}

// --- Reading -------------------------------------------------------------------

// Each record of `files` in order, with its kind; the files that could not
// be read whole go into `failures` when it is given.
template <typename OnRecord>
void ReadSet(const std::vector<fs::path>& files, std::vector<std::string>* failures,
             OnRecord on_record) {
  for (const fs::path& file : files) {
    DatabaseFileStream stream(file);
    const DatabaseFileSummary& summary =
        stream.ReadRecords([&](const ParsedRecord& parsed) { on_record(parsed.record); });
    if (summary.failure && failures != nullptr) {
      failures->push_back(platform::Utf8Of(file) + ": " + DescribeFailure(*summary.failure));
    }
  }
}

struct Digest {
  std::uint64_t key;
  std::uint64_t content;
  std::uint32_t order;  // among the records of its kind on its side
};

using Digests = std::array<std::vector<Digest>, kComparedKinds>;

std::size_t Index(ComparedKind kind) { return static_cast<std::size_t>(kind); }

Digests DigestSet(const std::vector<fs::path>& files, std::vector<std::string>& failures) {
  Digests digests;
  ReadSet(files, &failures, [&digests](const DatabaseRecord& record) {
    std::vector<Digest>& kind = digests[Index(KindOf(record))];
    kind.push_back({KeyHash(record), ContentHash(record), static_cast<std::uint32_t>(kind.size())});
  });
  return digests;
}

// What matching found for one kind, as orders of records.
struct Matches {
  std::vector<std::uint32_t> added;                              // new orders
  std::vector<std::uint32_t> removed;                            // old orders
  std::vector<std::pair<std::uint32_t, std::uint32_t>> changed;  // old, new
};

// Pairs the records of one key: identical ones first, then the rest in
// order; what is left over is added or removed.
void MatchGroup(std::span<const Digest> old_group, std::span<const Digest> new_group,
                Matches& matches) {
  std::vector<bool> old_taken(old_group.size());
  std::vector<bool> new_taken(new_group.size());
  for (std::size_t n = 0; n < new_group.size(); ++n) {
    for (std::size_t o = 0; o < old_group.size(); ++o) {
      if (!old_taken[o] && old_group[o].content == new_group[n].content) {
        old_taken[o] = new_taken[n] = true;
        break;
      }
    }
  }
  std::size_t o = 0;
  for (std::size_t n = 0; n < new_group.size(); ++n) {
    if (new_taken[n]) continue;
    while (o < old_group.size() && old_taken[o]) ++o;
    if (o < old_group.size()) {
      matches.changed.emplace_back(old_group[o].order, new_group[n].order);
      old_taken[o] = true;
    } else {
      matches.added.push_back(new_group[n].order);
    }
  }
  for (std::size_t i = 0; i < old_group.size(); ++i) {
    if (!old_taken[i]) matches.removed.push_back(old_group[i].order);
  }
}

// Pairs off the identical records at the start and at the end of both
// sides (most of them, when a set is built again from much the same
// scenery), so that only the rest is sorted.
void DropCommonEnds(std::vector<Digest>& old_digests, std::vector<Digest>& new_digests) {
  const auto same = [](const Digest& a, const Digest& b) {
    return a.key == b.key && a.content == b.content;
  };
  const auto [old_end, new_end] = std::mismatch(old_digests.begin(), old_digests.end(),
                                                new_digests.begin(), new_digests.end(), same);
  old_digests.erase(old_digests.begin(), old_end);
  new_digests.erase(new_digests.begin(), new_end);
  const auto [old_start, new_start] = std::mismatch(old_digests.rbegin(), old_digests.rend(),
                                                    new_digests.rbegin(), new_digests.rend(), same);
  old_digests.erase(old_start.base(), old_digests.end());
  new_digests.erase(new_start.base(), new_digests.end());
}

Matches Match(std::vector<Digest> old_digests, std::vector<Digest> new_digests) {
  DropCommonEnds(old_digests, new_digests);
  const auto by_key = [](const Digest& a, const Digest& b) {
    return std::pair(a.key, a.order) < std::pair(b.key, b.order);
  };
  std::sort(old_digests.begin(), old_digests.end(), by_key);
  std::sort(new_digests.begin(), new_digests.end(), by_key);
  Matches matches;
  std::span<const Digest> old_left(old_digests);
  std::span<const Digest> new_left(new_digests);
  while (!old_left.empty() || !new_left.empty()) {
    const std::uint64_t key = old_left.empty() ? new_left.front().key
                              : new_left.empty()
                                  ? old_left.front().key
                                  : std::min(old_left.front().key, new_left.front().key);
    const auto group_end = [key](std::span<const Digest> digests) {
      std::size_t end = 0;
      while (end < digests.size() && digests[end].key == key) ++end;
      return end;
    };
    const std::size_t old_end = group_end(old_left);
    const std::size_t new_end = group_end(new_left);
    MatchGroup(old_left.first(old_end), new_left.first(new_end), matches);
    old_left = old_left.subspan(old_end);
    new_left = new_left.subspan(new_end);
  }
  std::sort(matches.added.begin(), matches.added.end());
  std::sort(matches.removed.begin(), matches.removed.end());
  std::sort(matches.changed.begin(), matches.changed.end(),
            [](const auto& a, const auto& b) { return a.second < b.second; });
  return matches;
}

// For each record of a kind on one side, what the second pass does with it:
// kNone, or an index into a list of the matches times two, plus one for a
// changed record.
constexpr std::uint32_t kNone = UINT32_MAX;

using Roles = std::array<std::vector<std::uint32_t>, kComparedKinds>;

std::vector<std::uint32_t> RolesOf(std::size_t count, const std::vector<std::uint32_t>& listed,
                                   const std::vector<std::uint32_t>& changed) {
  std::vector<std::uint32_t> roles(count, kNone);
  for (std::size_t i = 0; i < listed.size(); ++i)
    roles[listed[i]] = static_cast<std::uint32_t>(2 * i);
  for (std::size_t i = 0; i < changed.size(); ++i) {
    roles[changed[i]] = static_cast<std::uint32_t>(2 * i + 1);
  }
  return roles;
}

// The kinds of record a file of `kind` holds.
std::vector<ComparedKind> KindsIn(DatabaseFileKind kind) {
  switch (kind) {
    case DatabaseFileKind::Airports:
      return {ComparedKind::Airports};
    case DatabaseFileKind::FuelAreas:
      return {ComparedKind::FuelAreas};
    case DatabaseFileKind::Airspaces:
      return {ComparedKind::Airspaces};
    case DatabaseFileKind::Navaids:
      return {ComparedKind::Vors, ComparedKind::Ndbs};
    case DatabaseFileKind::Markers:
      return {ComparedKind::Markers};
    case DatabaseFileKind::Fixpoints:
      return {ComparedKind::Fixes};
    case DatabaseFileKind::VictorAirways:
      return {ComparedKind::VictorAirways};
    case DatabaseFileKind::JetAirways:
      return {ComparedKind::JetAirways};
    case DatabaseFileKind::MagneticDeclination:
      break;
  }
  return {};
}

// The files that hold a record with a role: a kind lives in files of one
// name only, so the others can be left unread without upsetting the order
// of any kind.
std::vector<fs::path> FilesWithRoles(const std::vector<fs::path>& files, const Roles& roles) {
  std::vector<fs::path> wanted;
  for (const fs::path& file : files) {
    const std::optional<DatabaseFileKind> kind =
        DatabaseFileKindOf(platform::Utf8Of(file.filename()));
    if (!kind) continue;
    const std::vector<ComparedKind> kinds = KindsIn(*kind);
    if (std::any_of(kinds.begin(), kinds.end(), [&roles](ComparedKind k) {
          const std::vector<std::uint32_t>& role = roles[Index(k)];
          return std::any_of(role.begin(), role.end(), [](std::uint32_t r) { return r != kNone; });
        })) {
      wanted.push_back(file);
    }
  }
  return wanted;
}

// Walks the files of a side that hold a record with a role again, handing
// each such record to `on_role` with its kind's index, whether it is
// changed, and its list index.
template <typename OnRole>
void VisitRoles(const std::vector<fs::path>& files, const Roles& roles, OnRole on_role) {
  std::array<std::uint32_t, kComparedKinds> orders{};
  ReadSet(FilesWithRoles(files, roles), nullptr, [&](const DatabaseRecord& record) {
    const std::size_t kind = Index(KindOf(record));
    const std::uint32_t order = orders[kind]++;
    if (order >= roles[kind].size() || roles[kind][order] == kNone) return;
    on_role(record, kind, (roles[kind][order] & 1u) != 0, roles[kind][order] / 2);
  });
}

// The names of the fields whose hashes differ.
std::vector<std::string_view> DifferingFields(const std::vector<NamedHash>& before,
                                              const std::vector<NamedHash>& after) {
  std::vector<std::string_view> names;
  for (std::size_t i = 0; i < after.size(); ++i) {
    if (i >= before.size() || before[i].hash != after[i].hash) names.push_back(after[i].name);
  }
  return names;
}

std::vector<std::uint32_t> Firsts(const Matches& matches) {
  std::vector<std::uint32_t> orders;
  for (const auto& [old_order, new_order] : matches.changed) orders.push_back(old_order);
  return orders;
}

std::vector<std::uint32_t> Seconds(const Matches& matches) {
  std::vector<std::uint32_t> orders;
  for (const auto& [old_order, new_order] : matches.changed) orders.push_back(new_order);
  return orders;
}

// Fills in the keys of what was added and removed, and the keys and fields
// of what changed.
void Describe(const std::vector<fs::path>& old_files, const std::vector<fs::path>& new_files,
              const std::array<Matches, kComparedKinds>& matches, SetComparison& comparison) {
  Roles old_roles;
  Roles new_roles;
  std::array<std::vector<std::vector<NamedHash>>, kComparedKinds> old_fields;
  for (std::size_t k = 0; k < kComparedKinds; ++k) {
    KindComparison& kind = comparison.kinds[k];
    old_roles[k] = RolesOf(kind.old_count, matches[k].removed, Firsts(matches[k]));
    new_roles[k] = RolesOf(kind.new_count, matches[k].added, Seconds(matches[k]));
    kind.removed.resize(matches[k].removed.size());
    kind.added.resize(matches[k].added.size());
    kind.changed.resize(matches[k].changed.size());
    old_fields[k].resize(matches[k].changed.size());
  }
  VisitRoles(old_files, old_roles,
             [&](const DatabaseRecord& record, std::size_t k, bool changed, std::uint32_t i) {
               if (changed) {
                 old_fields[k][i] = FieldHashes(record);
               } else {
                 comparison.kinds[k].removed[i] = KeyOf(record);
               }
             });
  VisitRoles(
      new_files, new_roles,
      [&](const DatabaseRecord& record, std::size_t k, bool changed, std::uint32_t i) {
        KindComparison& kind = comparison.kinds[k];
        if (!changed) {
          kind.added[i] = KeyOf(record);
          return;
        }
        kind.changed[i] = {KeyOf(record), DifferingFields(old_fields[k][i], FieldHashes(record))};
        old_fields[k][i] = {};
      });
}

}  // namespace

std::string_view ComparedKindName(ComparedKind kind) {
  constexpr std::array<std::string_view, kComparedKinds> kNames = {
      "airports", "fuel areas",    "airspaces",   "VORs",          "NDBs",
      "markers",  "intersections", "jet airways", "victor airways"};
  return kNames[Index(kind)];
}

bool SetComparison::Same() const {
  return failures.empty() && std::all_of(kinds.begin(), kinds.end(), [](const KindComparison& k) {
           return k.added.empty() && k.removed.empty() && k.changed.empty();
         });
}

std::vector<fs::path> DatabaseSetFiles(const fs::path& folder_or_file) {
  std::error_code error;
  if (!fs::is_directory(folder_or_file, error)) {
    return fs::exists(folder_or_file, error) ? std::vector{folder_or_file}
                                             : std::vector<fs::path>{};
  }
  std::vector<fs::path> files;
  for (fs::directory_iterator it(folder_or_file, error), end; !error && it != end;
       it.increment(error)) {
    const std::optional<DatabaseFileKind> kind =
        DatabaseFileKindOf(platform::Utf8Of(it->path().filename()));
    if (kind && HoldsRecords(OutputFileOf(*kind)) && it->is_regular_file(error)) {
      files.push_back(it->path());
    }
  }
  platform::SortByName(files);
  return files;
}

SetComparison CompareDatabaseSets(const std::vector<fs::path>& old_files,
                                  const std::vector<fs::path>& new_files) {
  SetComparison comparison;
  std::vector<std::string> old_failures;
  Digests old_digests;
  Digests new_digests;
  // The two sets are read side by side when a thread can be had; memory
  // running out on either side is thrown here.
  static_cast<void>(ShareWork(2, 2, [&](std::size_t set) {
    if (set == 0) old_digests = DigestSet(old_files, old_failures);
    if (set == 1) new_digests = DigestSet(new_files, comparison.failures);
    return true;
  }));
  comparison.failures.insert(comparison.failures.begin(), old_failures.begin(), old_failures.end());
  std::array<Matches, kComparedKinds> matches;
  for (std::size_t k = 0; k < kComparedKinds; ++k) {
    KindComparison& kind = comparison.kinds[k];
    kind.kind = static_cast<ComparedKind>(k);
    kind.old_count = old_digests[k].size();
    kind.new_count = new_digests[k].size();
    matches[k] = Match(std::move(old_digests[k]), std::move(new_digests[k]));
  }
  Describe(old_files, new_files, matches, comparison);
  return comparison;
}

}  // namespace tarnvale
