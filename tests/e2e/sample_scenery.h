// One small simulator installation holding a little of everything the
// database files carry: two airports (runways, a helipad, ground and tower
// frequencies, a ground layout), an ILS that binds to a runway end
// and one too far away to bind, two VORs, two NDBs, two markers, three
// intersections on a victor and a jet airway, and for FS2004 a refuelling
// trigger and two airspaces (lines and an arc; a circle).
#pragma once

#include <filesystem>

#include "domain/simulation.h"
#include "sceneryfab/model.h"

namespace tarnvale::e2e {

// The sample as FS2004 (9) or FS2002 (8) scenery can hold it.
fab::SceneryContent SampleContent(FsVersion fs_version);

// Writes a simulator installation into `root` whose one active area holds
// SampleContent(fs_version) as the scenery builder writes it for that
// version; returns the path of the simulator's magdec.bgl.
std::filesystem::path WriteSampleInstallation(const std::filesystem::path& root,
                                              FsVersion fs_version);

}  // namespace tarnvale::e2e
