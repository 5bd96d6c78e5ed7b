// A run over one generated world, then over another made from a different
// seed in the same folder: what the second run tells of the set it
// replaced, and what comparing a copy of that set with the new one finds,
// agree with a record-by-record comparison made here from the dump's text.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/creation_run.h"
#include "output/database_dump.h"
#include "output/database_reader.h"
#include "output/set_comparison.h"
#include "sceneryfab/installation_generator.h"
#include "support/program_folder.h"
#include "support/recording_run_view.h"
#include "support/temp_dir.h"

namespace tarnvale {
namespace {

namespace fs = std::filesystem;

// Per kind: added, removed and changed keys, each sorted.
struct KeyLists {
  std::vector<std::string> added, removed, changed;
  bool operator==(const KeyLists&) const = default;
};
using Expected = std::map<std::string, KeyLists>;

// The kind and ident of records that have one; keyless kinds are left out.
std::optional<std::pair<std::string, std::string>> KindAndIdent(const DatabaseRecord& record) {
  if (const auto* airport = std::get_if<AirportRecord>(&record)) {
    return std::pair{"airports", std::string(TextOf(airport->Ident))};
  }
  if (const auto* navaid = std::get_if<NavaidRecord>(&record)) {
    return std::pair{navaid->Kind == 4 ? "VORs" : "NDBs", std::string(TextOf(navaid->Ident))};
  }
  if (const auto* fix = std::get_if<FixRecord>(&record)) {
    return std::pair{"intersections", std::string(TextOf(fix->FixKey))};
  }
  if (const auto* airway = std::get_if<AirwayRecord>(&record)) {
    return std::pair{airway->Kind == 7 ? "jet airways" : "victor airways",
                     std::string(TextOf(airway->Name))};
  }
  return std::nullopt;
}

// kind -> ident -> each record's fields as dump prints them.
using Records = std::map<std::string, std::map<std::string, std::vector<std::string>>>;

Records ReadSet(const fs::path& folder) {
  Records records;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (!DatabaseFileKindOf(entry.path().filename().string())) continue;
    for (const ParsedRecord& parsed : ReadDatabaseFile(entry.path()).records) {
      if (const auto key = KindAndIdent(parsed.record)) {
        records[key->first][key->second].push_back(FormatRecordFields(parsed.record));
      }
    }
  }
  return records;
}

// Identical records of an ident pair off; of the rest, as many as both
// sides have are changed, the others added or removed.
Expected CompareHere(const Records& before, const Records& after) {
  Expected expected;
  std::map<std::string,
           std::map<std::string, std::pair<std::vector<std::string>, std::vector<std::string>>>>
      sides;
  for (const auto& [kind, idents] : before) {
    for (const auto& [ident, fields] : idents) sides[kind][ident].first = fields;
  }
  for (const auto& [kind, idents] : after) {
    for (const auto& [ident, fields] : idents) sides[kind][ident].second = fields;
  }
  for (auto& [kind, idents] : sides) {
    for (auto& [ident, pair] : idents) {
      auto& [old_records, new_records] = pair;
      for (auto it = new_records.begin(); it != new_records.end();) {
        const auto same = std::find(old_records.begin(), old_records.end(), *it);
        if (same == old_records.end()) {
          ++it;
        } else {
          old_records.erase(same);
          it = new_records.erase(it);
        }
      }
      KeyLists& lists = expected[kind];
      const std::size_t changed = std::min(old_records.size(), new_records.size());
      lists.changed.insert(lists.changed.end(), changed, ident);
      lists.added.insert(lists.added.end(), new_records.size() - changed, ident);
      lists.removed.insert(lists.removed.end(), old_records.size() - changed, ident);
    }
  }
  return expected;
}

Expected Listed(const SetComparison& comparison) {
  Expected listed;
  for (const KindComparison& kind : comparison.kinds) {
    KeyLists lists{kind.added, kind.removed, {}};
    for (const ChangedRecord& record : kind.changed) lists.changed.push_back(record.key);
    for (auto* keys : {&lists.added, &lists.removed, &lists.changed}) {
      std::sort(keys->begin(), keys->end());
    }
    listed[std::string(ComparedKindName(kind.kind))] = lists;
  }
  return listed;
}

class TwoSeeds : public ::testing::TestWithParam<FsVersion> {
 protected:
  RunSummary RunOver(std::uint64_t seed) {
    fs::remove_all(simulator_);
    fab::GenerateOptions options;
    options.out = simulator_;
    options.fs_version = GetParam();
    options.preset = fab::Preset::World;
    options.scale = 0.02;
    options.seed = seed;
    fab::GenerateInstallation(options);
    ProgramState state;
    state.TargetFolder = target_;
    EXPECT_EQ(state.config.ReadProgramConfig(target_ / "Program_Config.cfg"), CfgResult::Ok);
    testing::RecordingRunView view;
    RunSummary summary = CreationRun(state, view);
    EXPECT_EQ(summary.ending, RunEnding::Success) << summary.message;
    return summary;
  }

  testing::TempDir dir_;
  fs::path simulator_ = dir_ / "Simulator";
  fs::path target_ = dir_ / "Radar";
};

TEST_P(TwoSeeds, TheRunAndDiffAgreeWithARecordByRecordComparison) {
  testing::WriteProgramConfigFile(target_, 2, ToNumber(GetParam()), simulator_.string());
  fs::create_directories(target_ / "DEFAULT_DB");
  RunOver(11);
  fs::copy(target_, dir_ / "Previous");
  const RunSummary second = RunOver(12);
  ASSERT_TRUE(second.comparison);

  Expected expected = CompareHere(ReadSet(dir_ / "Previous"), ReadSet(target_));
  Expected told = Listed(*second.comparison);
  for (auto& [kind, lists] : expected) {
    for (auto* keys : {&lists.added, &lists.removed, &lists.changed}) {
      std::sort(keys->begin(), keys->end());
    }
    EXPECT_TRUE(told[kind] == lists) << kind;
  }
  EXPECT_GT(expected["airports"].added.size() + expected["intersections"].changed.size(), 0u);
  const SetComparison diff =
      CompareDatabaseSets(DatabaseSetFiles(dir_ / "Previous"), DatabaseSetFiles(target_));
  EXPECT_EQ(Listed(diff), Listed(*second.comparison));
  for (std::size_t k = 0; k < kComparedKinds; ++k) {
    EXPECT_EQ(diff.kinds[k].old_count, second.comparison->kinds[k].old_count);
    EXPECT_EQ(diff.kinds[k].new_count, second.comparison->kinds[k].new_count);
  }
}

INSTANTIATE_TEST_SUITE_P(GeneratedWorlds, TwoSeeds,
                         ::testing::Values(FsVersion::Fs2004, FsVersion::Fs2002));

}  // namespace
}  // namespace tarnvale
