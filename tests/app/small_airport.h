// A builder airport with one runway, for runs over hand-made scenery.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "sceneryfab/fs2004_writer.h"
#include "sceneryfab/installation_writer.h"
#include "sceneryfab/model.h"

namespace tarnvale::testing {

inline fab::Airport SmallAirport(const std::string& ident, double latitude = 47.5,
                                 double runway_length_m = 2000.0) {
  fab::Airport airport;
  airport.ident = ident;
  airport.position = {latitude, 8.5};
  fab::Runway runway;
  runway.centre = airport.position;
  runway.length_m = runway_length_m;
  runway.width_m = 45.0;
  runway.primary.number = 9;
  runway.secondary.number = 27;
  airport.runways.push_back(runway);
  return airport;
}

// One FS2004 file holding `airports` and `ilss`.
inline void WriteBgl(const std::filesystem::path& file, std::vector<fab::Airport> airports,
                     std::vector<fab::Ils> ilss = {}) {
  fab::SceneryContent content;
  content.airports = std::move(airports);
  content.ilss = std::move(ilss);
  fab::WriteBytesToFile(file, fab::BuildFs2004File(fab::MakeFs2004File(content)));
}

}  // namespace tarnvale::testing
