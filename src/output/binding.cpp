#include "output/binding.h"

namespace tarnvale {

// Placeholders until binding lands.
BindResult BindIlsToRunways(NavDatabase&, RunView&, const CancelFlag&) { return BindResult::Done; }
BindResult BindFixesToJetAirways(NavDatabase&, RunView&, const CancelFlag&) { return BindResult::Done; }
BindResult BindFixesToVictorAirways(NavDatabase&, RunView&, const CancelFlag&) { return BindResult::Done; }

}  // namespace tarnvale
