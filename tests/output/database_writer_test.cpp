// Tests of writing the database files: byte for byte per program and simulator, sizes, cancel,
// failing files, and a missing magdec.bgl.

#include "output/database_writer.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>

#include "output/database_reader.h"
#include "output/recording_view.h"
#include "output/sample_database.h"
#include "support/temp_dir.h"

namespace tarnvale {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::RecordingView;
using testing::TempDir;
using testing::WriteFile;

constexpr std::string_view kMagdecBytes{"magnetic declination\0\x01\xFF", 23};

std::set<std::string> FilesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

class WriterTest : public ::testing::Test {
 protected:
  WriterTest() {
    // The simulator's own letter case differs from the names the writer asks for.
    WriteFile(simulator / "SCENERY" / "MAGDEC.BGL", kMagdecBytes);
    WriteFile(simulator / "SCENERY" / "base" / "scenery" / "MagDec.bgl", kMagdecBytes);
  }

  WriteResult Write(TargetProgram program, FsVersion fs_version) {
    return Write(program, fs_version, target.Path());
  }
  WriteResult Write(TargetProgram program, FsVersion fs_version, const fs::path& folder) {
    OutputSettings settings{program, fs_version, simulator.Path().string(), folder, folder};
    settings.Threads = threads;
    return WriteDatabaseFiles(db, view, settings, cancel);
  }

  // Writes into the target folder and expects success.
  void WriteAll(TargetProgram program, FsVersion fs_version) {
    const WriteResult result = Write(program, fs_version);
    EXPECT_EQ(result.status, WriteResult::Status::Written) << result.failure;
  }

  DatabaseFileContents ReadBack(std::string_view name) { return ReadDatabaseFile(target / name); }

  TempDir simulator;
  TempDir target;
  NavDatabase db;
  RecordingView view;
  CancelFlag cancel{false};
  unsigned threads = 1;
};

TEST_F(WriterTest, WritesTheFilesOfEachProgramAndSimulatorByteForByte) {
  struct Case {
    TargetProgram program;
    FsVersion fs_version;
    std::set<std::string> files;
  };
  const Case cases[] = {
      {TargetProgram::Chart, FsVersion::Fs2002, {"world_airports.dat", "magdec.bgl"}},
      {TargetProgram::Chart,
       FsVersion::Fs2004,
       {"world_airports.dat", "world_fuel_areas.dat", "magdec.bgl"}},
      {TargetProgram::Radar,
       FsVersion::Fs2002,
       {"world_airports.dat", "world_navaids.dat", "world_markers.dat", "magdec.bgl",
        "world_fixpoints.dat", "world_airways_v.dat", "world_airways_j.dat"}},
      {TargetProgram::Radar,
       FsVersion::Fs2004,
       {"world_airports.dat", "world_fuel_areas.dat", "additional_airspaces.dat",
        "world_navaids.dat", "world_markers.dat", "magdec.bgl", "world_fixpoints.dat",
        "world_airways_v.dat", "world_airways_j.dat"}},
  };
  const std::map<std::string, std::string> expected = testing::SampleDatabaseFiles();
  for (const Case& c : cases) {
    SCOPED_TRACE("program " + std::to_string(ToNumber(c.program)) + ", FS version " +
                 std::to_string(ToNumber(c.fs_version)));
    const TempDir folder;
    db.Release();
    testing::FillSampleDatabase(db);
    const WriteResult result = Write(c.program, c.fs_version, folder.Path());
    ASSERT_EQ(result.status, WriteResult::Status::Written) << result.failure;
    EXPECT_EQ(FilesIn(folder.Path()), c.files);
    for (const std::string& name : c.files) {
      const std::string wanted =
          name == "magdec.bgl" ? std::string(kMagdecBytes) : expected.at(name);
      EXPECT_EQ(ReadFile(folder / name), wanted) << name;
    }
  }
}

TEST_F(WriterTest, SetsTheAirspaceFieldsInTheDatabaseWhileWriting) {
  testing::FillSampleDatabase(db);
  WriteAll(TargetProgram::Radar, FsVersion::Fs2004);
  const AirspaceRecord& four_vertices = db.Airspaces[0];
  EXPECT_EQ(four_vertices.NextOffset, 114);  // 57 + a 5-byte name + 4 x 13
  EXPECT_EQ(four_vertices.PartCount, 1);
  EXPECT_EQ(four_vertices.FirstVertexIndex, 0);
  EXPECT_EQ(four_vertices.LastVertexIndex, 3);
  const AirspaceRecord& no_vertex = db.Airspaces[1];
  EXPECT_EQ(no_vertex.NextOffset, 114 + 58);
  EXPECT_EQ(no_vertex.PartCount, 1);
  EXPECT_EQ(no_vertex.FirstVertexIndex, 0);
  EXPECT_EQ(no_vertex.LastVertexIndex, 0);
  const DatabaseFileContents airspaces = ReadBack("additional_airspaces.dat");
  ASSERT_EQ(airspaces.records.size(), 2u);
  EXPECT_EQ(airspaces.records[1].offset, 114u);
}

TEST_F(WriterTest, FileSizesAddUpToTheFileLengths) {
  testing::FillSampleDatabase(db);
  const NavaidRecord ndb = db.Ndbs[0];
  for (int i = 0; i < 3; ++i) db.AppendNdb() = ndb;
  WriteAll(TargetProgram::Radar, FsVersion::Fs2004);
  for (const std::string_view name :
       {"world_airports.dat", "world_navaids.dat", "world_airways_v.dat", "world_airways_j.dat"}) {
    const DatabaseFileContents contents = ReadBack(name);
    ASSERT_FALSE(contents.failure) << name << ": " << DescribeFailure(*contents.failure);
    std::uintmax_t sum = 0;
    for (const ParsedRecord& parsed : contents.records) {
      sum += std::visit(
          [](const auto& record) -> std::uintmax_t {
            if constexpr (requires { record.FileSize; }) return record.FileSize;
            return 0;  // airspaces carry no FileSize
          },
          parsed.record);
    }
    EXPECT_EQ(sum, fs::file_size(target / name)) << name;
  }
}

TEST_F(WriterTest, NavaidsFileHoldsTheVorsFirstAndNdbsAlone) {
  for (int i = 0; i < 3; ++i) db.AppendNdb().FileSize = 26;
  WriteAll(TargetProgram::Radar, FsVersion::Fs2002);
  const DatabaseFileContents ndbs_only = ReadBack("world_navaids.dat");
  ASSERT_EQ(ndbs_only.records.size(), 3u);
  for (const ParsedRecord& parsed : ndbs_only.records) {
    EXPECT_EQ(std::get<NavaidRecord>(parsed.record).Kind, 5);
  }

  db.AppendVor().FileSize = 26;
  fs::remove(target / "world_navaids.dat");
  WriteAll(TargetProgram::Radar, FsVersion::Fs2002);
  const DatabaseFileContents both = ReadBack("world_navaids.dat");
  ASSERT_EQ(both.records.size(), 4u);
  EXPECT_EQ(std::get<NavaidRecord>(both.records[0].record).Kind, 4);
}

TEST_F(WriterTest, AnEmptyDatabaseGivesOnlyTheMagdecCopy) {
  WriteAll(TargetProgram::Radar, FsVersion::Fs2004);
  EXPECT_EQ(FilesIn(target.Path()), std::set<std::string>{"magdec.bgl"});
  EXPECT_EQ(view.calls, (std::vector<std::string>{"range 0 " + std::to_string(kWritingProgressHigh),
                                                  "position 0"}));
}

TEST_F(WriterTest, ReplacesAFileLeftFromBefore) {
  WriteFile(target / "world_markers.dat", "stale bytes");
  testing::FillSampleDatabase(db);
  WriteAll(TargetProgram::Radar, FsVersion::Fs2004);
  EXPECT_EQ(ReadFile(target / "world_markers.dat"),
            testing::SampleDatabaseFiles().at("world_markers.dat"));
}

TEST_F(WriterTest, CancelledBeforeTheFirstFileWritesNothing) {
  testing::FillSampleDatabase(db);
  cancel = true;
  EXPECT_EQ(Write(TargetProgram::Radar, FsVersion::Fs2004).status, WriteResult::Status::Cancelled);
  EXPECT_TRUE(FilesIn(target.Path()).empty());
}

#ifndef _WIN32  // a FIFO in the file system: Windows pipes have names of their own
TEST_F(WriterTest, CancelDuringAFileStopsBeforeTheNextFile) {
  testing::FillSampleDatabase(db);
  // Enough airports that the file cannot fit in a pipe's buffer.
  for (int i = 0; i < 4000; ++i) db.AppendAirport().FileSize = 55;
  TempDir reference;
  ASSERT_EQ(Write(TargetProgram::Chart, FsVersion::Fs2004, reference.Path()).status,
            WriteResult::Status::Written);
  // The airports file is a pipe. The reader's open returns once the writer
  // has opened it; the cancel request follows, and the writer, blocked on
  // the full pipe, can only finish the file after it.
  const fs::path pipe = target / "world_airports.dat";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  std::string piped;
  std::thread reader([&] {
    std::ifstream in(pipe, std::ios::binary);
    cancel = true;
    piped.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  });
  const WriteResult result = Write(TargetProgram::Chart, FsVersion::Fs2004);
  reader.join();
  EXPECT_EQ(result.status, WriteResult::Status::Cancelled);
  EXPECT_EQ(piped, ReadFile(reference / "world_airports.dat"));
  EXPECT_EQ(FilesIn(target.Path()), std::set<std::string>{"world_airports.dat"});
}
#endif

TEST_F(WriterTest, AFileThatCannotBeWrittenFailsByNameAndTheOthersAreStillWritten) {
  testing::FillSampleDatabase(db);
  WriteFile(target / "world_airports.dat" / "in the way", "");
  const WriteResult result = Write(TargetProgram::Chart, FsVersion::Fs2004);
  EXPECT_EQ(result.status, WriteResult::Status::Failed);
  EXPECT_NE(result.failure.find("world_airports.dat"), std::string::npos) << result.failure;
  EXPECT_EQ(result.failure.find('\n'), std::string::npos) << "only one file failed";
  EXPECT_TRUE(fs::is_regular_file(target / "world_fuel_areas.dat"));
  EXPECT_TRUE(fs::is_regular_file(target / "magdec.bgl"));
}

TEST_F(WriterTest, FilesWrittenOnSeveralThreadsFailInFileOrder) {
  testing::FillSampleDatabase(db);
  threads = 3;
  const char* blocked[] = {"world_airports.dat", "world_markers.dat", "world_airways_j.dat"};
  for (const char* name : blocked) WriteFile(target / name / "in the way", "");
  const WriteResult result = Write(TargetProgram::Radar, FsVersion::Fs2004);
  EXPECT_EQ(result.status, WriteResult::Status::Failed);
  std::size_t line = 0;
  for (const char* name : blocked) {
    const std::size_t end = result.failure.find('\n', line);
    EXPECT_NE(result.failure.substr(line, end - line).find(name), std::string::npos)
        << result.failure;
    line = end + 1;
  }
  EXPECT_EQ(FilesIn(target.Path()).size(), 9u);  // five files, magdec.bgl, three in the way
}

// A simulator without magdec.bgl (or with one that is no file) is an input
// problem: the set is written, and the old copy is to stay.
TEST_F(WriterTest, AMissingMagdecSourceKeepsTheOldCopyWithAWarning) {
  testing::FillSampleDatabase(db);
  const OutputSettings settings{TargetProgram::Radar, FsVersion::Fs2004,
                                (simulator / "nowhere").string(), target.Path(), target.Path()};
  const WriteResult result = WriteDatabaseFiles(db, view, settings, cancel);
  EXPECT_EQ(result.status, WriteResult::Status::Written) << result.failure;
  EXPECT_EQ(result.kept_old, std::vector<std::string>{"magdec.bgl"});
  ASSERT_EQ(result.warnings.size(), 1u);
  EXPECT_NE(result.warnings[0].find("nowhere"), std::string::npos) << result.warnings[0];
  EXPECT_FALSE(fs::exists(target / "magdec.bgl"));
  EXPECT_TRUE(fs::is_regular_file(target / "world_airways_j.dat"));
}

}  // namespace
}  // namespace tarnvale
