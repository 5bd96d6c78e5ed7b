// Entry points that feed arbitrary bytes to each reader of untrusted input.
// libFuzzer drives them one at a time (libfuzzer_main.cpp); the replay
// program runs the stored corpus and regression inputs through them on any
// compiler (replay_main.cpp).
//
// Each entry returns 0 and must neither crash nor read outside its input; an
// entry that checks a property of its reader aborts when it does not hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tarnvale::fuzz {

using FuzzEntry = int (*)(const std::uint8_t* data, std::size_t size);

struct FuzzTarget {
  std::string_view name;  // also the folder name under fuzz/corpus and fuzz/regressions
  FuzzEntry entry;
};

// FS2004 and FS2002 scenery files through the loader, then binding with the
// spatial index, checked against the plain cross product.
int FuzzBglFs9(const std::uint8_t* data, std::size_t size);
int FuzzBglFs8(const std::uint8_t* data, std::size_t size);
// The three FS2002 readers called directly (first byte chooses the reader),
// so that no header test of the loader shields them.
int FuzzFs2002Readers(const std::uint8_t* data, std::size_t size);
// Scenery.cfg, read from a file.
int FuzzSceneryCfg(const std::uint8_t* data, std::size_t size);
// Program_Config.cfg, read from a file; once rewritten, what is written
// back must read back to the same text.
int FuzzProgramConfig(const std::uint8_t* data, std::size_t size);
// A database file as `dump` reads it (first byte chooses the kind), shown as
// text and as JSON.
int FuzzDatabaseFile(const std::uint8_t* data, std::size_t size);

// Every entry above with its name.
std::span<const FuzzTarget> FuzzTargets();

}  // namespace tarnvale::fuzz
