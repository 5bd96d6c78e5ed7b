// The bulk of a stock installation: BGL files that hold nothing Tarnvale
// reads (terrain elevation, land class, water and roads, object libraries,
// exclusions) and the areas' texture folders. Their number and sizes follow
// a stock installation's shape; their bytes are cheap to make, cut from one
// repeating pattern, and depend only on the seed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "sceneryfab/byte_buffer.h"

namespace tarnvale::fab {

enum class PassedOverKind { Elevation, LandClass, Vector, ObjectLibrary, Exclusion };

// One file to write: its name, what it stands for and its size.
struct PassedOverFile {
  std::string name;
  PassedOverKind kind = PassedOverKind::Elevation;
  std::size_t size = 0;
  std::size_t pattern_start = 0;  // where in the pattern its payload starts
};

// `count` BGL files of the kinds a stock installation has, in their shares
// and with sizes spread over each kind's range, numbered from 0; the same
// for the same seed.
std::vector<PassedOverFile> PlanPassedOverFiles(std::size_t count, std::uint64_t seed);
// `count` texture files (bitmaps, which no run opens) in the same form; their
// kind says nothing.
std::vector<PassedOverFile> PlanTextureFiles(std::size_t count, std::uint64_t seed);

// The repeating payload that every such file is cut from.
Bytes PayloadPattern(std::uint64_t seed);

// The head of a file: an FS2004 file of `size` bytes in the 0x1992
// container whose sections are all of types the loader passes over, or an
// FS2002 file whose header names none of the layouts the loader reads, or a
// texture's bitmap header. The payload follows it up to the file's size.
Bytes Fs2004PassedOverHead(const PassedOverFile& file);
Bytes Fs2002PassedOverHead(const PassedOverFile& file);
Bytes TextureHead(const PassedOverFile& file);

// Writes `head`, then the pattern from the file's start in it, repeated,
// up to the file's size; creates the parent folders. Throws
// std::runtime_error naming the path when it cannot.
void WritePassedOverFile(const std::filesystem::path& path, const PassedOverFile& file,
                         std::span<const std::uint8_t> head, std::span<const std::uint8_t> pattern);

}  // namespace tarnvale::fab
