// The value encodings of FS2004 BGL files: base-38 identifiers, scaled
// position words, altitudes in millimetres. Each is the exact inverse of the
// decoding the loader applies.
#pragma once

#include <cstdint>
#include <string_view>

#include "sceneryfab/model.h"

namespace tarnvale::fab {

// The base-38 number of an identifier of at most 5 characters of blank,
// 0-9 and A-Z (last character least significant; a blank is digit 1).
// Throws std::invalid_argument for other characters or longer texts.
std::uint32_t PackIdent(std::string_view text);

// An ident field: the packed ident in bits 5..31, or the raw word.
std::uint32_t Fs2004IdentWord(const Ident& ident);
// A runway's ILS ident field: the packed ident unshifted, or the raw word.
std::uint32_t Fs2004UnshiftedIdentWord(const Ident& ident);
// A region field: the packed region (at most 2 characters) in bits 0..10,
// or the raw word.
std::uint32_t Fs2004RegionWord(const Ident& region);

// Raw position words, rounded to the nearest step and held inside
// 0..805306367 (longitude) and 0..536870911 (latitude).
// Throws std::invalid_argument for NaN.
std::uint32_t EncodeFs2004Longitude(double degrees);
std::uint32_t EncodeFs2004Latitude(double degrees);
// Metres to whole millimetres, rounded to nearest.
std::int32_t EncodeFs2004Altitude(double metres);

// The degrees that encode to exactly `raw` (for tests that need a given word).
double Fs2004LongitudeOfWord(std::uint32_t raw);
double Fs2004LatitudeOfWord(std::uint32_t raw);

}  // namespace tarnvale::fab
