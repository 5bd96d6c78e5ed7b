// Files read on the pool and merged in order against the same files read one
// after another into one database, for the cases where a file's records
// depend on the files before it.
#include "scenery/parallel_loader.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/fault_injection.h"
#include "scenery/fs2002_test_helpers.h"
#include "sceneryfab/fs2004_writer.h"
#include "support/temp_dir.h"

namespace tarnvale {
namespace {

using fab::Bytes;

// The latitude that binding gives `point`: its fix's, looked up where the
// database says so, else the one it took when its file was appended.
std::int32_t BoundLatitude(const NavDatabase& db, const AirwayPointRecord& point) {
  const bool look_up = db.AnyPointNeedsFix() && db.PointNeedsFix(point);
  const FixRecord* fix = look_up ? db.FindFix(point.FixKey) : nullptr;
  return fix ? fix->Latitude : point.Latitude;
}

// The file each entry of `list` came from, as text.
std::string Files(const NavDatabase& db, OriginList list) {
  std::string out;
  for (std::size_t i = 0; i < db.ListSize(list); ++i) {
    const std::optional<std::size_t> file = db.FileOf(list, i);
    out += ' ';
    out += file ? std::to_string(*file) : "-";
  }
  return out;
}

// What order decides, as text: airports with their runway counts, airways
// with their points and where binding puts them, the fix the index finds
// for each key, the notes, and the file that supplied each record and each
// record dropped or taken over.
std::string Digest(const NavDatabase& db) {
  std::string out = "airports:";
  for (const AirportRecord& airport : db.Airports) {
    out.append(" ").append(TextOf(airport.Ident)).append("/");
    out.append(std::to_string(airport.Runways.size())).append("/").append(airport.Name.c_str());
  }
  for (const auto* airways : {&db.JetAirways, &db.VictorAirways}) {
    out += "\nairways:";
    for (const AirwayRecord& airway : *airways) {
      out.append(" ").append(TextOf(airway.Name)).append("[");
      for (const AirwayPointRecord& point : airway.Points) {
        out.append(TextOf(point.FixKey))
            .append("@")
            .append(std::to_string(BoundLatitude(db, point)));
        out += ' ';
      }
      out += ']';
    }
  }
  out += "\nfixes:";
  for (const FixRecord& fix : db.Fixes) {
    out.append(" ").append(TextOf(fix.FixKey)).append("@");
    out += std::to_string(db.FindFix(fix.FixKey)->Latitude);
  }
  out += "\nmalformed " + std::to_string(db.notes.malformed) + ", duplicates:";
  for (const auto& duplicate : db.notes.duplicate_airports) {
    out.append(" ").append(TextOf(duplicate.ident)).append(" lost to #");
    out += std::to_string(duplicate.kept);
  }
  out += "\ntaken over:";
  for (const auto& fix : db.notes.taken_over_fixes) {
    out += " #" + std::to_string(fix.loser) + " by #" + std::to_string(fix.winner);
  }
  for (const OriginList list : {OriginList::Airports, OriginList::Fixes, OriginList::JetAirways,
                                OriginList::DuplicateAirports}) {
    out += "\nfiles " + std::to_string(static_cast<int>(list)) + ":" + Files(db, list);
  }
  return out;
}

struct Case {
  const char* what;
  FsVersion fs_version;
  std::function<std::vector<Bytes>()> files;
};

Bytes Fs2002Airways(std::vector<fab::Fs2002Chunk> records) {
  return testing::Fs2002NavigationFile({fab::MakeFs2002List(fab::kFs2002JetListKind, records)});
}

fab::Fs2002Chunk Point(const std::string& key) {
  return fab::EncodeFs2002AirwayPoint({key, {}, 0});
}

fab::Fs2002Chunk Fix(const std::string& key, double latitude) {
  fab::Intersection fix;
  fix.ident = key;
  fix.position = {latitude, 0};
  return fab::EncodeFs2002Fix(fix);
}

// Intersections, then one jet airway through `points`.
Bytes Fs2002FixesAndAirway(std::vector<fab::Fs2002Chunk> fixes,
                           const std::vector<std::string>& points) {
  std::vector<fab::Fs2002Chunk> airway{fab::EncodeFs2002AirwayName("J1")};
  for (const std::string& key : points) airway.push_back(Point(key));
  return testing::Fs2002NavigationFile({fab::MakeFs2002List(fab::kFs2002FixListKind, fixes),
                                        fab::MakeFs2002List(fab::kFs2002JetListKind, airway)});
}

// An airport with one runway; `cut_runway` cuts the runway short of its
// fields, so that it is passed over as malformed.
fab::Fs2004Record Airport(const std::string& ident, const std::string& name,
                          bool cut_runway = false) {
  fab::Airport airport;
  airport.ident = ident;
  airport.name = name;
  airport.runways.push_back(fab::Runway{});
  fab::Fs2004Record record = fab::EncodeAirport(airport);
  for (fab::Fs2004Record& sub : record.sub_records) {
    if (cut_runway && sub.id == fab::EncodeRunway(fab::Runway{}).id) sub.body.resize(8);
  }
  return record;
}

Bytes Fs2004Airports(const std::vector<fab::Fs2004Record>& airports) {
  std::vector<Bytes> records;
  for (const fab::Fs2004Record& airport : airports) records.push_back(fab::Serialize(airport));
  fab::Fs2004File file;
  file.sections.push_back(fab::MakeFs2004Section(fab::kFs2004Airports, std::move(records)));
  return fab::BuildFs2004File(file);
}

const Case kCases[] = {
    {"points of an airway begun in the file before", FsVersion::Fs2002,
     [] {
       return std::vector<Bytes>{
           Fs2002Airways({fab::EncodeFs2002AirwayName("J1"), Point("ONE"), Point("TWO")}),
           Fs2002Airways({Point("THREE"), fab::EncodeFs2002AirwayName("J2"), Point("FOUR")})};
     }},
    {"a later fix of a key wins in the index", FsVersion::Fs2002,
     [] {
       return std::vector<Bytes>{testing::Fs2002NavigationFile({fab::MakeFs2002List(
                                     fab::kFs2002FixListKind, {Fix("ABC", 1), Fix("DEF", 2)})}),
                                 testing::Fs2002NavigationFile({fab::MakeFs2002List(
                                     fab::kFs2002FixListKind, {Fix("ABC", 3)})})};
     }},
    {"airway points bound to the fixes of their file and of files before", FsVersion::Fs2002,
     [] {
       return std::vector<Bytes>{Fs2002FixesAndAirway({Fix("ABC", 1)}, {"ABC", "GHI"}),
                                 Fs2002FixesAndAirway({Fix("GHI", 4)}, {"GHI", "ABC"})};
     }},
    {"airway points bound to a fix whose key a later file takes over", FsVersion::Fs2002,
     [] {
       return std::vector<Bytes>{
           Fs2002FixesAndAirway({Fix("ABC", 1), Fix("DEF", 2)}, {"ABC", "DEF", "GHI"}),
           testing::Fs2002NavigationFile(
               {fab::MakeFs2002List(fab::kFs2002FixListKind, {Fix("ABC", 3), Fix("GHI", 4)})})};
     }},
    {"an airport known from an earlier file is dropped", FsVersion::Fs2004,
     [] {
       return std::vector<Bytes>{Fs2004Airports({Airport("KAAA", "First")}),
                                 Fs2004Airports({Airport("KAAA", "Second"), Airport("KCCC", "C")})};
     }},
    {"a dropped airport's malformed runway does not count", FsVersion::Fs2004,
     [] {
       return std::vector<Bytes>{Fs2004Airports({Airport("KAAA", "First")}),
                                 Fs2004Airports({Airport("KAAA", "Second", true)})};
     }},
    {"a file's own duplicate lost to its airport behind those of earlier files", FsVersion::Fs2004,
     [] {
       return std::vector<Bytes>{Fs2004Airports({Airport("KAAA", "A")}),
                                 Fs2004Airports({Airport("KBBB", "B"), Airport("KBBB", "B2")})};
     }},
    {"duplicates noted in reading order", FsVersion::Fs2004,
     [] {
       return std::vector<Bytes>{
           Fs2004Airports({Airport("KAAA", "A")}),
           Fs2004Airports({Airport("KBBB", "B"), Airport("KBBB", "B2"), Airport("KAAA", "A2")})};
     }},
};

class ParallelLoaderTest : public ::testing::TestWithParam<Case> {};

TEST_P(ParallelLoaderTest, MergedInOrderEqualsReadInOrder) {
  const Case& c = GetParam();
  testing::TempDir dir;
  std::vector<std::filesystem::path> paths;
  for (const Bytes& bytes : c.files()) {
    paths.push_back(dir.Path() / ("file" + std::to_string(paths.size()) + ".bgl"));
    testing::WriteFile(paths.back(), std::string(bytes.begin(), bytes.end()));
  }
  NavDatabase in_order;
  for (const auto& path : paths) {
    in_order.BeginFile();
    ASSERT_EQ(BglLoader(in_order, path, c.fs_version), LoadResult::Ok);
  }

  NavDatabase merged;
  std::vector<const std::filesystem::path*> files;
  for (const auto& path : paths) files.push_back(&path);
  ParallelLoader pool(files, c.fs_version, 3);
  for (std::size_t i = 0; i < paths.size(); ++i) {
    const std::unique_ptr<LoadedFile> file = pool.Next([] { return false; });
    ASSERT_NE(file, nullptr);
    merged.BeginFile();
    ASSERT_EQ(MergeLoadedFile(merged, *file, c.fs_version), LoadResult::Ok);
  }
  EXPECT_EQ(Digest(merged), Digest(in_order)) << c.what;
}

// A file that could not be opened for a reason of the process reaches the
// merging thread with that reason, whichever thread read it.
TEST(ParallelLoader, CarriesFailuresOfTheProcessToTheMergingSide) {
  testing::TempDir dir;
  std::vector<std::filesystem::path> paths;
  for (const char* ident : {"KAAA", "KBBB", "KCCC"}) {
    paths.push_back(dir / (std::string(ident) + ".bgl"));
    const Bytes bytes = Fs2004Airports({Airport(ident, ident)});
    testing::WriteFile(paths.back(), std::string(bytes.begin(), bytes.end()));
  }
  std::vector<const std::filesystem::path*> files;
  for (const auto& path : paths) files.push_back(&path);
  const std::error_code too_many = std::make_error_code(std::errc::too_many_files_open);
  platform::FaultScope faults;
  faults.Inject(platform::FaultSite::OpenInput, too_many, 0, 0);
  ParallelLoader pool(files, FsVersion::Fs2004, 3);
  NavDatabase merged;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    const std::unique_ptr<LoadedFile> file = pool.Next([] { return false; });
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(MergeLoadedFile(merged, *file, FsVersion::Fs2004), LoadResult::Ok);
    EXPECT_EQ(file->reading.system_failure, too_many) << *file->path;
  }
  EXPECT_TRUE(merged.Empty());
}

INSTANTIATE_TEST_SUITE_P(OrderDependentFiles, ParallelLoaderTest, ::testing::ValuesIn(kCases));

}  // namespace
}  // namespace tarnvale
