// FS2002 chunks found inside their window, and positions read from them.

#include "scenery/fs2002_chunks.h"

namespace tarnvale::fs2002 {

std::optional<Chunk> ChunkAt(const ByteCursor& window, std::size_t start) {
  if (!window.Contains(start, kChunkHeadSize)) return std::nullopt;
  Chunk chunk;
  chunk.type = window.U32(start);
  chunk.size = window.U32(start + 4);
  const std::size_t extent = kChunkHeadSize + static_cast<std::size_t>(chunk.size);
  if (!window.Contains(start, extent)) return std::nullopt;
  chunk.start = start;
  chunk.next = start + extent;
  chunk.bytes = window.Slice(start, extent);
  return chunk;
}

Degrees PositionAt(const ByteCursor& bytes, std::size_t latitude_offset,
                   std::size_t longitude_offset) {
  return {Fs2002Latitude(bytes.I32(latitude_offset)), Fs2002Longitude(bytes.I32(longitude_offset))};
}

}  // namespace tarnvale::fs2002
