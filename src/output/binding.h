// Binding: completes runway ends with their ILS frequency and airway points
// with their intersection's position, after loading and before writing.
#pragma once

#include "app/run_view.h"
#include "scenery/nav_database.h"

namespace tarnvale {

enum class BindResult { Done, Cancelled };

// Each step sets its own progress range on `view` and tests `cancel` at its
// check points; on Cancelled the caller takes the run's cancel ending.
BindResult BindIlsToRunways(NavDatabase& db, RunView& view, const CancelFlag& cancel);
BindResult BindFixesToJetAirways(NavDatabase& db, RunView& view, const CancelFlag& cancel);
BindResult BindFixesToVictorAirways(NavDatabase& db, RunView& view, const CancelFlag& cancel);

}  // namespace tarnvale
