// Scenery content turned into FS2002 files: facility files with airports and the navigation chain,
// VOR/ILS and NDB files, and the records the loader will count in them.

#include "sceneryfab/fs2002_format.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <string_view>
#include <vector>

#include "sceneryfab/installation_writer.h"
#include "sceneryfab/random.h"

namespace tarnvale::fab {

namespace {

constexpr std::size_t kNdbsPerRun = 32;

double SquaredDistance(Position a, Position b) {
  const double east = (a.longitude - b.longitude) * std::cos(a.latitude * 3.14159265358979 / 180.0);
  const double north = a.latitude - b.latitude;
  return east * east + north * north;
}

// The markers of `content` grouped by the airport nearest to each.
std::vector<std::vector<Marker>> MarkersByAirport(const SceneryContent& content) {
  std::vector<std::vector<Marker>> markers(content.airports.size());
  if (content.airports.empty()) return markers;
  for (const Marker& marker : content.markers) {
    std::size_t nearest = 0;
    double nearest_distance = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < content.airports.size(); ++i) {
      const double distance = SquaredDistance(marker.position, content.airports[i].position);
      if (distance < nearest_distance) {
        nearest = i;
        nearest_distance = distance;
      }
    }
    markers[nearest].push_back(marker);
  }
  return markers;
}

std::vector<Airway> AirwaysOfLevel(const std::vector<Airway>& airways, RouteLevel level) {
  std::vector<Airway> kept;
  std::copy_if(airways.begin(), airways.end(), std::back_inserter(kept), [&](const Airway& airway) {
    return airway.level == level || airway.level == RouteLevel::Both;
  });
  return kept;
}

std::size_t CountAirwaysOfLevel(const std::vector<Airway>& airways, RouteLevel level) {
  return AirwaysOfLevel(airways, level).size();
}

bool HasFacilities(const SceneryContent& content) {
  return !content.airports.empty() || !content.intersections.empty() || !content.airways.empty();
}

void WriteFile(const std::filesystem::path& path, const Bytes& bytes, WrittenFiles& written) {
  WriteBytesToFile(path, bytes);
  ++written.files;
  written.bytes += bytes.size();
}

}  // namespace

Fs2002FacilityFile MakeFs2002FacilityFile(const SceneryContent& content) {
  Fs2002FacilityFile file;
  if (!content.airports.empty()) {
    const std::vector<std::vector<Marker>> markers = MarkersByAirport(content);
    Fs2002AirportList list;
    for (std::size_t i = 0; i < content.airports.size(); ++i) {
      list.airports.push_back(MakeFs2002Airport(content.airports[i], markers[i]));
    }
    file.airport_chain.push_back(std::move(list));
  }
  if (!content.intersections.empty())
    file.navigation_chain.push_back(MakeFs2002FixList(content.intersections));
  const std::vector<Airway> victor = AirwaysOfLevel(content.airways, RouteLevel::Victor);
  if (!victor.empty())
    file.navigation_chain.push_back(MakeFs2002AirwayList(kFs2002VictorListKind, victor));
  const std::vector<Airway> jet = AirwaysOfLevel(content.airways, RouteLevel::Jet);
  if (!jet.empty()) file.navigation_chain.push_back(MakeFs2002AirwayList(kFs2002JetListKind, jet));
  return file;
}

Fs2002VorFile MakeFs2002VorFile(std::span<const Vor> vors, std::span<const Ils> ilss) {
  Fs2002VorFile file;
  if (vors.empty() && ilss.empty()) return file;
  std::vector<std::uint16_t> channels;
  for (const Vor& vor : vors) channels.push_back(Fs2002ChannelNumber(vor.frequency_hz));
  for (const Ils& ils : ilss) channels.push_back(Fs2002ChannelNumber(ils.frequency_hz));
  const auto [lowest, highest] = std::minmax_element(channels.begin(), channels.end());
  file.lowest_channel = *lowest;
  file.channels.resize(static_cast<std::size_t>(*highest - *lowest) + 1);
  auto run_of = [&](std::uint32_t hz) -> std::vector<Bytes>& {
    Fs2002Channel& channel = file.channels[Fs2002ChannelNumber(hz) - file.lowest_channel];
    if (channel.runs.empty()) channel.runs.emplace_back();
    return channel.runs.front().records;
  };
  for (const Vor& vor : vors) run_of(vor.frequency_hz).push_back(EncodeFs2002Vor(vor));
  for (std::size_t i = 0; i < ilss.size(); ++i) {
    run_of(ilss[i].frequency_hz).push_back(EncodeFs2002Ils(ilss[i], i % 2 == 1));
  }
  return file;
}

Fs2002NdbFile MakeFs2002NdbFile(std::span<const Ndb> ndbs) {
  Fs2002NdbFile file;
  for (std::size_t i = 0; i < ndbs.size(); ++i) {
    if (i % kNdbsPerRun == 0) file.runs.emplace_back();
    file.runs.back().records.push_back(EncodeFs2002Ndb(ndbs[i]));
  }
  return file;
}

Bytes MakeFs2002SkippedFile(std::size_t approximate_size, std::uint64_t seed) {
  constexpr std::size_t kLayoutWordsEnd = 122;
  Bytes bytes(std::max(approximate_size, kLayoutWordsEnd), 0);
  Random random(seed);
  for (std::size_t i = kLayoutWordsEnd; i < bytes.size(); ++i) {
    bytes[i] = static_cast<std::uint8_t>(random.Next());
  }
  return bytes;
}

std::map<std::string, std::size_t> CountFs2002Records(const SceneryContent& content) {
  std::map<std::string, std::size_t> counts = {
      {"airports", content.airports.size()},
      {"fuel_areas", 0},
      {"vors", content.vors.size()},
      {"ilss", content.ilss.size()},
      {"ndbs", content.ndbs.size()},
      {"markers", content.airports.empty() ? 0 : content.markers.size()},
      {"fixes", content.intersections.size()},
      {"victor_airways", CountAirwaysOfLevel(content.airways, RouteLevel::Victor)},
      {"jet_airways", CountAirwaysOfLevel(content.airways, RouteLevel::Jet)},
      {"airspaces", 0},
  };
  for (const Airport& airport : content.airports) {
    const auto helipads = static_cast<std::size_t>(
        std::count_if(airport.starts.begin(), airport.starts.end(),
                      [](const Start& start) { return start.type == StartType::Helipad; }));
    const std::pair<const char*, std::size_t> parts[] = {
        {"runways", airport.runways.size() + helipads},
        {"taxiway_points", airport.taxiway_points.size()},
        {"taxiway_paths", airport.taxiway_paths.size()},
        {"parkings", airport.parkings.size()},
        {"taxi_names", airport.taxiway_names.size()}};
    for (const auto& [kind, count] : parts) counts[kind] += count;
  }
  return counts;
}

SceneryFormat Fs2002Format() {
  SceneryFormat format;
  format.write_content = [](const SceneryContent& content, const std::filesystem::path& folder,
                            std::string_view stem) {
    WrittenFiles written;
    const std::string name(stem);
    if (HasFacilities(content)) {
      WriteFile(folder / ("AP" + name + ".bgl"),
                BuildFs2002FacilityFile(MakeFs2002FacilityFile(content)), written);
    }
    if (!content.vors.empty() || !content.ilss.empty()) {
      WriteFile(folder / ("VOR" + name + ".bgl"),
                BuildFs2002VorFile(MakeFs2002VorFile(content.vors, content.ilss)), written);
    }
    if (!content.ndbs.empty()) {
      WriteFile(folder / ("NDB" + name + ".bgl"),
                BuildFs2002NdbFile(MakeFs2002NdbFile(content.ndbs)), written);
    }
    written.records = CountFs2002Records(content);
    return written;
  };
  format.write_skipped = [](const std::filesystem::path& path, std::size_t size,
                            std::uint64_t seed) {
    const Bytes bytes = MakeFs2002SkippedFile(size, seed);
    WriteBytesToFile(path, bytes);
    return static_cast<std::uintmax_t>(bytes.size());
  };
  format.passed_over_head = Fs2002PassedOverHead;
  return format;
}

}  // namespace tarnvale::fab
