// FS2002 scenery written by the scenery builder and read back through the
// loader, as a creation run reads it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "scenery/bgl_loader.h"
#include "scenery/fs2002_test_helpers.h"
#include "scenery/fs2004_test_support.h"
#include "sceneryfab/fs2002_format.h"
#include "support/temp_dir.h"

namespace tarnvale {
namespace {

// Writes the sample content and loads every file, in name order.
void LoadSample(const testing::TempDir& dir, NavDatabase& db, FsVersion fs_version) {
  const fab::WrittenFiles written =
      fab::Fs2002Format().write_content(testing::SampleFs2002Content(), dir.Path(), "01");
  ASSERT_EQ(written.files, 3u);
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  for (const auto& file : files) ASSERT_EQ(BglLoader(db, file, fs_version), LoadResult::Ok) << file;
}

TEST(Fs2002Loader, TheLoaderReadsEveryLayoutTheBuilderWrites) {
  testing::TempDir dir;
  NavDatabase db;
  LoadSample(dir, db, FsVersion::Fs2002);
  EXPECT_EQ(testing::Counts(db), fab::CountFs2002Records(testing::SampleFs2002Content()));

  ASSERT_EQ(db.Airports.size(), 2u);
  const AirportRecord& sea = db.Airports[0];
  EXPECT_EQ(TextOf(sea.Ident), "KSEA");
  EXPECT_EQ(sea.Name, std::string("Seattle Tacoma Intl", 20));
  EXPECT_EQ(sea.GroundFrequency, 121900000);
  EXPECT_EQ(sea.TowerFrequency, 119900000);
  EXPECT_EQ(sea.AltitudeFeet, 433);
  ASSERT_EQ(sea.Runways.size(), 3u);
  EXPECT_EQ(TextOf(sea.Runways[0].PrimaryDesignation), "16L");
  EXPECT_EQ(TextOf(sea.Runways[0].SecondaryDesignation), "34R");
  EXPECT_EQ(TextOf(sea.Runways[0].PrimaryIlsIdent), "ISNQ");
  EXPECT_EQ(TextOf(sea.Runways[0].SecondaryIlsIdent), "IBEJ");
  EXPECT_EQ(sea.Runways[0].Heading, 180);
  EXPECT_EQ(sea.Runways[0].LengthFeet, 11900);
  EXPECT_EQ(sea.Runways[2].IsHelipad, 1);
  EXPECT_EQ(sea.Parkings[0].Number, 12);
  EXPECT_EQ(sea.FileSize, AirportFileSize(sea));

  ASSERT_EQ(db.Vors.size(), 1u);
  EXPECT_EQ(db.Vors[0].Frequency, 116800000);
  EXPECT_EQ(db.Vors[0].RangeNm, 60);
  EXPECT_EQ(db.Ilss[1].Frequency, 110300000);
  EXPECT_EQ(db.Ndbs[0].Frequency, 335400);
  EXPECT_EQ(db.Ndbs[0].RangeNm, 50);
  ASSERT_NE(db.FindFix("BRAVO"), nullptr);
  EXPECT_EQ(db.VictorAirways[0].Points[1].AltitudeFeet, 10000);
}

TEST(Fs2002Loader, Fs2002FilesAreIgnoredAsFs2004Scenery) {
  testing::TempDir dir;
  NavDatabase db;
  LoadSample(dir, db, FsVersion::Fs2004);
  EXPECT_TRUE(db.Empty());
}

TEST(Fs2002Loader, TheVorLayoutWinsWhenTheNdbWordIsSetToo) {
  fab::Bytes bytes =
      fab::BuildFs2002VorFile(fab::MakeFs2002VorFile(testing::SampleFs2002Content().vors, {}));
  fab::PutU32(bytes, 78, 128);
  NavDatabase db;
  ASSERT_EQ(LoadBglBytes(db, bytes, FsVersion::Fs2002), LoadResult::Ok);
  EXPECT_EQ(db.Vors.size(), 1u);
  EXPECT_TRUE(db.Ndbs.empty());
}

TEST(Fs2002Loader, SkippedFilesAddNothing) {
  for (std::size_t size : {0u, 100u, 4096u}) {
    NavDatabase db;
    ASSERT_EQ(LoadBglBytes(db, fab::MakeFs2002SkippedFile(size, size + 1), FsVersion::Fs2002),
              LoadResult::Ok);
    EXPECT_TRUE(db.Empty()) << size;
  }
}

}  // namespace
}  // namespace tarnvale
