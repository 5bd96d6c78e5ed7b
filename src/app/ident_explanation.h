// What `tarnvale-cli explain` tells of one ident: every record of the
// scenery that carries it, the file and area it came from, what binding tied
// it to, and which records of the ident it beat or lost to, by which rule.
// The scenery is read and bound in memory as a run reads it; nothing is
// written.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/program_state.h"
#include "app/scan_report.h"
#include "scenery/nav_database.h"

namespace tarnvale {

// Another record that one explained record meets.
struct ExplainedLink {
  enum class Relation { Beat, LostTo, BoundTo };
  Relation relation = Relation::BoundTo;
  std::string record;               // "airport LOWI", "runway 08 (primary end) of airport LOWI"
  std::optional<std::size_t> file;  // the other record's file: index into the scan's supplies
  std::optional<DuplicateRule> rule;
};

// The check sees the JSON member's invariant assertions as throws in the
// implicit move; moving a JSON value throws nothing.
struct ExplainedRecord {  // NOLINT(bugprone-exception-escape)
  std::string kind;       // "airport", "VOR", "NDB", "ILS", "intersection", "airway point", ...
  std::string name;       // its ident, key or name as stored
  std::string within;     // where a sub-record sits: "point 2 of jet airway T263"
  bool kept = true;       // false: dropped by a rule, not in the database files
  std::optional<std::size_t> file;  // index into the scan's supplies
  std::string fields;               // as `dump` prints them; empty for a dropped record
  nlohmann::ordered_json fields_json;
  std::vector<ExplainedLink> links;
};

struct Explanation {
  std::string ident;
  ScanReport scan;  // the areas and files read
  std::vector<ExplainedRecord> records;
  std::vector<std::string> near_matches;  // when no record has the ident
};

// Reads the scenery that the settings of `state` name into `db` and binds
// it, as a run does, on `state.threads` threads, writing nothing and taking
// no lock. `scan` receives what was read. The message when the simulator
// folder or its Scenery.cfg is unusable, memory ran out or the system failed
// to read a file.
[[nodiscard]] std::optional<std::string> ReadSceneryInMemory(ProgramState& state, NavDatabase& db,
                                                             ScanReport& scan);

// Every record of `db` with `ident` (letter case not significant): airports
// (also those dropped), VORs, NDBs, ILS, intersections (by key, or FS2004
// region and ident), airway points, airways by name and airspaces by name.
// Markers and fuel areas carry no ident. With no such record, the idents
// most like it.
Explanation ExplainIdent(const NavDatabase& db, ScanReport scan, std::string_view ident);

// One block per record: what and whether it is in the database files, its
// file, its fields, then one line per link. For no record, says so and
// names the near matches.
std::string ExplanationText(const Explanation& explanation);
nlohmann::ordered_json ExplanationJson(const Explanation& explanation);

}  // namespace tarnvale
