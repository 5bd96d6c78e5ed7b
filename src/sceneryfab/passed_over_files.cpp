// The files of a stock installation that hold nothing Tarnvale reads: their shares, sizes and
// heads, and their payloads cut from one repeating pattern so that gigabytes are written fast.

#include "sceneryfab/passed_over_files.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "platform/paths.h"
#include "sceneryfab/fs2004_writer.h"
#include "sceneryfab/random.h"
#include "sceneryfab/text.h"

namespace tarnvale::fab {

namespace {

constexpr std::size_t kKiB = 1024;
constexpr std::size_t kMiB = 1024 * kKiB;
constexpr std::size_t kPatternSize = 256 * kKiB;
constexpr std::size_t kSubsectionPayload = kMiB;  // one subsection per MiB of payload

// What a stock installation is made of, by kind: the share of its files,
// their name prefix, the FS2004 section types they hold (none of which the
// loader reads; scenery object placements, type 37, are read for their
// refuelling triggers and so are not among them), where an FS2002 header of
// that kind names its data, and the range of sizes, spread evenly over the
// logarithm of the size.
struct KindShape {
  PassedOverKind kind;
  double share;
  const char* prefix;
  std::uint32_t types[2];
  std::size_t fs2002_field;
  std::size_t smallest;
  std::size_t largest;
};

constexpr KindShape kKinds[] = {
    {PassedOverKind::Elevation, 0.10, "ELEV", {101, 101}, 30, 512 * kKiB, 16 * kMiB},
    {PassedOverKind::LandClass, 0.12, "LCLS", {103, 103}, 42, 64 * kKiB, 2 * kMiB},
    {PassedOverKind::Vector, 0.38, "HYDR", {105, 106}, 54, 16 * kKiB, kMiB},
    {PassedOverKind::ObjectLibrary, 0.20, "OLIB", {43, 43}, 62, 32 * kKiB, 4 * kMiB},
    {PassedOverKind::Exclusion, 0.20, "EXCL", {46, 39}, 90, kKiB, 16 * kKiB},
};

const KindShape& ShapeOf(PassedOverKind kind) {
  return *std::find_if(std::begin(kKinds), std::end(kKinds),
                       [&](const KindShape& shape) { return shape.kind == kind; });
}

std::size_t SpreadSize(Random& random, std::size_t smallest, std::size_t largest) {
  const double low = std::log(static_cast<double>(smallest));
  const double high = std::log(static_cast<double>(largest));
  return static_cast<std::size_t>(std::exp(random.Between(low, high)));
}

// The kind of file `index`: files of every kind interleaved in their shares.
const KindShape& KindOfFile(std::size_t index) {
  const double position = std::fmod(static_cast<double>(index) * 0.618033988749895, 1.0);
  double end = 0.0;
  for (const KindShape& shape : kKinds) {
    end += shape.share;
    if (position < end) return shape;
  }
  return kKinds[std::size(kKinds) - 1];
}

}  // namespace

std::vector<PassedOverFile> PlanPassedOverFiles(std::size_t count, std::uint64_t seed) {
  std::vector<PassedOverFile> files;
  for (std::size_t i = 0; i < count; ++i) {
    const KindShape& shape = KindOfFile(i);
    Random random(DeriveSeed(seed, 0xB61ull << 32 | i));
    files.push_back(PassedOverFile{std::string(shape.prefix) + ZeroPadded(i, 4) + ".BGL",
                                   shape.kind, SpreadSize(random, shape.smallest, shape.largest),
                                   random.Below(kPatternSize)});
  }
  return files;
}

std::vector<PassedOverFile> PlanTextureFiles(std::size_t count, std::uint64_t seed) {
  std::vector<PassedOverFile> files;
  for (std::size_t i = 0; i < count; ++i) {
    Random random(DeriveSeed(seed, 0x7E7ull << 32 | i));
    files.push_back(PassedOverFile{"TEX" + ZeroPadded(i, 5) + ".BMP", PassedOverKind::Exclusion,
                                   SpreadSize(random, 16 * kKiB, 256 * kKiB),
                                   random.Below(kPatternSize)});
  }
  return files;
}

Bytes PayloadPattern(std::uint64_t seed) {
  Random random(DeriveSeed(seed, 0x9A7ull));
  Bytes pattern(kPatternSize);
  for (std::size_t i = 0; i < pattern.size(); i += 8) {
    const std::uint64_t value = random.Next();
    for (std::size_t k = 0; k < 8; ++k) pattern[i + k] = static_cast<std::uint8_t>(value >> 8 * k);
  }
  return pattern;
}

// The header and tables of a file whose sections of the kind's types
// share its payload, one subsection per MiB of it, each counting records of
// about 512 bytes.
Bytes Fs2004PassedOverHead(const PassedOverFile& file) {
  const KindShape& shape = ShapeOf(file.kind);
  const std::size_t sections = shape.types[0] == shape.types[1] ? 1 : 2;
  const std::size_t subsections =
      std::max<std::size_t>(1, file.size / kSubsectionPayload / sections);
  const std::size_t head = kFs2004HeaderSize + sections * kFs2004SectionEntrySize +
                           sections * subsections * kFs2004SubsectionEntrySize;
  const std::size_t step = file.size > head ? (file.size - head) / (sections * subsections) : 0;
  Fs2004File bgl;
  for (std::size_t s = 0; s < sections; ++s) {
    Fs2004Section section{shape.types[s], {}, {}, {}};
    for (std::size_t j = 0; j < subsections; ++j) {
      const std::size_t data = head + (s * subsections + j) * step;
      section.subsections.push_back(
          Fs2004Subsection{{},
                           static_cast<std::uint32_t>(std::max<std::size_t>(1, step / 512)),
                           static_cast<std::uint32_t>(data)});
    }
    bgl.sections.push_back(std::move(section));
  }
  return BuildFs2004File(bgl);
}

// The words at 18 and 78 stay 0 and the word at 118 holds no facility
// mark: the header names a kind of data the loader does not read.
Bytes Fs2002PassedOverHead(const PassedOverFile& file) {
  constexpr std::size_t kHeaderSize = 128;
  ByteBuffer head;
  head.U16(0x0001).Zeros(kHeaderSize - 2);
  head.PutU32(ShapeOf(file.kind).fs2002_field, static_cast<std::uint32_t>(kHeaderSize));
  return head.Take();
}

Bytes TextureHead(const PassedOverFile& file) {
  ByteBuffer head;
  head.Text("BM").U32(static_cast<std::uint32_t>(file.size)).Zeros(8);
  return head.Take();
}

void WritePassedOverFile(const std::filesystem::path& path, const PassedOverFile& file,
                         std::span<const std::uint8_t> head,
                         std::span<const std::uint8_t> pattern) {
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const std::size_t head_size = std::min(head.size(), file.size);
  out.write(reinterpret_cast<const char*>(head.data()), static_cast<std::streamsize>(head_size));
  std::size_t at = file.pattern_start % pattern.size();
  for (std::size_t left = file.size - head_size; left > 0 && out;) {
    const std::size_t piece = std::min(left, pattern.size() - at);
    out.write(reinterpret_cast<const char*>(pattern.data() + at),
              static_cast<std::streamsize>(piece));
    left -= piece;
    at = (at + piece) % pattern.size();
  }
  out.close();
  if (!out) throw std::runtime_error("cannot write " + platform::Utf8Of(path));
}

}  // namespace tarnvale::fab
