// A comparison of two database sets as a line, warnings, text and JSON.
#include "app/set_comparison_report.h"

namespace tarnvale {
namespace {

bool Differs(const KindComparison& kind) {
  return !kind.added.empty() || !kind.removed.empty() || !kind.changed.empty();
}

// "12 airports added, 3 removed, 5 changed": the kind after the first
// number, parts without records left out.
std::string KindCounts(const KindComparison& kind) {
  std::string text;
  const auto part = [&](std::size_t count, std::string_view what) {
    if (count == 0) return;
    if (text.empty()) {
      text = std::to_string(count) + " " + std::string(ComparedKindName(kind.kind)) + " ";
    } else {
      text += ", " + std::to_string(count) + " ";
    }
    text += what;
  };
  part(kind.added.size(), "added");
  part(kind.removed.size(), "removed");
  part(kind.changed.size(), "changed");
  return text;
}

std::string JoinedFields(const std::vector<std::string_view>& fields) {
  std::string text;
  for (const std::string_view field : fields) (text += text.empty() ? "" : ", ") += field;
  return text;
}

}  // namespace

std::string ComparisonCounts(const SetComparison& comparison) {
  std::string text;
  for (const KindComparison& kind : comparison.kinds) {
    if (Differs(kind)) (text += text.empty() ? "" : "; ") += KindCounts(kind);
  }
  return text.empty() ? "no record added, removed or changed" : text;
}

std::vector<std::string> ComparisonSummaryLines(const RunSummary& summary) {
  if (!summary.comparison) return {};
  return {"Compared with the previous database files: " + ComparisonCounts(*summary.comparison) +
          "."};
}

std::vector<std::string> ShrinkWarnings(const SetComparison& comparison) {
  std::vector<std::string> warnings;
  for (const KindComparison& kind : comparison.kinds) {
    if (4 * kind.new_count >= 3 * kind.old_count) continue;
    warnings.push_back("Warning: the new database files hold " + std::to_string(kind.new_count) +
                       " " + std::string(ComparedKindName(kind.kind)) +
                       ", fewer than three quarters of the " + std::to_string(kind.old_count) +
                       " the previous ones held. A wrong simulator folder or a missing scenery "
                       "area, usually.");
  }
  return warnings;
}

std::string ComparisonText(const SetComparison& comparison) {
  std::string text;
  for (const KindComparison& kind : comparison.kinds) {
    if (!Differs(kind)) continue;
    text += std::string(ComparedKindName(kind.kind)) + ": " + std::to_string(kind.old_count) +
            " before, " + std::to_string(kind.new_count) + " now\n";
    for (const std::string& key : kind.added) text += "  + " + key + "\n";
    for (const std::string& key : kind.removed) text += "  - " + key + "\n";
    for (const ChangedRecord& record : kind.changed) {
      text += "  ~ " + record.key + ": " + JoinedFields(record.fields) + "\n";
    }
  }
  for (const std::string& failure : comparison.failures)
    text += "Not read whole: " + failure + "\n";
  return text;
}

std::string ComparisonReportSection(const RunSummary& summary) {
  if (!summary.comparison) return {};
  return "\n" + ComparisonSummaryLines(summary).front() + "\n" +
         ComparisonText(*summary.comparison);
}

nlohmann::json ComparisonJson(const SetComparison& comparison) {
  nlohmann::json kinds = nlohmann::json::object();
  for (const KindComparison& kind : comparison.kinds) {
    nlohmann::json changed = nlohmann::json::array();
    for (const ChangedRecord& record : kind.changed) {
      changed.push_back({{"key", record.key}, {"fields", record.fields}});
    }
    kinds[std::string(ComparedKindName(kind.kind))] = {{"old", kind.old_count},
                                                       {"new", kind.new_count},
                                                       {"added", kind.added},
                                                       {"removed", kind.removed},
                                                       {"changed", std::move(changed)}};
  }
  return {
      {"same", comparison.Same()}, {"kinds", std::move(kinds)}, {"failures", comparison.failures}};
}

}  // namespace tarnvale
