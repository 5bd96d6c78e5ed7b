// Binding with the spatial index against the plain cross product, airway
// binding, and the loading of one navigation file, on the synthetic world.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "domain/progress.h"
#include "output/binding.h"
#include "scenery/bgl_loader.h"
#include "sceneryfab/fs2004_writer.h"
#include "sceneryfab/preset_generator.h"

namespace tarnvale {
namespace {

// The FS2004 navigation files of the world preset at `scale`, one per tile.
std::vector<fab::Bytes> WorldFiles(double scale) {
  const fab::WorldGenerator world(fab::PlanFor(fab::Preset::World, scale), 1);
  std::vector<fab::Bytes> files;
  for (std::size_t tile = 0; tile < world.TileCount(); ++tile) {
    files.push_back(fab::BuildFs2004File(fab::MakeFs2004File(world.GenerateTile(tile))));
  }
  return files;
}

// Loads `files` into `db`; false when memory ran out, so that no figure is
// taken of part of a world.
bool LoadAll(NavDatabase& db, const std::vector<fab::Bytes>& files) {
  for (const fab::Bytes& file : files) {
    if (LoadBglBytes(db, file, FsVersion::Fs2004) != LoadResult::Ok) return false;
  }
  return true;
}

constexpr const char* kOutOfMemory = "memory ran out while loading the world";

// Scale of the world for binding: the cross product grows with its square.
constexpr double kBindingScale = 0.1;

void BindIls(benchmark::State& state, IlsSearch search) {
  static const std::vector<fab::Bytes> files = WorldFiles(kBindingScale);
  NavDatabase db;
  if (!LoadAll(db, files)) return state.SkipWithError(kOutOfMemory);
  SilentProgress view;
  const CancelFlag cancel{false};
  for (auto _ : state) benchmark::DoNotOptimize(BindIlsToRunways(db, view, cancel, search));
  state.counters["airports"] = static_cast<double>(db.Airports.size());
  state.counters["ils"] = static_cast<double>(db.Ilss.size());
}
BENCHMARK_CAPTURE(BindIls, SpatialIndex, IlsSearch::SpatialIndex)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BindIls, CrossProduct, IlsSearch::CrossProduct)->Unit(benchmark::kMillisecond);

// Airway points looked up in the intersection index, world-sized. The world
// is read twice: its second intersections take their keys over, so every
// point is looked up in every binding, as after any key taken over, rather
// than only in the first.
void BindAirways(benchmark::State& state) {
  static const std::vector<fab::Bytes> files = WorldFiles(1.0);
  NavDatabase db;
  for (int pass = 0; pass < 2; ++pass) {
    if (!LoadAll(db, files)) return state.SkipWithError(kOutOfMemory);
  }
  SilentProgress view;
  const CancelFlag cancel{false};
  for (auto _ : state) {
    benchmark::DoNotOptimize(BindFixesToJetAirways(db, view, cancel));
    benchmark::DoNotOptimize(BindFixesToVictorAirways(db, view, cancel));
  }
  state.counters["airways"] = static_cast<double>(db.JetAirways.size() + db.VictorAirways.size());
}
BENCHMARK(BindAirways)->Unit(benchmark::kMillisecond);

void LoadNavigationFile(benchmark::State& state) {
  static const std::vector<fab::Bytes> files = WorldFiles(1.0 / 64);
  const fab::Bytes& file = files.front();
  for (auto _ : state) {
    NavDatabase db;
    benchmark::DoNotOptimize(LoadBglBytes(db, file, FsVersion::Fs2004));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(LoadNavigationFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarnvale
