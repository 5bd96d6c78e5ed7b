// Reads the groups of an FS2002 ground layout: taxiway points and parkings placed around the
// airport's reference point, taxiway paths and names.

#include "scenery/fs2002_ground_layout.h"

#include <array>
#include <bit>
#include <cstdint>

#include "scenery/decoding.h"
#include "scenery/geometry.h"

namespace tarnvale {

namespace {

// A group is a u32 element count and a u32 element size, then the elements;
// the element size tells which kind of group it is.
constexpr std::size_t kGroupHeadSize = 8;
constexpr std::uint32_t kPointElementSize = 12;
constexpr std::uint32_t kParkingElementSize = 20;
constexpr std::uint32_t kPathElementSize = 32;
constexpr std::uint32_t kNameElementSize = 8;

// Scenery point kinds 0, 1 and path kinds 0, 1, 2 as the database codes them;
// any other kind is stored as 0.
constexpr std::array<std::uint8_t, 2> kPointTypes = {1, 2};
constexpr std::array<std::int32_t, 3> kPathTypes = {1, 2, 3};

template <typename Code, std::size_t N>
Code MapKind(std::uint32_t kind, const std::array<Code, N>& codes) {
  return kind < N ? codes[kind] : Code{0};
}

double FloatAt(const ByteCursor& bytes, std::size_t offset) {
  return std::bit_cast<float>(bytes.U32(offset));
}

// Latitude and longitude are placed independently: the latitude as if moving
// along the meridian from the reference point, the longitude along the
// parallel. No offset (also a NaN one) keeps the reference coordinate.
void ReadPoint(TaxiwayPointRecord& point, const ByteCursor& element,
               const CompassDestinations& reference) {
  point.PointType = MapKind(element.U32(0), kPointTypes);
  point.Latitude = reference.LatitudeMetres(FloatAt(element, 8));
  point.Longitude = reference.LongitudeMetres(FloatAt(element, 4));
}

void ReadParking(ParkingRecord& parking, const ByteCursor& element,
                 const CompassDestinations& reference) {
  // Packed word: bits 0..6 name code, 7..19 number, 20..25 parking type.
  const std::uint32_t word = element.U32(16);
  parking.ParkingType = static_cast<std::uint8_t>((word >> 20) & 0x3F);
  parking.Number = static_cast<std::int16_t>((word >> 7) & 0x1FFF);
  parking.ParkingName = static_cast<std::uint8_t>(word & 0x7F);
  parking.Latitude = reference.LatitudeMetres(FloatAt(element, 4));
  parking.Longitude = reference.LongitudeMetres(FloatAt(element, 0));
  parking.RadiusFeet = MetresToFeet(FloatAt(element, 8));
}

// Point and name indices are carried as they stand; the programs that read
// the database files resolve them.
void ReadPath(TaxiwayPathRecord& path, const ByteCursor& element, const CompassDestinations&) {
  path.PathType = MapKind(element.U32(0), kPathTypes);
  path.StartPoint = element.I32(12);
  path.EndPoint = element.I32(16);
  path.NameIndex = element.I32(28);
}

void ReadName(TaxiNameRecord& name, const ByteCursor& element, const CompassDestinations&) {
  fs2002::CopyText(name.Name, element, 0, kNameElementSize, kNameElementSize);
}

template <typename Record, typename ReadElement>
void ReadElements(RecordArray<Record>& records, const ByteCursor& elements,
                  std::uint32_t element_size, const CompassDestinations& reference,
                  ReadElement read) {
  for (std::size_t i = 0; i < records.size(); ++i) {
    read(records[i], elements.Slice(i * element_size, element_size), reference);
  }
}

// Allocates the current airport's array of the group's kind and fills it.
void DecodeGroup(NavDatabase& db, std::uint32_t element_size, std::uint32_t count,
                 const ByteCursor& elements, const CompassDestinations& reference) {
  AirportRecord& airport = *db.CurrentAirport();
  switch (element_size) {
    case kPointElementSize:
      if (!db.AllocateTaxiwayPoints(count)) return;
      return ReadElements(airport.TaxiwayPoints, elements, element_size, reference, ReadPoint);
    case kParkingElementSize:
      if (!db.AllocateParkings(count)) return;
      return ReadElements(airport.Parkings, elements, element_size, reference, ReadParking);
    case kPathElementSize:
      if (!db.AllocateTaxiwayPaths(count)) return;
      return ReadElements(airport.TaxiwayPaths, elements, element_size, reference, ReadPath);
    default:
      if (!db.AllocateTaxiNames(count)) return;
      return ReadElements(airport.TaxiNames, elements, element_size, reference, ReadName);
  }
}

bool IsGroupElementSize(std::uint32_t element_size) {
  return element_size == kPointElementSize || element_size == kParkingElementSize ||
         element_size == kPathElementSize || element_size == kNameElementSize;
}

}  // namespace

void DecodeFs2002GroundLayout(NavDatabase& db, const fs2002::Chunk& layout,
                              const Degrees& reference) {
  const CompassDestinations compass(reference);
  const ByteCursor& bytes = layout.bytes;
  std::size_t position = fs2002::kChunkHeadSize;
  while (bytes.Contains(position, kGroupHeadSize)) {
    const std::uint32_t count = bytes.U32(position);
    const std::uint32_t element_size = bytes.U32(position + 4);
    if (!IsGroupElementSize(element_size)) break;
    const std::size_t elements_size = static_cast<std::size_t>(count) * element_size;
    if (!bytes.Contains(position + kGroupHeadSize, elements_size)) break;
    const ByteCursor elements = bytes.Slice(position + kGroupHeadSize, elements_size);
    if (count != 0) DecodeGroup(db, element_size, count, elements, compass);
    position += kGroupHeadSize + elements_size;
  }
}

}  // namespace tarnvale
