// Shared by the FS2004 decoder tests: building files with the scenery
// builder, loading them, and comparing positions.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "scenery/bgl_loader.h"
#include "scenery/nav_database.h"
#include "sceneryfab/fs2004_writer.h"
#include "sceneryfab/model.h"

namespace tarnvale::testing {

// Loads one FS2004 file holding `content` into `db`; the loader's result.
inline LoadResult LoadContent(NavDatabase& db, const fab::SceneryContent& content) {
  return LoadBglBytes(db, fab::BuildFs2004File(fab::MakeFs2004File(content)), FsVersion::Fs2004);
}

// Loads one FS2004 file with a single section of `type` holding `records`.
inline LoadResult LoadRecords(NavDatabase& db, std::uint32_t type,
                              std::vector<fab::Bytes> records) {
  fab::Fs2004File file;
  file.sections.push_back(fab::MakeFs2004Section(type, std::move(records)));
  return LoadBglBytes(db, fab::BuildFs2004File(file), FsVersion::Fs2004);
}

inline LoadResult LoadRecord(NavDatabase& db, std::uint32_t type, const fab::Fs2004Record& record) {
  return LoadRecords(db, type, {fab::Serialize(record)});
}

// Database units of a position in degrees, within what the file's position
// words and truncation allow (about 0.04 latitude and 5.4 longitude units).
inline void ExpectUnitsNear(std::int32_t latitude, std::int32_t longitude,
                            const fab::Position& position) {
  EXPECT_NEAR(latitude, position.latitude / 90.0 * 10001750.0, 1.1);
  EXPECT_NEAR(longitude, position.longitude / 360.0 * 4294967296.0, 6.5);
}

// One record of every kind the FS2004 decoders read.
fab::SceneryContent OneOfEach();

// How many records of each kind `db` holds, keyed as fab::CountFs2004Records.
std::map<std::string, std::size_t> Counts(const NavDatabase& db);

// Metres to whole feet, truncated, as the database stores lengths.
inline std::int32_t Feet(double metres) { return static_cast<std::int32_t>(metres / 0.3048); }

}  // namespace tarnvale::testing
