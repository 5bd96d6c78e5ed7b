// How a comparison of two database sets is told: the one line at the end of
// a run, the warning of a set that shrank, the whole comparison as text and
// as JSON. `tarnvale-cli diff` and the run's report tell it alike.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/run_summary.h"
#include "output/set_comparison.h"

namespace tarnvale {

// "12 airports added, 3 removed, 5 changed; 2 VORs changed", or "no record
// added, removed or changed".
std::string ComparisonCounts(const SetComparison& comparison);

// For the end of a run that replaced a set: "Compared with the previous
// database files: <counts>."; none when there was no previous set.
std::vector<std::string> ComparisonSummaryLines(const RunSummary& summary);

// A warning for each kind of which the new set holds fewer than three
// quarters of the old set's records, naming the kind and both counts.
std::vector<std::string> ShrinkWarnings(const SetComparison& comparison);

// Per kind with a difference, a heading with the counts, then a line per
// record: "+ KSEA" added, "- KBFI" removed, "~ KJFK: Name, Runways" changed
// with the fields that differ; then the files that could not be read whole.
std::string ComparisonText(const SetComparison& comparison);

// For the end of the report's text: a blank line, the summary line, then
// ComparisonText; empty when the run compared nothing.
std::string ComparisonReportSection(const RunSummary& summary);

// {"same", "kinds": {"airports": {"old", "new", "added", "removed",
// "changed": [{"key", "fields"}]}, ...}, "failures"}; every kind is listed.
nlohmann::json ComparisonJson(const SetComparison& comparison);

}  // namespace tarnvale
