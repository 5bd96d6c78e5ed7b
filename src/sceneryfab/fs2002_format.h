// Whole FS2002 scenery from the plain values of model.h: the files one group
// of content becomes, the records the loader will find in them, and the
// FS2002 writer in the installation generator's form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>

#include "sceneryfab/fs2002_writer.h"
#include "sceneryfab/model.h"
#include "sceneryfab/scenery_format.h"

namespace tarnvale::fab {

// Airports (each marker goes with the airport nearest to it, as FS2002
// keeps markers among an airport's data; without airports markers are
// lost), then the navigation chain: the fix list, the victor and the jet
// airway lists (an airway of level Both is in both).
Fs2002FacilityFile MakeFs2002FacilityFile(const SceneryContent& content);
// One channel entry for every channel from the lowest to the highest in use;
// each channel in use has one run, its VORs then its ILS transmitters (the
// ILS records alternate between the 54- and 56-byte forms).
Fs2002VorFile MakeFs2002VorFile(std::span<const Vor> vors, std::span<const Ils> ilss);
// Runs of at most 32 NDBs.
Fs2002NdbFile MakeFs2002NdbFile(std::span<const Ndb> ndbs);

// A file of `approximate_size` bytes whose layout words are all 0, which the
// loader skips whole; its bytes depend only on the size and `seed`.
Bytes MakeFs2002SkippedFile(std::size_t approximate_size, std::uint64_t seed);

// How many records of each kind the loader adds for `content` written by
// this writer, with the keys of CountFs2004Records. FS2002 scenery has no
// fuel areas and no airspaces.
std::map<std::string, std::size_t> CountFs2002Records(const SceneryContent& content);

// Writes `content` as AP<stem>.bgl (airports and navigation chain),
// VOR<stem>.bgl and NDB<stem>.bgl, each only when it has something to hold.
SceneryFormat Fs2002Format();

}  // namespace tarnvale::fab
