// A small hand-built database holding every kind of record, and the bytes
// each database file must hold for it, spelled out independently of the
// encoders.
#pragma once

#include <map>
#include <string>

#include "scenery/nav_database.h"

namespace tarnvale::testing {

// Fills `db` with two airports (one with a name and one of every sub-record,
// one bare), a fuel area, two airspaces (a 5-byte name with 4 vertices, a
// 1-byte name without vertices), a VOR, an NDB, a marker, a fix, a victor
// airway of two points and a jet airway of one.
void FillSampleDatabase(NavDatabase& db);

// The expected bytes of each database file (by its name) for the sample.
std::map<std::string, std::string> SampleDatabaseFiles();

}  // namespace tarnvale::testing
