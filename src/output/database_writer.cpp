#include "output/database_writer.h"

namespace tarnvale {

// Placeholder until the writer lands.
WriteResult WriteDatabaseFiles(NavDatabase&, RunView&, const OutputSettings&, const CancelFlag&) {
  return {};
}

}  // namespace tarnvale
