// Small pure routines that turn the values stored in scenery files into the
// navigation database's units (units.h, with the one safe float-to-integer
// truncation every decoder uses): packed idents, FS2004 and FS2002
// positions, altitudes, IEEE singles, headings, packed decimal frequencies
// and runway end points.
//
// All arithmetic is double precision in the order written here, so the
// files come out the same on every machine.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "scenery/byte_cursor.h"
#include "scenery/geometry.h"
#include "scenery/records.h"
#include "scenery/units.h"

namespace tarnvale {

// --- FS2004 raw values -----------------------------------------------------------

// raw x 360 / 805306367 - 180: raw 0 is -180, raw 805306367 is +180.
double Fs2004Longitude(std::uint32_t raw);
// 90 - raw x 180 / 536870911: raw 0 is +90, raw 536870911 is -90.
double Fs2004Latitude(std::uint32_t raw);
// Millimetres to metres.
double Fs2004AltitudeMetres(std::int32_t raw);

// --- FS2002 raw values -----------------------------------------------------------

// FS2002 position words are database units. These multiply by the rounded
// factor, which is not always the same double as LatitudeUnitsToDegrees.
inline constexpr double kFs2002LatitudeDegreesPerUnit = 8.998425275576774e-6;   // 90 / 10001750
inline constexpr double kFs2002LongitudeDegreesPerUnit = 8.381903171539307e-8;  // 360 / 2^32
double Fs2002Latitude(std::int32_t raw);
double Fs2002Longitude(std::int32_t raw);

// --- Texts -----------------------------------------------------------------------

// The packed base-38 ident as text of at most five characters (the five least
// significant digits), blanks trimmed at both ends unless it is all blanks.
// 0 gives the empty text. The alphabet is "  0123456789A..Z".
FixedText<6> DecodeIdent(std::uint32_t packed);

// The characters at [offset, offset + count) of `bytes` up to the first NUL;
// empty, and `bytes` overrun, when they do not all lie inside it.
std::string_view TextUpToNul(const ByteCursor& bytes, std::size_t offset, std::size_t count);

// Removes leading and trailing blanks and tabs from the NUL-terminated text
// in `field` (or the whole field when it holds no NUL). Every byte behind the
// new end is zeroed so the stored field is the same on every run. A text that
// is empty or holds only blanks and tabs is left unchanged.
void TrimBlanks(std::span<char> field);

// --- Numbers ---------------------------------------------------------------------

// The IEEE single in `bits`, exactly.
double DecodeFloat(std::uint32_t bits);

// One correction into 0..360: above 360 subtract 360, below 0 add 360.
std::int16_t NormalizeHeading(std::int16_t degrees);

// Eight packed decimal digits, most significant first; a nibble above 9 adds
// its value unchecked.
std::uint32_t BcdToDecimal(std::uint32_t packed);

// --- Runway end points -------------------------------------------------------------

struct RunwayEnds {
  GeoPoint primary;    // half a length behind the centre, against the heading
  GeoPoint secondary;  // half a length ahead
};

// End points of a runway centred at (latitude, longitude) in degrees with the
// truncated heading in whole degrees and the truncated length in whole
// metres. Runways longer than 300 m have their ends 30 m inside each end.
RunwayEnds ComputeRunwayEnds(double latitude, double longitude, std::int16_t heading,
                             std::uint32_t length_metres);

}  // namespace tarnvale
