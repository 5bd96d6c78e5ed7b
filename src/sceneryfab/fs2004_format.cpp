// Scenery content written as FS2004 files: airports, navaids and boundaries each in a file of their
// own, as the simulator keeps them.

#include <utility>

#include "sceneryfab/fs2004_writer.h"
#include "sceneryfab/installation_writer.h"
#include "sceneryfab/scenery_format.h"

namespace tarnvale::fab {

namespace {

// Writes `content` as one file unless it holds nothing.
void WriteIfAny(const SceneryContent& content, const std::filesystem::path& path,
                WrittenFiles& written) {
  const Fs2004File file = MakeFs2004File(content);
  if (file.sections.empty()) return;
  const Bytes bytes = BuildFs2004File(file);
  WriteBytesToFile(path, bytes);
  ++written.files;
  written.bytes += bytes.size();
}

// Airports with what belongs to them (fuel, ILS, markers), navaids with the
// waypoints, and airspace boundaries go to three files, as the simulator
// keeps them.
WrittenFiles WriteContent(const SceneryContent& content, const std::filesystem::path& folder,
                          std::string_view stem) {
  WrittenFiles written;
  SceneryContent airports;
  airports.airports = content.airports;
  airports.fuel_triggers = content.fuel_triggers;
  airports.ilss = content.ilss;
  airports.markers = content.markers;
  SceneryContent navaids;
  navaids.vors = content.vors;
  navaids.ndbs = content.ndbs;
  navaids.intersections = content.intersections;
  SceneryContent boundaries;
  boundaries.boundaries = content.boundaries;
  const std::string name(stem);
  WriteIfAny(airports, folder / ("AP" + name + ".bgl"), written);
  WriteIfAny(navaids, folder / ("NV" + name + ".bgl"), written);
  WriteIfAny(boundaries, folder / ("BV" + name + ".bgl"), written);
  written.records = CountFs2004Records(content);
  return written;
}

std::uintmax_t WriteSkipped(const std::filesystem::path& path, std::size_t size,
                            std::uint64_t seed) {
  const Bytes bytes = MakeFs2004SkippedFile(size, seed);
  WriteBytesToFile(path, bytes);
  return bytes.size();
}

}  // namespace

SceneryFormat Fs2004Format() {
  return SceneryFormat{WriteContent, WriteSkipped, Fs2004PassedOverHead};
}

}  // namespace tarnvale::fab
