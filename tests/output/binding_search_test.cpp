// The spatial index must bind exactly as the full cross product does.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "output/binding.h"
#include "output/recording_view.h"

namespace tarnvale {
namespace {

constexpr std::int32_t kNorthPole = 10'001'750;
constexpr std::int64_t kHalfTurn = std::int64_t{1} << 31;  // 180 degrees of longitude

struct WorldShape {
  int airports;
  int max_runways;
  int ils;
  double ils_near_runway;        // share of ILS placed close to some runway
  double polar_or_antimeridian;  // share of positions crowded there
};

// Random worlds built to stress the index: crowds at both poles and on the
// 180 degree meridian, ILS 0 to 3 NM from runways (some exactly on them,
// some on the opposite meridian), and a few idents so that matches are many.
class RandomWorld {
 public:
  explicit RandomWorld(std::uint32_t seed) : random_(seed) {}

  void Build(NavDatabase& db, const WorldShape& shape) {
    std::vector<RunwayRecord> all_runways;
    for (int a = 0; a < shape.airports; ++a) {
      AirportRecord* airport = &db.AppendAirport();
      const int runways = Between(0, shape.max_runways);
      for (int r = 0; r < runways; ++r) {
        RunwayRecord runway;
        Place(runway, shape.polar_or_antimeridian);
        SetText(runway.PrimaryIlsIdent, Ident());
        SetText(runway.SecondaryIlsIdent, Ident());
        airport->Runways.push_back(runway);
        all_runways.push_back(runway);
      }
    }
    for (int i = 0; i < shape.ils; ++i) {
      IlsRecord* ils = &db.AppendIls();
      if (!all_runways.empty() && Chance(shape.ils_near_runway)) {
        PlaceNear(*ils, all_runways[Between(0, static_cast<int>(all_runways.size()) - 1)]);
      } else {
        Place(*ils, shape.polar_or_antimeridian);
      }
      SetText(ils->Ident, Ident());
      ils->Frequency = i + 1;
    }
  }

 private:
  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }
  std::string_view Ident() {
    static constexpr std::string_view kIdents[] = {"", "IAB", "IXY", "ixy"};
    return kIdents[Between(0, 3)];
  }
  static std::int32_t WrapLongitude(std::int64_t longitude) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(longitude));
  }
  static std::int32_t ClampLatitude(std::int64_t latitude) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(latitude, -kNorthPole, kNorthPole));
  }

  template <typename Position>
  void Place(Position& at, double crowded) {
    at.Longitude = static_cast<std::int32_t>(random_());
    at.Latitude = Between(-kNorthPole, kNorthPole);
    if (!Chance(crowded)) return;
    switch (Between(0, 2)) {
      case 0:  // near a pole, sometimes right on it
        at.Latitude = (Chance(0.5) ? 1 : -1) * (kNorthPole - Between(0, 20'000));
        break;
      default:  // on either side of the 180 degree meridian
        at.Longitude = WrapLongitude(kHalfTurn + Between(-600'000, 600'000));
        break;
    }
  }

  template <typename Position>
  void PlaceNear(Position& at, const RunwayRecord& runway) {
    at.Latitude = runway.Latitude;
    at.Longitude = runway.Longitude;
    if (Chance(0.1)) return;  // the very same point
    at.Latitude = ClampLatitude(std::int64_t{runway.Latitude} + Between(-5'000, 5'000));
    const std::int64_t across = Chance(0.05) ? kHalfTurn : 0;  // beyond the pole
    at.Longitude = WrapLongitude(runway.Longitude + across + Between(-500'000, 500'000));
  }

  std::mt19937 random_;
};

struct BoundEnds {
  std::vector<std::int32_t> frequencies;
  std::size_t bound = 0;
  std::size_t bound_crowded = 0;  // near a pole or the 180 degree meridian
};

bool Crowded(const RunwayRecord& runway) {
  const std::int64_t from_meridian = std::int64_t{runway.Longitude} < 0
                                         ? kHalfTurn + runway.Longitude
                                         : kHalfTurn - runway.Longitude;
  return std::abs(runway.Latitude) > kNorthPole - 30'000 || from_meridian < 700'000;
}

BoundEnds Bind(std::uint32_t seed, const WorldShape& shape, IlsSearch search,
               std::chrono::duration<double>* took = nullptr) {
  NavDatabase db;
  RandomWorld(seed).Build(db, shape);
  testing::RecordingView view;
  const CancelFlag cancel{false};
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(BindIlsToRunways(db, view, cancel, search), BindResult::Done);
  if (took) *took = std::chrono::steady_clock::now() - start;
  BoundEnds ends;
  for (const AirportRecord& airport : db.Airports) {
    for (const RunwayRecord& runway : airport.Runways) {
      for (const std::int32_t frequency :
           {runway.PrimaryIlsFrequency, runway.SecondaryIlsFrequency}) {
        ends.frequencies.push_back(frequency);
        ends.bound += frequency != 0;
        ends.bound_crowded += frequency != 0 && Crowded(runway);
      }
    }
  }
  return ends;
}

TEST(IlsSearch, SpatialIndexBindsExactlyAsTheCrossProduct) {
  const WorldShape shapes[] = {
      {400, 3, 400, 0.8, 0.6},  // crowded at the poles and the meridian
      {600, 4, 300, 0.7, 0.1},  // mostly spread over the globe
      {50, 2, 600, 0.95, 0.9},  // many ILS on few runways
  };
  for (std::uint32_t seed = 1; seed <= 3; ++seed) {
    for (const WorldShape& shape : shapes) {
      const BoundEnds indexed = Bind(seed, shape, IlsSearch::SpatialIndex);
      const BoundEnds crossed = Bind(seed, shape, IlsSearch::CrossProduct);
      EXPECT_EQ(indexed.frequencies, crossed.frequencies) << "seed " << seed;
      // Enough matches, also where the index needs care, to make the comparison count.
      EXPECT_GT(crossed.bound, static_cast<std::size_t>(shape.ils / 20));
      EXPECT_GT(crossed.bound_crowded, 0u);
    }
  }
}

// A world-sized measurement, not run by default:
//   test_output --gtest_also_run_disabled_tests --gtest_filter='*WorldSized*'
TEST(IlsSearch, DISABLED_WorldSizedTiming) {
  // 16,500 airports of 0 to 4 runways make about 33,000 runways.
  const WorldShape world{16'500, 4, 3'300, 0.9, 0.02};
  std::chrono::duration<double> indexed_time{};
  std::chrono::duration<double> crossed_time{};
  const BoundEnds indexed = Bind(7, world, IlsSearch::SpatialIndex, &indexed_time);
  const BoundEnds crossed = Bind(7, world, IlsSearch::CrossProduct, &crossed_time);
  EXPECT_EQ(indexed.frequencies, crossed.frequencies);
  std::cout << indexed.frequencies.size() / 2 << " runways, " << world.ils << " ILS, "
            << crossed.bound << " ends bound\n"
            << "spatial index: " << indexed_time.count() << " s\n"
            << "cross product: " << crossed_time.count() << " s\n";
}

}  // namespace
}  // namespace tarnvale
