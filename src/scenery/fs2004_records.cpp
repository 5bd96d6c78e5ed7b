// What the FS2004 record decoders share: record sizes, records that lie inside their window, names,
// positions and altitudes.

#include "scenery/fs2004_records.h"

#include <algorithm>

#include "scenery/decoding.h"

namespace tarnvale {

std::uint32_t RecordSize(const ByteCursor& bytes, std::size_t position, SizeWord width) {
  return width == SizeWord::U32 ? bytes.U32(position + 2) : bytes.U16(position + 2);
}

std::optional<ByteCursor> RecordAt(const ByteCursor& bytes, std::size_t position, SizeWord width) {
  if (!bytes.Contains(position, kRecordHeaderSize)) return std::nullopt;
  const std::uint32_t size = RecordSize(bytes, position, width);
  if (size < kRecordHeaderSize || !bytes.Contains(position, size)) return std::nullopt;
  return bytes.Slice(position, size);
}

void ReadNameSubRecord(NavDatabase& db, const ByteCursor& sub, std::uint16_t& length,
                       std::string& name) {
  // The count is 16 bits wide; one byte is kept back for the terminator.
  const std::size_t characters =
      std::min<std::size_t>(static_cast<std::uint16_t>(sub.Size() - kRecordHeaderSize), 0xFFFE);
  if (characters == 0) return;
  db.AllocateText(name, characters + 1);
  length = static_cast<std::uint16_t>(characters + 1);
  const std::string_view text = TextUpToNul(sub, kRecordHeaderSize, characters);
  std::copy(text.begin(), text.end(), name.begin());
}

Degrees ReadDegrees(const ByteCursor& bytes, std::size_t longitude_offset,
                    std::size_t latitude_offset) {
  return {Fs2004Latitude(bytes.U32(latitude_offset)), Fs2004Longitude(bytes.U32(longitude_offset))};
}

GeoPoint ToUnits(const Degrees& degrees) {
  return {LatitudeToUnits(degrees.latitude), LongitudeToUnits(degrees.longitude)};
}

GeoPoint ReadPosition(const ByteCursor& bytes, std::size_t longitude_offset,
                      std::size_t latitude_offset) {
  return ToUnits(ReadDegrees(bytes, longitude_offset, latitude_offset));
}

std::int32_t ReadAltitudeFeet(const ByteCursor& bytes, std::size_t offset) {
  return MetresToFeet(Fs2004AltitudeMetres(bytes.I32(offset)));
}

}  // namespace tarnvale
