// Which scenery file supplied each record of a run's database.
//
// Files are read one after another and records are only ever appended, so
// the records one file supplied are one stretch of each list. Where each
// file's stretch starts is enough to find the file of any record: a few
// dozen bytes per file, nothing per record, and nothing inside the records,
// whose bytes are written.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tarnvale {

// The lists of a database whose entries are told apart by file: the ten
// record arrays, then the airports that reading dropped.
enum class OriginList : std::uint8_t {
  Airports,
  FuelAreas,
  Airspaces,
  Vors,
  Ndbs,
  Markers,
  Ilss,
  Fixes,
  JetAirways,
  VictorAirways,
  DuplicateAirports,  // FS2004 airports dropped: an earlier airport had their ident
  LaterAirports,      // airports of a later simulator generation, passed over
};
inline constexpr std::size_t kOriginLists = 12;

class RecordOrigins {
 public:
  // The size of each list, in OriginList order.
  using Sizes = std::array<std::uint32_t, kOriginLists>;

  // A new file begins; the lists have `sizes` entries so far.
  void BeginFile(const Sizes& sizes) { starts_.push_back(sizes); }

  std::size_t FileCount() const { return starts_.size(); }

  // The file (numbered from 0 in reading order) that supplied entry
  // `position` of `list`; none for an entry added before the first file.
  std::optional<std::size_t> FileOf(OriginList list, std::size_t position) const {
    const auto at = static_cast<std::size_t>(list);
    const auto after = std::upper_bound(
        starts_.begin(), starts_.end(), position,
        [at](std::size_t wanted, const Sizes& start) { return wanted < start[at]; });
    if (after == starts_.begin()) return std::nullopt;
    return static_cast<std::size_t>(after - starts_.begin() - 1);
  }

  // How many entries of `list`, which has `size` entries now, `file` supplied.
  std::size_t Supplied(std::size_t file, OriginList list, std::size_t size) const {
    const auto at = static_cast<std::size_t>(list);
    const std::size_t end = file + 1 < starts_.size() ? starts_[file + 1][at] : size;
    return end - starts_[file][at];
  }

  void Clear() { starts_.clear(); }
  void Release() { std::vector<Sizes>().swap(starts_); }

 private:
  std::vector<Sizes> starts_;  // per file, where its entries start
};

}  // namespace tarnvale
