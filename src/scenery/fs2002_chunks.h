// Building blocks shared by the FS2002 readers: chunks, positions and texts.
//
// FS2002 facility files are made of chunks: u32 type, u32 size (the bytes
// behind the 8-byte head), then the content. A chunk is only handed out when
// its whole extent lies inside the window it is read from, so a cut or
// corrupted file ends a walk instead of leading it outside the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "scenery/byte_cursor.h"
#include "scenery/decoding.h"
#include "scenery/geometry.h"
#include "scenery/records.h"

namespace tarnvale::fs2002 {

inline constexpr std::size_t kChunkHeadSize = 8;

struct Chunk {
  std::uint32_t type = 0;
  std::uint32_t size = 0;  // bytes behind the head
  std::size_t start = 0;   // offset in the window it was read from
  std::size_t next = 0;    // offset of the chunk behind it
  ByteCursor bytes;        // head and content, nothing more
};

// The chunk at `start` of `window`, or nothing when its head or content
// would reach past the end of the window. Walks always advance: `next` lies
// at least 8 bytes behind `start`.
std::optional<Chunk> ChunkAt(const ByteCursor& window, std::size_t start);

// The FS2002 latitude and longitude words of a chunk, in degrees.
Degrees PositionAt(const ByteCursor& bytes, std::size_t latitude_offset,
                   std::size_t longitude_offset);

// Copies the characters at [offset, offset + count) of `bytes` into `field`,
// stopping at a NUL; every other byte of `field` becomes NUL. `count` is cut
// to `room`, the characters the field may hold (N - 1 for NUL-terminated
// fields, N for a taxiway name). Characters outside `bytes` overrun it and
// leave the field empty.
template <std::size_t N>
void CopyText(FixedText<N>& field, const ByteCursor& bytes, std::size_t offset, std::size_t count,
              std::size_t room = N - 1) {
  SetText(field, TextUpToNul(bytes, offset, count < room ? count : room), room);
}

// CopyText followed by TrimBlanks.
template <std::size_t N>
void CopyTrimmedText(FixedText<N>& field, const ByteCursor& bytes, std::size_t offset,
                     std::size_t count) {
  CopyText(field, bytes, offset, count);
  TrimBlanks(field);
}

}  // namespace tarnvale::fs2002
