#include "sceneryfab/installation_generator.h"

#include <stdexcept>

namespace tarnvale::fab {

// Placeholder until the scenery builder lands.
GenerateSummary GenerateInstallation(const GenerateOptions&) {
  throw std::runtime_error("the scenery builder is not available yet");
}

}  // namespace tarnvale::fab
