#include "scenery/fs2002_readers.h"

namespace tarnvale {

// Placeholders until the FS2002 readers land: they read nothing.
int ReadFs2002VorSection(NavDatabase&, const ByteCursor&) { return 0; }
int ReadFs2002NdbSection(NavDatabase&, const ByteCursor&) { return 0; }
int ReadFs2002FacilityData(NavDatabase&, const ByteCursor&) { return 0; }

}  // namespace tarnvale
