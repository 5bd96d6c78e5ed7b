#include "output/output_cleanup.h"

namespace tarnvale {

// Placeholder until output cleanup lands.
int DeleteOutputFiles(const std::filesystem::path&) { return 0; }

}  // namespace tarnvale
