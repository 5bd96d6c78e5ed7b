// A hand-built database with every kind of record, and the bytes each of its files must hold,
// spelled out by hand.

#include "output/sample_database.h"

#include "output/le_bytes.h"

namespace tarnvale::testing {

namespace {

void FillAirports(NavDatabase& db) {
  AirportRecord& field = db.AppendAirport();
  field.HasTowerOrGround = 1;
  field.NameLength = 10;
  field.Name = std::string("Testfield", 10);
  SetText(field.Ident, "KTST");
  field.Latitude = 4'000'000;
  field.Longitude = -150'000'000;
  field.AltitudeFeet = 433;
  field.GroundFrequency = 121'900'000;
  field.TowerFrequency = 118'300'000;
  RunwayRecord& runway = *db.AppendRunway();
  runway = {4'000'100, -150'000'200, 433,  4'001'000, -150'000'300, 3'999'000, -149'999'900, 0, 0,
            164,       344,          9426, 150,       110'300'000,  0};
  SetText(runway.PrimaryIlsIdent, "ISEA");
  SetText(runway.PrimaryDesignation, "16L");
  SetText(runway.SecondaryDesignation, "34R");
  // `field` is the current airport, so its sub-arrays are always allocated.
  static_cast<void>(db.AllocateTaxiwayPoints(1));
  field.TaxiwayPoints[0] = {2, 4'000'500, -150'000'600};
  static_cast<void>(db.AllocateTaxiwayPaths(1));
  field.TaxiwayPaths[0] = {3, 0, 1, 0};
  static_cast<void>(db.AllocateParkings(1));
  field.Parkings[0] = {4, -7, 12, 4'000'700, -150'000'800, 82};
  static_cast<void>(db.AllocateTaxiNames(1));
  SetText(field.TaxiNames[0].Name, "ALPHABRA", 8);
  field.FileSize = AirportFileSize(field);  // 186

  AirportRecord& bare = db.AppendAirport();
  SetText(bare.Ident, "X1");
  bare.Latitude = -1;
  bare.Longitude = 1;
  bare.FileSize = AirportFileSize(bare);  // 55
}

void FillAirspaces(NavDatabase& db) {
  AirspaceRecord& alpha = db.AppendAirspace();
  alpha.AirspaceClass = 12;
  alpha.CentreLatitude = 5'000'000;
  alpha.CentreLongitude = 6'000'000;
  alpha.CornerALatitude = 5'100'000;
  alpha.CornerBLatitude = 4'900'000;
  alpha.CornerALongitude = 5'900'000;
  alpha.CornerBLongitude = 6'100'000;
  alpha.NameLength = 5;
  alpha.Name = std::string("ALPHA\0\0", 7);
  for (std::int32_t i = 0; i < 4; ++i) {
    *db.AppendVertex() = {static_cast<std::uint8_t>(i + 1), 5'000'000 + i, 6'000'000 - i,
                          i == 3 ? 30'380 : 0};
  }
  alpha.LowerAltitudeFeet = 0;
  alpha.UpperAltitudeFeet = 18'000;

  AirspaceRecord& bravo = db.AppendAirspace();
  bravo.AirspaceClass = 26;
  bravo.NameLength = 1;
  bravo.Name = std::string("B\0\0", 3);
  bravo.LowerAltitudeFeet = -100;
  bravo.UpperAltitudeFeet = 99'999;
}

void FillNavaids(NavDatabase& db) {
  NavaidRecord& vor = db.AppendVor();
  vor.Latitude = 4'010'000;
  vor.Longitude = -149'000'000;
  vor.NameLength = 8;
  vor.Name = std::string("Seattle", 8);
  vor.FileSize = NavaidFileSize(vor);  // 34
  SetText(vor.Ident, "SEA");
  vor.Frequency = 116'800'000;
  vor.RangeNm = 44;

  NavaidRecord& ndb = db.AppendNdb();
  ndb.Latitude = -20;
  ndb.Longitude = 30;
  SetText(ndb.Ident, "AB");
  ndb.Frequency = 350'000;
  ndb.RangeNm = 25;
  ndb.FileSize = NavaidFileSize(ndb);  // 26
}

void FillNavigation(NavDatabase& db) {
  FuelAreaRecord& fuel = db.AppendFuelArea();
  fuel.FuelType = 3;
  fuel.Availability = 2;
  fuel.Latitude = -1'000;
  fuel.Longitude = 2'000;

  MarkerRecord& marker = db.AppendMarker();
  marker.MarkerType = 2;
  marker.Latitude = 3'990'000;
  marker.Longitude = -150'100'000;

  FixRecord& fix = db.AppendFix();
  fix.Latitude = 4'020'000;
  fix.Longitude = -148'000'000;
  SetText(fix.FixKey, "K2ABCDE");

  SetText(db.AppendVictorAirway().Name, "V23");
  *db.AppendAirwayPoint(db.VictorAirways) = {4'020'000, -148'000'000, 0, {}};
  SetText(db.VictorAirways[0].Points[0].FixKey, "K2ABCDE");
  *db.AppendAirwayPoint(db.VictorAirways) = {4'030'000, -147'000'000, 5'000, {}};
  SetText(db.VictorAirways[0].Points[1].FixKey, "K2FGHIJ");

  SetText(db.AppendJetAirway().Name, "J5");
  *db.AppendAirwayPoint(db.JetAirways) = {1, 2, 18'000, {}};
  SetText(db.JetAirways[0].Points[0].FixKey, "FIX12345");
}

// clang-format off
LeBytes ExpectedAirports() {
  LeBytes bytes;
  bytes.U8(1).U32(186).U8(1).U16(10).Text("Testfield", 10).Text("KTST", 6).U8(0);
  bytes.I32(4'000'000).I32(-150'000'000).I32(433).I32(121'900'000).I32(118'300'000);
  bytes.U32(1)  // runway
      .I32(4'000'100).I32(-150'000'200).I32(433)
      .I32(4'001'000).I32(-150'000'300).I32(3'999'000).I32(-149'999'900)
      .U8(0).U8(0).I16(164).I16(344).I32(9426).I32(150).I32(110'300'000).I32(0)
      .Text("ISEA", 6).Text("", 6).Text("16L", 5).Text("34R", 5);
  bytes.U32(1).U8(2).I32(4'000'500).I32(-150'000'600);             // taxiway point
  bytes.U32(1).I32(3).I32(0).I32(1).I32(0);                        // taxiway path
  bytes.U32(1).U8(4).I16(-7).U8(12).I32(4'000'700).I32(-150'000'800).I32(82);  // parking
  bytes.U32(1).Text("ALPHABRA", 8);                                // taxiway name
  bytes.U8(1).U32(55).U8(0).U16(0).Text("X1", 6).U8(0);
  bytes.I32(-1).I32(1).I32(0).I32(0).I32(0).U32(0).U32(0).U32(0).U32(0).U32(0);
  return bytes;
}

LeBytes ExpectedAirspaces() {
  LeBytes bytes;
  bytes.I32(114).U8(12).I32(5'000'000).I32(6'000'000)
      .I32(5'100'000).I32(4'900'000).I32(5'900'000).I32(6'100'000)
      .U16(5).Text("ALPHA", 5).U16(0).U16(0)
      .I16(1).U32(4).I32(0);
  for (std::int32_t i = 0; i < 4; ++i) {
    bytes.U8(static_cast<std::uint8_t>(i + 1)).I32(5'000'000 + i).I32(6'000'000 - i)
        .I32(i == 3 ? 30'380 : 0);
  }
  bytes.I32(3).I32(0).I32(18'000);
  bytes.I32(114 + 58).U8(26).I32(0).I32(0).I32(0).I32(0).I32(0).I32(0)
      .U16(1).Text("B", 1).U16(0).U16(0)
      .I16(1).U32(0).I32(0).I32(0).I32(-100).I32(99'999);
  return bytes;
}

LeBytes ExpectedNavaids() {
  LeBytes bytes;
  bytes.U8(4).U32(34).I32(4'010'000).I32(-149'000'000).U16(8).Text("Seattle", 8)
      .Text("SEA", 6).I32(116'800'000).U8(44);
  bytes.U8(5).U32(26).I32(-20).I32(30).U16(0).Text("AB", 6).I32(350'000).U8(25);
  return bytes;
}

LeBytes ExpectedVictorAirways() {
  LeBytes bytes;
  bytes.U8(8).U32(60).Text("V23", 9).U32(2);
  bytes.I32(4'020'000).I32(-148'000'000).I32(0).Text("K2ABCDE", 9);
  bytes.I32(4'030'000).I32(-147'000'000).I32(5'000).Text("K2FGHIJ", 9);
  return bytes;
}
// clang-format on

}  // namespace

void FillSampleDatabase(NavDatabase& db) {
  FillAirports(db);
  FillAirspaces(db);
  FillNavaids(db);
  FillNavigation(db);
}

// clang-format off
std::map<std::string, std::string> SampleDatabaseFiles() {
  return {
      {"world_airports.dat", ExpectedAirports().Str()},
      {"world_fuel_areas.dat", LeBytes().U8(2).U32(15).U8(3).U8(2).I32(-1'000).I32(2'000).Str()},
      {"additional_airspaces.dat", ExpectedAirspaces().Str()},
      {"world_navaids.dat", ExpectedNavaids().Str()},
      {"world_markers.dat",
       LeBytes().U8(3).U32(14).U8(2).I32(3'990'000).I32(-150'100'000).Str()},
      {"world_fixpoints.dat",
       LeBytes().U8(6).U32(22).I32(4'020'000).I32(-148'000'000).Text("K2ABCDE", 9).Str()},
      {"world_airways_v.dat", ExpectedVictorAirways().Str()},
      {"world_airways_j.dat",
       LeBytes().U8(7).U32(39).Text("J5", 9).U32(1).I32(1).I32(2).I32(18'000)
           .Text("FIX12345", 9).Str()},
  };
}
// clang-format on

}  // namespace tarnvale::testing
