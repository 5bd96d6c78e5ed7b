// A builder airport with one runway, for runs over hand-made scenery.
#pragma once

#include <string>

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

}  // namespace tarnvale::testing
