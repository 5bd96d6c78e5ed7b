// The bytes each database file must hold after a run over the sample
// installation (sample_scenery.h), spelled out field by field in file order:
// the sample's values go through the words the scenery builder writes for
// the simulator version and then through the decoding rules and unit
// conversions (unit_rules.h), never through the code under test.
#pragma once

#include <map>
#include <string>

#include "domain/simulation.h"

namespace tarnvale::e2e {

// File name -> expected content, for every database file the run must write
// for `target_program` and `fs_version`; the copy
// of magdec.bgl is not included.
std::map<std::string, std::string> ExpectedDatabaseFiles(TargetProgram target_program,
                                                         FsVersion fs_version);

}  // namespace tarnvale::e2e
