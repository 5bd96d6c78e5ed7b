// Tests of the BGL loader: every record the builder wrote, disk against memory, files that change
// or fail, section tables, running out of memory, and real files.

#include "scenery/bgl_loader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "fs2004_test_support.h"
#include "platform/fault_injection.h"
#include "scenery/nav_database.h"
#include "sceneryfab/fs2004_writer.h"
#include "sceneryfab/passed_over_files.h"
#include "sceneryfab/preset_generator.h"
#include "support/temp_dir.h"

namespace tarnvale {
namespace {

using testing::Counts;
using testing::OneOfEach;

// Every field the decoders set, as text, to compare two loads.
std::string Dump(const NavDatabase& db) {
  std::ostringstream out;
  for (const AirportRecord& a : db.Airports) {
    out << "A " << TextOf(a.Ident) << ' ' << a.Name << ' ' << a.Latitude << ' ' << a.Longitude
        << ' ' << a.AltitudeFeet << ' ' << a.FileSize << ' ' << a.TowerFrequency << ' '
        << a.GroundFrequency << '\n';
    for (const RunwayRecord& r : a.Runways) {
      out << " R " << r.Latitude << ' ' << r.Longitude << ' ' << r.PrimaryEndLatitude << ' '
          << r.SecondaryEndLongitude << ' ' << r.Heading << ' ' << r.LengthFeet << ' '
          << TextOf(r.PrimaryDesignation) << ' ' << TextOf(r.PrimaryIlsIdent) << '\n';
    }
    for (const ParkingRecord& p : a.Parkings) out << " P " << p.Number << ' ' << p.Latitude << '\n';
    for (const TaxiwayPointRecord& t : a.TaxiwayPoints)
      out << " T " << t.Latitude << ' ' << t.Longitude << '\n';
  }
  for (const FuelAreaRecord& f : db.FuelAreas)
    out << "F " << int{f.FuelType} << ' ' << f.Latitude << '\n';
  for (const auto* navaids : {&db.Vors, &db.Ndbs}) {
    for (const NavaidRecord& n : *navaids) {
      out << "N " << int{n.Kind} << ' ' << TextOf(n.Ident) << ' ' << n.Name << ' ' << n.Frequency
          << ' ' << int{n.RangeNm} << ' ' << n.Latitude << '\n';
    }
  }
  for (const IlsRecord& i : db.Ilss) out << "I " << TextOf(i.Ident) << ' ' << i.Frequency << '\n';
  for (const MarkerRecord& m : db.Markers)
    out << "M " << int{m.MarkerType} << ' ' << m.Longitude << '\n';
  for (const FixRecord& f : db.Fixes) out << "X " << TextOf(f.FixKey) << ' ' << f.Latitude << '\n';
  for (const auto* airways : {&db.VictorAirways, &db.JetAirways}) {
    for (const AirwayRecord& w : *airways) {
      out << "W " << TextOf(w.Name) << ' ' << w.FileSize;
      for (const AirwayPointRecord& p : w.Points)
        out << ' ' << TextOf(p.FixKey) << ' ' << p.AltitudeFeet;
      out << '\n';
    }
  }
  for (const AirspaceRecord& s : db.Airspaces) {
    out << "S " << int{s.AirspaceClass} << ' ' << s.Name << ' ' << s.CentreLatitude << ' '
        << s.CornerBLongitude;
    for (const AirspaceVertexRecord& v : s.Vertices)
      out << ' ' << int{v.VertexType} << ':' << v.Latitude;
    out << '\n';
  }
  return out.str();
}

TEST(BglLoader, ReadsEveryRecordTheSceneryBuilderWrote) {
  const fab::SceneryContent content = OneOfEach();
  NavDatabase db;
  ASSERT_EQ(testing::LoadContent(db, content), LoadResult::Ok);
  EXPECT_EQ(Counts(db), fab::CountFs2004Records(content));
}

TEST(BglLoader, ReadsAGeneratedTileWhole) {
  const fab::WorldGenerator world(fab::PlanFor(fab::Preset::Demo, 1.0), 7);
  const fab::SceneryContent content = world.GenerateTile(0);
  NavDatabase db;
  ASSERT_EQ(
      LoadBglBytes(db, fab::BuildFs2004File(fab::MakeFs2004File(content, 3)), FsVersion::Fs2004),
      LoadResult::Ok);
  EXPECT_EQ(Counts(db), fab::CountFs2004Records(content));
}

// A file whose navigation sections lie behind and between large sections
// the loader skips, so that reading from disk brings in only some blocks.
fab::Bytes FileWithSkippedSections() {
  fab::Fs2004File file = fab::MakeFs2004File(OneOfEach());
  auto filler = [](std::uint8_t fill) {
    fab::Fs2004Record record;
    record.id = 0x55;
    record.body.assign(150 * 1024, fill);
    return fab::MakeFs2004Section(35, {fab::Serialize(record)});
  };
  file.sections.insert(file.sections.begin(), filler(0x11));
  file.sections.insert(file.sections.begin() + 3, filler(0xFF));
  file.sections.push_back(filler(0x22));
  return fab::BuildFs2004File(file);
}

TEST(BglLoader, ReadingFromDiskGivesWhatReadingFromMemoryGives) {
  const fab::Bytes bytes = FileWithSkippedSections();
  ASSERT_GT(bytes.size(), 400u * 1024);
  testing::TempDir dir;
  testing::WriteFile(dir / "nav.bgl", std::string(bytes.begin(), bytes.end()));
  NavDatabase from_disk;
  NavDatabase from_memory;
  FileReading reading;
  ASSERT_EQ(BglLoader(from_disk, dir / "nav.bgl", FsVersion::Fs2004, &reading), LoadResult::Ok);
  ASSERT_EQ(LoadBglBytes(from_memory, bytes, FsVersion::Fs2004), LoadResult::Ok);
  EXPECT_EQ(reading.status, FileStatus::Read);
  EXPECT_EQ(Counts(from_disk), fab::CountFs2004Records(OneOfEach()));
  EXPECT_EQ(Dump(from_disk), Dump(from_memory));
}

// Terrain, land class, object library and exclusion files hold nothing the
// run reads: of each, only the head that holds its header and section table
// is read, however large the file.
TEST(BglFile, AFileOfPassedOverSectionsIsReadNoFurtherThanItsHead) {
  struct Case {
    FsVersion fs_version;
    fab::PassedOverKind kind;
    fab::Bytes (*head)(const fab::PassedOverFile&);
  };
  const Case cases[] = {
      {FsVersion::Fs2004, fab::PassedOverKind::Elevation, fab::Fs2004PassedOverHead},
      {FsVersion::Fs2004, fab::PassedOverKind::Vector, fab::Fs2004PassedOverHead},
      {FsVersion::Fs2004, fab::PassedOverKind::Exclusion, fab::Fs2004PassedOverHead},
      {FsVersion::Fs2002, fab::PassedOverKind::Elevation, fab::Fs2002PassedOverHead},
      {FsVersion::Fs2002, fab::PassedOverKind::ObjectLibrary, fab::Fs2002PassedOverHead},
  };
  testing::TempDir dir;
  const fab::Bytes pattern = fab::PayloadPattern(1);
  for (const Case& c : cases) {
    const fab::PassedOverFile planned{"TERRAIN.BGL", c.kind, 3 * 1024 * 1024 + 5, 77};
    fab::WritePassedOverFile(dir / planned.name, planned, c.head(planned), pattern);
    std::error_code error;
    const std::unique_ptr<BglFile> file = BglFile::Open(dir / planned.name, error);
    ASSERT_TRUE(file) << error.message();
    NavDatabase db;
    FileReading reading;
    ASSERT_EQ(LoadBgl(db, *file, c.fs_version, &reading), LoadResult::Ok);
    EXPECT_TRUE(db.Empty());
    EXPECT_EQ(reading.status, FileStatus::Read);
    EXPECT_EQ(file->BroughtIn(), kBglHeadSize)
        << ToNumber(c.fs_version) << ' ' << static_cast<int>(c.kind);
  }
}

TEST(BglFile, AFileThatChangesSizeWhileReadIsReadAsOpened) {
  const fab::Bytes bytes = FileWithSkippedSections();
  const std::string text(bytes.begin(), bytes.end());
  testing::TempDir dir;
  testing::WriteFile(dir / "grows.bgl", text);
  testing::WriteFile(dir / "shrinks.bgl", text);

  std::error_code error;
  const std::unique_ptr<BglFile> grows = BglFile::Open(dir / "grows.bgl", error);
  const std::unique_ptr<BglFile> shrinks = BglFile::Open(dir / "shrinks.bgl", error);
  ASSERT_TRUE(grows && shrinks);
  testing::WriteFile(dir / "grows.bgl", text + text);
  std::filesystem::resize_file(dir / "shrinks.bgl", 100 * 1024);

  NavDatabase grown;
  ASSERT_EQ(LoadBgl(grown, *grows, FsVersion::Fs2004), LoadResult::Ok);
  EXPECT_FALSE(grows->Incomplete());
  EXPECT_EQ(Counts(grown), fab::CountFs2004Records(OneOfEach()));
  NavDatabase shrunk;  // the records lay behind the cut: they read as zeros
  ASSERT_EQ(LoadBgl(shrunk, *shrinks, FsVersion::Fs2004), LoadResult::Ok);
  EXPECT_TRUE(shrinks->Incomplete());
  EXPECT_TRUE(shrunk.Empty());
}

// Files one after another share a buffer: where a later file turns out
// shorter than when it was opened, its missing bytes read as zero, never as
// the bytes an earlier file left there.
TEST(BglFile, BytesOfAnEarlierFileNeverShowInALaterOne) {
  testing::TempDir dir;
  constexpr std::size_t kSize = 300 * 1024;
  testing::WriteFile(dir / "full.bgl", std::string(kSize, '\xAB'));
  testing::WriteFile(dir / "later.bgl", std::string(kSize + 4096, '\xCD'));
  for (const char* name : {"full.bgl", "later.bgl", "full.bgl"}) {
    std::error_code error;
    const std::unique_ptr<BglFile> file = BglFile::Open(dir / name, error);
    ASSERT_TRUE(file);
    const std::uint8_t fill = file->Size() == kSize ? 0xAB : 0xCD;
    std::filesystem::resize_file(dir / name, kSize / 2);
    const ByteCursor bytes = file->Bring(0, file->Size());
    EXPECT_EQ(bytes.U8(kSize / 2 - 1), fill) << name;
    for (const std::size_t offset : {kSize / 2, kSize - 1}) {
      EXPECT_EQ(bytes.U8(offset), 0) << name << " at " << offset;
    }
    EXPECT_TRUE(file->Incomplete());
    testing::WriteFile(dir / name, std::string(file->Size(), static_cast<char>(fill)));
  }
}

TEST(BglLoader, UnreadableFilesAreSkippedAndNamed) {
  testing::TempDir dir;
  std::filesystem::create_directory(dir / "folder.bgl");
#ifdef _WIN32  // symbolic links need a privilege on Windows
  const std::vector<const char*> names{"missing.bgl", "folder.bgl"};
#else
  std::filesystem::create_symlink(dir / "gone.bgl", dir / "dangling.bgl");
  const std::vector<const char*> names{"missing.bgl", "folder.bgl", "dangling.bgl"};
#endif
  NavDatabase db;
  for (const char* name : names) {
    FileReading reading;
    EXPECT_EQ(BglLoader(db, dir / name, FsVersion::Fs2004, &reading), LoadResult::Ok);
    EXPECT_EQ(reading.status, FileStatus::Unreadable) << name;
  }
  EXPECT_EQ(BglLoader(db, dir / "missing.bgl", FsVersion::Fs2004), LoadResult::Ok);  // no report
  EXPECT_TRUE(db.Empty());
}

// Only a file's own faults pass it over: an error of the process or the
// device reaches the run, which has then not read what it was to read.
TEST(BglLoader, FailuresOfTheProcessOrDeviceReachTheRun) {
  testing::TempDir dir;
  const fab::Bytes bytes = fab::BuildFs2004File(fab::MakeFs2004File(OneOfEach()));
  testing::WriteFile(dir / "nav.bgl", std::string(bytes.begin(), bytes.end()));
  const std::pair<std::errc, bool> rows[] = {
      {std::errc::too_many_files_open, true},
      {std::errc::too_many_files_open_in_system, true},
      {std::errc::not_enough_memory, true},
      {std::errc::io_error, true},
      {std::errc::no_such_file_or_directory, false},
      {std::errc::permission_denied, false},
  };
  for (const auto& [errc, of_the_system] : rows) {
    const std::error_code error = std::make_error_code(errc);
    platform::FaultScope faults;
    faults.Inject(platform::FaultSite::OpenInput, error);
    NavDatabase db;
    FileReading reading;
    EXPECT_EQ(BglLoader(db, dir / "nav.bgl", FsVersion::Fs2004, &reading), LoadResult::Ok);
    EXPECT_EQ(reading.status, FileStatus::Unreadable) << error.message();
    EXPECT_EQ(reading.system_failure, of_the_system ? error : std::error_code()) << error.message();
    EXPECT_TRUE(db.Empty());
  }
}

TEST(BglLoader, UnknownVersionsReadNothing) {
  const fab::Bytes bytes = fab::BuildFs2004File(fab::MakeFs2004File(OneOfEach()));
  for (const std::int16_t number : {0, 7, 10}) {
    const FsVersion version = FsVersionFromNumber(number);
    NavDatabase db;
    EXPECT_EQ(LoadBglBytes(db, bytes, version), LoadResult::Ok) << number;
    EXPECT_TRUE(db.Empty()) << number;
  }
  NavDatabase as_fs2002;  // the FS2002 layout words of an FS2004 file are 0
  EXPECT_EQ(LoadBglBytes(as_fs2002, bytes, FsVersion::Fs2002), LoadResult::Ok);
  EXPECT_TRUE(as_fs2002.Empty());
}

fab::Bytes AirportBytes(const char* ident) {
  fab::Airport airport;
  airport.ident = ident;
  return fab::Serialize(fab::EncodeAirport(airport));
}

fab::Fs2004File FileOf(std::vector<fab::Fs2004Section> sections) {
  fab::Fs2004File file;
  file.sections = std::move(sections);
  return file;
}

std::vector<std::string> AirportIdents(const NavDatabase& db) {
  std::vector<std::string> idents;
  for (const AirportRecord& airport : db.Airports) idents.emplace_back(TextOf(airport.Ident));
  return idents;
}

TEST(BglLoader, SectionDispatchAndTables) {
  using Idents = std::vector<std::string>;
  struct Case {
    const char* what;
    fab::Fs2004File file;
    Idents idents;
  };
  const auto section = [](std::uint32_t type, std::vector<const char*> idents) {
    std::vector<fab::Bytes> records;
    for (const char* ident : idents) records.push_back(AirportBytes(ident));
    return fab::MakeFs2004Section(type, std::move(records));
  };
  fab::Fs2004File plain = FileOf({section(3, {"AAAA", "BBBB"})});
  fab::Fs2004File wrong_magic = plain;
  wrong_magic.magic = 0x1993;
  fab::Fs2004File no_sections = plain;
  no_sections.section_count = 0;
  fab::Fs2004File table_outside = plain;
  table_outside.section_table_offset = 0xFFFFFFF0;
  fab::Fs2004File more_sections_than_written = plain;
  more_sections_than_written.section_count = 0xFFFFFFFF;
  fab::Fs2004File skipped_types =
      FileOf({section(35, {"XXXX"}), section(39, {"YYYY"}), section(3, {"AAAA"})});
  fab::Fs2004File empty_subsection = FileOf({section(3, {"AAAA"}), section(3, {"BBBB"})});
  empty_subsection.sections[0].subsections[0].record_count = 0;
  empty_subsection.sections[0].subsections[0].data_offset = 0xFFFFFFF0;
  fab::Fs2004File subsection_table_outside = FileOf({section(3, {"AAAA"}), section(3, {"BBBB"})});
  subsection_table_outside.sections[0].subsection_table_offset = 0x7FFFFFFF;
  fab::Fs2004File many_subsections = FileOf({section(3, {"AAAA"})});
  many_subsections.sections[0].subsection_count = 0xFFFFFFFF;
  fab::Fs2004File records_beyond_the_file = FileOf({section(3, {"AAAA", "BBBB"})});
  records_beyond_the_file.sections[0].subsections[0].record_count = 1000;
  fab::Fs2004File data_outside = FileOf({section(3, {"AAAA"}), section(3, {"BBBB"})});
  data_outside.sections[0].subsections[0].data_offset = 0xFFFFFFFA;
  fab::Fs2004File truncated = FileOf({section(3, {"AAAA", "BBBB"})});
  truncated.length = fab::BuildFs2004File(truncated).size() - 1;
  fab::Fs2004File too_short = plain;
  too_short.length = 23;

  const Case cases[] = {
      {"plain", plain, {"AAAA", "BBBB"}},
      {"magic word not 0x1992", wrong_magic, {}},
      {"no sections", no_sections, {}},
      {"section table outside the file", table_outside, {}},
      {"section table beyond the file", more_sections_than_written, {}},
      {"types 35 and 39 are skipped", skipped_types, {"AAAA"}},
      {"subsection without records", empty_subsection, {"BBBB"}},
      {"subsection table outside the file", subsection_table_outside, {"BBBB"}},
      {"subsection table beyond the file", many_subsections, {}},
      {"record count beyond the file", records_beyond_the_file, {"AAAA", "BBBB"}},
      {"records outside the file", data_outside, {"BBBB"}},
      {"last record cut short", truncated, {"AAAA"}},
      {"shorter than the header", too_short, {}},
  };
  for (const Case& c : cases) {
    NavDatabase db;
    EXPECT_EQ(LoadBglBytes(db, fab::BuildFs2004File(c.file), FsVersion::Fs2004), LoadResult::Ok)
        << c.what;
    EXPECT_EQ(AirportIdents(db), c.idents) << c.what;
  }
}

TEST(BglLoader, ASizeBelowTheHeaderEndsTheSubsection) {
  for (std::uint32_t size : {0u, 5u}) {
    fab::Fs2004Record bad = fab::EncodeAirport({});
    bad.size = size;
    NavDatabase db;
    ASSERT_EQ(testing::LoadRecords(
                  db, 3, {AirportBytes("AAAA"), fab::Serialize(bad), AirportBytes("CCCC")}),
              LoadResult::Ok);
    EXPECT_EQ(AirportIdents(db), std::vector<std::string>{"AAAA"}) << size;
  }
}

TEST(BglLoader, BoundaryPointersOutsideTheFileAreSkipped) {
  fab::Boundary boundary;
  boundary.corner_a = {10, 20};
  boundary.corner_b = {9, 21};
  const fab::Bytes record = fab::Serialize(fab::EncodeBoundary(boundary));
  fab::Fs2004File file =
      FileOf({fab::MakeFs2004Section(fab::kFs2004Boundaries, {record, record, record})});
  fab::Bytes bytes = fab::BuildFs2004File(file);
  // The pointer list follows the section's one subsection entry.
  const std::size_t list =
      fab::kFs2004HeaderSize + fab::kFs2004SectionEntrySize + fab::kFs2004SubsectionEntrySize;
  fab::PutU32(bytes, list + fab::kFs2004PointerEntrySize, 0xFFFFFFF0);
  NavDatabase db;
  ASSERT_EQ(LoadBglBytes(db, bytes, FsVersion::Fs2004), LoadResult::Ok);
  EXPECT_EQ(db.Airspaces.size(), 2u);

  file.sections[0].subsections[0].data_offset = 2;  // starts at the third pointer
  NavDatabase from_third;
  ASSERT_EQ(LoadBglBytes(from_third, fab::BuildFs2004File(file), FsVersion::Fs2004),
            LoadResult::Ok);
  EXPECT_EQ(from_third.Airspaces.size(), 1u);
}

TEST(BglLoader, TablesThatPointIntoEachOtherEndTheWalk) {
  // Thousands of subsections naming the same records: a well-formed file
  // never visits more record bytes than it holds, so the walk stops there.
  fab::Fs2004File file = FileOf({fab::MakeFs2004Section(fab::kFs2004VorIls, {})});
  fab::Vor vor;
  vor.ident = "ABC";
  const fab::Bytes record = fab::Serialize(fab::EncodeVor(vor));
  file.sections[0].subsections.assign(5000,
                                      fab::Fs2004Subsection{{record}, 0xFFFFFFFF, std::nullopt});
  fab::Bytes bytes = fab::BuildFs2004File(file);
  const std::size_t first_record = bytes.size() - 5000 * record.size();
  for (std::size_t j = 0; j < 5000; ++j) {
    const std::size_t entry = fab::kFs2004HeaderSize + fab::kFs2004SectionEntrySize + j * 16;
    fab::PutU32(bytes, entry + 8, static_cast<std::uint32_t>(first_record));
  }
  NavDatabase db;
  ASSERT_EQ(LoadBglBytes(db, bytes, FsVersion::Fs2004), LoadResult::Ok);
  EXPECT_LE(db.Vors.size() * record.size(), bytes.size());
  EXPECT_GE(db.Vors.size(), 5000u);
}

TEST(BglLoader, RunningOutOfMemoryIsResultOne) {
  const fab::Bytes bytes = fab::BuildFs2004File(fab::MakeFs2004File(OneOfEach()));
  platform::FaultScope faults;
  unsigned budget = 0;
  for (;; ++budget) {
    NavDatabase db;
    faults.LimitAllocations(platform::FaultSite::DatabaseAllocation, budget);
    const LoadResult result = LoadBglBytes(db, bytes, FsVersion::Fs2004);
    if (result == LoadResult::Ok) break;
    ASSERT_EQ(result, LoadResult::OutOfMemory) << budget;
    ASSERT_LT(budget, 200u);
  }
  EXPECT_GT(budget, 20u);  // every kind of record asked for memory
  NavDatabase db;
  faults.LimitAllocations(platform::FaultSite::DatabaseAllocation, budget);
  ASSERT_EQ(LoadBglBytes(db, bytes, FsVersion::Fs2004), LoadResult::Ok);
  EXPECT_EQ(Counts(db), fab::CountFs2004Records(OneOfEach()));
}

// --- Real files ------------------------------------------------------------

struct XmlWaypoint {
  std::string key;
  double latitude;
  double longitude;
};

std::string Attribute(const std::string& xml, std::size_t from, const std::string& name) {
  const std::size_t start = xml.find(name + "=\"", from) + name.size() + 2;
  return xml.substr(start, xml.find('"', start) - start);
}

std::vector<XmlWaypoint> ReadXmlWaypoints(const std::filesystem::path& folder) {
  std::vector<XmlWaypoint> waypoints;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string xml = testing::ReadFile(entry.path());
    for (std::size_t at = xml.find("<Waypoint"); at != std::string::npos;
         at = xml.find("<Waypoint", at + 1)) {
      waypoints.push_back(
          {Attribute(xml, at, "waypointRegion") + Attribute(xml, at, "waypointIdent"),
           std::stod(Attribute(xml, at, "lat")), std::stod(Attribute(xml, at, "lon"))});
    }
  }
  return waypoints;
}

TEST(BglLoaderRealFiles, CompiledWaypointsMatchTheirSource) {
  const std::filesystem::path root = testing::RealDataDir();
  if (root.empty()) GTEST_SKIP() << testing::RealDataAbsent();
  const std::filesystem::path folder = root / "lkaa-vfr-waypoints";
  NavDatabase db;
  for (const auto& entry : std::filesystem::directory_iterator(folder / "scenery")) {
    FileReading reading;
    ASSERT_EQ(BglLoader(db, entry.path(), FsVersion::Fs2004, &reading), LoadResult::Ok)
        << entry.path();
    EXPECT_EQ(reading.status, FileStatus::Read) << entry.path();
  }
  const std::vector<XmlWaypoint> expected = ReadXmlWaypoints(folder / "src");
  ASSERT_EQ(expected.size(), 64u);
  ASSERT_EQ(db.Fixes.size(), 64u);
  for (const XmlWaypoint& waypoint : expected) {
    const FixRecord* fix = db.FindFix(waypoint.key);
    ASSERT_NE(fix, nullptr) << waypoint.key;
    EXPECT_NEAR(fix->Latitude * 90.0 / 10001750.0, waypoint.latitude, 1e-5) << waypoint.key;
    EXPECT_NEAR(fix->Longitude * 360.0 / 4294967296.0, waypoint.longitude, 1e-5) << waypoint.key;
  }
  EXPECT_TRUE(db.VictorAirways.empty());
  EXPECT_TRUE(db.Airports.empty());
}

// Foreign files are read without harm and reported as not the simulator's
// format, or as of a later generation when FS2004 reads one of those; an
// older-generation file is an ordinary FS2002 file that holds no navigation
// data.
TEST(BglLoaderRealFiles, ForeignFormatsDoNoHarmAndAreNamed) {
  const std::filesystem::path root = testing::RealDataDir();
  if (root.empty()) GTEST_SKIP() << testing::RealDataAbsent();
  struct Row {
    const char* file;
    FsVersion version;
    FileStatus status;
  };
  const Row rows[] = {
      {"later-format-airport.bgl", FsVersion::Fs2004, FileStatus::LaterFormat},
      {"later-format-airport.bgl", FsVersion::Fs2002, FileStatus::NotBgl},
      {"old-format-object-library.bgl", FsVersion::Fs2004, FileStatus::NotBgl},
      {"old-format-object-library.bgl", FsVersion::Fs2002, FileStatus::Read},
  };
  for (const Row& row : rows) {
    NavDatabase db;
    FileReading reading;
    EXPECT_EQ(BglLoader(db, root / "foreign" / row.file, row.version, &reading), LoadResult::Ok);
    EXPECT_EQ(reading.status, row.status) << row.file << " as " << ToNumber(row.version);
  }
}

}  // namespace
}  // namespace tarnvale
