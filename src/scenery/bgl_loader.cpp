#include "scenery/bgl_loader.h"

namespace tarnvale {

// Placeholder until the FS2004 loader lands: recognises nothing.
int BglLoader(NavDatabase&, const std::filesystem::path&, int, LoaderProblems*) { return kLoaderOk; }

}  // namespace tarnvale
