// Explaining one ident: the scenery read and bound in memory, every record
// of the ident found with its file, and the rules that decided between them.
#include "app/ident_explanation.h"

#include <algorithm>
#include <new>
#include <set>
#include <stop_token>
#include <system_error>
#include <utility>

#include "app/messages.h"
#include "app/scan_report_json.h"
#include "app/scenery_reading.h"
#include "output/binding.h"
#include "output/database_dump.h"
#include "output/database_writer.h"
#include "output/record_layouts.h"
#include "platform/paths.h"
#include "platform/system.h"
#include "scenery/parallel_loader.h"

namespace tarnvale {
namespace {

using Json = nlohmann::ordered_json;

// Nothing of a reading in memory is shown.
class SilentView final : public RunView {
 public:
  void SetProgressRange(std::int32_t, std::int32_t) override {}
  void SetProgressStep(std::int32_t) override {}
  void SetProgressPosition(std::int32_t) override {}
  void StepProgress() override {}
  void SetStatusText(const std::string&) override {}
  void EnableCreateButton(bool) override {}
  void EnableCancelButton(bool) override {}
  void ShowMessage(const std::string&) override {}
  void CloseMainWindow() override {}
};

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

// The first `length` bytes of a text block, up to a NUL.
std::string_view BlockName(const std::string& block, std::size_t length) {
  const std::string_view bytes = std::string_view(block).substr(0, length);
  return bytes.substr(0, bytes.find('\0'));
}

std::optional<std::string> ReadLibrary(ProgramState& state,
                                       const std::filesystem::path& simulator) {
  if (simulator.empty() || !platform::CanEnterFolder(simulator)) {
    return text::WithDetail(text::kInvalidSimulatorFolder,
                            "The simulator folder " + platform::Utf8Of(simulator) +
                                " is not there or cannot be entered.");
  }
  const std::filesystem::path library = platform::FindFile(simulator, "Scenery.cfg");
  if (library.empty()) {
    return text::WithDetail(text::kSceneryLibraryMissing,
                            "No Scenery.cfg in " + platform::Utf8Of(simulator) + ".");
  }
  state.config.ReleaseSceneryAreas();
  std::error_code unreadable;
  const CfgResult read = state.config.ReadSceneryLibrary(library, &unreadable);
  if (read == CfgResult::Failed) return std::string(text::kOutOfMemory);
  if (read == CfgResult::Unreadable) {
    return text::WithDetail(
        text::kSceneryLibraryMissing,
        platform::Utf8Of(library) + " cannot be read (" + unreadable.message() + ").");
  }
  return std::nullopt;
}

// Finds the records of one ident and links them.
class Explainer {
 public:
  Explainer(const NavDatabase& db, std::string_view ident, bool regional_keys)
      : db_(db), ident_(Upper(ident)), regional_keys_(regional_keys) {}

  std::vector<ExplainedRecord> Records() {
    AddAirports();
    AddNavaids("VOR", db_.Vors, OriginList::Vors);
    AddNavaids("NDB", db_.Ndbs, OriginList::Ndbs);
    AddIls();
    AddFixes();
    AddAirways("jet airway", db_.JetAirways, OriginList::JetAirways);
    AddAirways("victor airway", db_.VictorAirways, OriginList::VictorAirways);
    AddAirspaces();
    return std::move(records_);
  }

  // Every ident, key and name a record carries, for near matches.
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const AirportRecord& airport : db_.Airports) names.insert(Upper(TextOf(airport.Ident)));
    for (const auto* navaids : {&db_.Vors, &db_.Ndbs}) {
      for (const NavaidRecord& navaid : *navaids) names.insert(Upper(TextOf(navaid.Ident)));
    }
    for (const IlsRecord& ils : db_.Ilss) names.insert(Upper(TextOf(ils.Ident)));
    for (const FixRecord& fix : db_.Fixes) {
      const std::string_view key = TextOf(fix.FixKey);
      names.insert(Upper(key));
      if (regional_keys_ && key.size() > 2) names.insert(Upper(key.substr(2)));
    }
    for (const auto* airways : {&db_.JetAirways, &db_.VictorAirways}) {
      for (const AirwayRecord& airway : *airways) names.insert(Upper(TextOf(airway.Name)));
    }
    names.erase("");
    return names;
  }

 private:
  bool Is(std::string_view name) const { return Upper(name) == ident_; }

  // An FS2004 key is the region code (two characters) and the ident.
  bool KeyIs(std::string_view key) const {
    return Is(key) || (regional_keys_ && key.size() == ident_.size() + 2 && Is(key.substr(2)));
  }

  template <typename Record>
  ExplainedRecord& Add(std::string kind, std::string_view name, OriginList list,
                       std::size_t position, const Record& record) {
    ExplainedRecord& explained = records_.emplace_back();
    explained.kind = std::move(kind);
    explained.name = name;
    explained.file = db_.FileOf(list, position);
    explained.fields = FormatRecordFields(record);
    explained.fields_json = RecordFieldsToJson(record);
    return explained;
  }

  void AddAirports() {
    const auto& duplicates = db_.notes.duplicate_airports;
    for (std::size_t a = 0; a < db_.Airports.size(); ++a) {
      const AirportRecord& airport = db_.Airports[a];
      if (!Is(TextOf(airport.Ident))) continue;
      ExplainedRecord& kept =
          Add("airport", TextOf(airport.Ident), OriginList::Airports, a, DatabaseRecord(airport));
      for (std::size_t d = 0; d < duplicates.size(); ++d) {
        if (duplicates[d].kept != a) continue;
        kept.links.push_back({ExplainedLink::Relation::Beat, "airport " + kept.name,
                              db_.FileOf(OriginList::DuplicateAirports, d),
                              DuplicateRule::FirstAirportStays});
      }
    }
    for (std::size_t d = 0; d < duplicates.size(); ++d) {
      if (!Is(TextOf(duplicates[d].ident))) continue;
      ExplainedRecord& dropped = records_.emplace_back();
      dropped.kind = "airport";
      dropped.name = TextOf(duplicates[d].ident);
      dropped.kept = false;
      dropped.file = db_.FileOf(OriginList::DuplicateAirports, d);
      dropped.links.push_back({ExplainedLink::Relation::LostTo, "airport " + dropped.name,
                               db_.FileOf(OriginList::Airports, duplicates[d].kept),
                               DuplicateRule::FirstAirportStays});
    }
  }

  void AddNavaids(const char* kind, const RecordArray<NavaidRecord>& navaids, OriginList list) {
    for (std::size_t n = 0; n < navaids.size(); ++n) {
      if (Is(TextOf(navaids[n].Ident))) {
        Add(kind, TextOf(navaids[n].Ident), list, n, DatabaseRecord(navaids[n]));
      }
    }
  }

  std::string RunwayEndName(const RunwayEnd& end) const {
    const AirportRecord& airport = db_.Airports[end.airport];
    const RunwayRecord& runway = airport.Runways[end.runway];
    return "runway " +
           std::string(
               TextOf(end.primary ? runway.PrimaryDesignation : runway.SecondaryDesignation)) +
           (end.primary ? " (primary end)" : " (secondary end)") + " of airport " +
           std::string(TextOf(airport.Ident));
  }

  // An ILS is tied to the runway ends it gives their frequency, and loses
  // the others to the later ILS that does; it beats the earlier ILS of the
  // runway ends it decides.
  void AddIls() {
    std::vector<std::pair<std::size_t, std::vector<IlsTie>>> matched;
    for (std::size_t i = 0; i < db_.Ilss.size(); ++i) {
      if (Is(TextOf(db_.Ilss[i].Ident))) matched.emplace_back(i, RunwayEndsOfIls(db_, i));
    }
    for (const auto& [ils, ties] : matched) {
      ExplainedRecord& explained =
          Add("ILS", TextOf(db_.Ilss[ils].Ident), OriginList::Ilss, ils, db_.Ilss[ils]);
      for (const IlsTie& tie : ties) {
        const std::string end = RunwayEndName(tie.end);
        if (tie.decided_by == ils) {
          explained.links.push_back({ExplainedLink::Relation::BoundTo,
                                     end,
                                     db_.FileOf(OriginList::Airports, tie.end.airport),
                                     {}});
        } else {
          explained.links.push_back({ExplainedLink::Relation::LostTo, "ILS for " + end,
                                     db_.FileOf(OriginList::Ilss, tie.decided_by),
                                     DuplicateRule::LastIlsDecides});
        }
      }
      for (const auto& [other, other_ties] : matched) {
        for (const IlsTie& tie : other_ties) {
          if (other == ils || tie.decided_by != ils) continue;
          explained.links.push_back(
              {ExplainedLink::Relation::Beat, "ILS for " + RunwayEndName(tie.end),
               db_.FileOf(OriginList::Ilss, other), DuplicateRule::LastIlsDecides});
        }
      }
    }
  }

  void AddFixes() {
    const auto& taken_over = db_.notes.taken_over_fixes;
    for (std::size_t f = 0; f < db_.Fixes.size(); ++f) {
      const std::string_view key = TextOf(db_.Fixes[f].FixKey);
      if (!KeyIs(key)) continue;
      ExplainedRecord& explained =
          Add("intersection", key, OriginList::Fixes, f, DatabaseRecord(db_.Fixes[f]));
      for (const NavDatabase::ReadingNotes::TakenOverFix& fix : taken_over) {
        if (fix.winner == f) {
          explained.links.push_back(
              {ExplainedLink::Relation::Beat, "intersection " + std::string(key),
               db_.FileOf(OriginList::Fixes, fix.loser), DuplicateRule::LastFixIsFound});
        } else if (fix.loser == f) {
          explained.links.push_back(
              {ExplainedLink::Relation::LostTo, "intersection " + std::string(key),
               db_.FileOf(OriginList::Fixes, fix.winner), DuplicateRule::LastFixIsFound});
        }
      }
    }
  }

  // Airways by name, and the points of any airway whose key is the ident,
  // each with the intersection binding found for it.
  void AddAirways(const char* kind, const RecordArray<AirwayRecord>& airways, OriginList list) {
    for (std::size_t a = 0; a < airways.size(); ++a) {
      const AirwayRecord& airway = airways[a];
      const std::string name(TextOf(airway.Name));
      if (Is(name)) Add(kind, name, list, a, DatabaseRecord(airway));
      for (std::size_t p = 0; p < airway.Points.size(); ++p) {
        const AirwayPointRecord& point = airway.Points[p];
        if (!KeyIs(TextOf(point.FixKey))) continue;
        ExplainedRecord& explained =
            Add("airway point", TextOf(point.FixKey), list, a, airway.Points[p]);
        explained.within = "point " + std::to_string(p + 1) + " of " + kind + " " + name;
        const FixRecord* fix = db_.FindFix(point.FixKey);
        explained.links.push_back(
            {ExplainedLink::Relation::BoundTo,
             fix ? "intersection " + std::string(TextOf(fix->FixKey))
                 : "no intersection: none has its key",
             fix ? db_.FileOf(OriginList::Fixes, static_cast<std::size_t>(fix - db_.Fixes.data()))
                 : std::nullopt,
             {}});
      }
    }
  }

  // Airspaces as written: where each lies in its file sets some fields.
  void AddAirspaces() {
    std::uint64_t position = 0;
    for (std::size_t a = 0; a < db_.Airspaces.size(); ++a) {
      const AirspaceRecord& airspace = db_.Airspaces[a];
      const std::string_view name = BlockName(airspace.Name, airspace.NameLength);
      if (Is(name)) {
        AirspaceRecord written = airspace;
        CompleteForWriting(written, position);
        Add("airspace", name, OriginList::Airspaces, a, DatabaseRecord(std::move(written)));
      }
      position += FileRecordSize(airspace);
    }
  }

  const NavDatabase& db_;
  const std::string ident_;
  const bool regional_keys_;
  std::vector<ExplainedRecord> records_;
};

// Edits (insert, delete, replace, swap two neighbours) from `a` to `b`.
std::size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t replace = d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, replace});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

// The names one or two edits away (one for idents of up to three
// characters), nearest first, at most ten.
std::vector<std::string> NearMatches(const std::set<std::string>& names, std::string_view ident) {
  constexpr std::size_t kShown = 10;
  const std::string wanted = Upper(ident);
  const std::size_t most = wanted.size() <= 3 ? 1 : 2;
  std::vector<std::pair<std::size_t, std::string>> near;
  for (const std::string& name : names) {
    const std::size_t gap =
        name.size() > wanted.size() ? name.size() - wanted.size() : wanted.size() - name.size();
    if (gap > most) continue;
    const std::size_t distance = EditDistance(wanted, name);
    if (distance <= most) near.emplace_back(distance, name);
  }
  std::sort(near.begin(), near.end());
  std::vector<std::string> shown;
  for (std::size_t i = 0; i < near.size() && i < kShown; ++i) shown.push_back(near[i].second);
  return shown;
}

std::string_view RelationText(ExplainedLink::Relation relation) {
  switch (relation) {
    case ExplainedLink::Relation::Beat:
      return "beat";
    case ExplainedLink::Relation::LostTo:
      return "lost to";
    case ExplainedLink::Relation::BoundTo:
      return "bound to";
  }
  return "";
}

std::string RelationName(ExplainedLink::Relation relation) {
  std::string name(RelationText(relation));
  std::replace(name.begin(), name.end(), ' ', '_');
  return name;
}

std::string FileText(const ScanReport& scan, const std::optional<std::size_t>& file) {
  return file ? SuppliedFileName(scan, *file) : "(no file)";
}

}  // namespace

std::optional<std::string> ReadSceneryInMemory(ProgramState& state, NavDatabase& db,
                                               ScanReport& scan) {
  const std::filesystem::path simulator = SimulatorFolderOf(state);
  try {
    if (std::optional<std::string> problem = ReadLibrary(state, simulator)) return problem;
    const std::vector<SceneryArea>& areas = state.config.SceneryAreas;
    scan = PlanScan(areas, simulator, state.config.FS_Version, state.TargetFolder);
    SilentView view;
    SceneryReading reading(db, state.config.FS_Version, view, {}, state.cancel, scan);
    const unsigned threads = LoadingThreads(state.threads);
    const Interruption stop = reading.Read(areas, reading.ListFiles(threads), threads);
    if (stop == Interruption::SystemFailure) {
      return text::WithDetail(text::kSceneryNotRead, "Could not read " +
                                                         reading.SystemFailure().Describe() +
                                                         ": the system failed, not the file.");
    }
    if (stop == Interruption::OutOfMemory) return std::string(text::kOutOfMemory);
    if (stop != Interruption::None) return std::string(text::kRunCancelled);
    if (BindRecords(db, view, state.cancel, {}) != Interruption::None) {
      return std::string(text::kRunCancelled);
    }
  } catch (const std::bad_alloc&) {
    return std::string(text::kOutOfMemory);
  }
  return std::nullopt;
}

Explanation ExplainIdent(const NavDatabase& db, ScanReport scan, std::string_view ident) {
  Explanation explanation;
  explanation.ident = ident;
  // FS2004 keys are a region code and the ident; FS2002 keys the name alone.
  const SimulatorTraits* simulator = SimulatorTraitsOf(scan.fs_version);
  const bool regional_keys = simulator && simulator->bgl_layout == BglLayout::Sectioned;
  Explainer explainer(db, ident, regional_keys);
  explanation.records = explainer.Records();
  if (explanation.records.empty()) explanation.near_matches = NearMatches(explainer.Names(), ident);
  explanation.scan = std::move(scan);
  return explanation;
}

std::string ExplanationText(const Explanation& explanation) {
  if (explanation.records.empty()) {
    std::string text = "No record of the scenery has the ident " + explanation.ident + ".\n";
    if (explanation.near_matches.empty()) return text + "Nothing has an ident like it.\n";
    text += "Near matches:";
    for (const std::string& name : explanation.near_matches) text += " " + name;
    return text + "\n";
  }
  std::string text;
  for (const ExplainedRecord& record : explanation.records) {
    if (!text.empty()) text += "\n";
    text += record.kind + " " + record.name;
    if (!record.within.empty()) text += ", " + record.within;
    text += (record.kept ? "" : ": dropped, not in the database files") + std::string("\n");
    text += "  from " + FileText(explanation.scan, record.file) + "\n";
    if (!record.fields.empty()) text += "  " + record.fields + "\n";
    for (const ExplainedLink& link : record.links) {
      text += "  " + std::string(RelationText(link.relation)) + " " + link.record;
      if (link.file) text += " from " + SuppliedFileName(explanation.scan, *link.file);
      if (link.rule) text += ": " + std::string(DuplicateRuleText(*link.rule));
      text += "\n";
    }
  }
  return text;
}

Json ExplanationJson(const Explanation& explanation) {
  Json records = Json::array();
  for (const ExplainedRecord& record : explanation.records) {
    Json links = Json::array();
    for (const ExplainedLink& link : record.links) {
      Json object = {{"relation", RelationName(link.relation)}, {"record", link.record}};
      object["from"] = link.file ? Json(SuppliedFileJson(explanation.scan, *link.file)) : Json();
      if (link.rule) object["rule"] = DuplicateRuleName(*link.rule);
      links.push_back(std::move(object));
    }
    Json object = {{"kind", record.kind}, {"name", record.name}};
    if (!record.within.empty()) object["within"] = record.within;
    object["kept"] = record.kept;
    object["from"] = record.file ? Json(SuppliedFileJson(explanation.scan, *record.file)) : Json();
    object["fields"] = record.kept ? record.fields_json : Json();
    object["links"] = std::move(links);
    records.push_back(std::move(object));
  }
  return {{"ident", explanation.ident},
          {"records", std::move(records)},
          {"near_matches", explanation.near_matches}};
}

}  // namespace tarnvale
