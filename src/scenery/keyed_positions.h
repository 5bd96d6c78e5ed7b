// Indexes of record arrays by short texts: intersection keys (region +
// ident, at most 8 characters) and airport idents. The keys are packed into
// two machine words and probed linearly in a flat slot array, so a lookup
// costs no allocation and no string comparison.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include "scenery/prefetch.h"
#include "scenery/record_memory.h"

namespace tarnvale {

// A text of at most 16 bytes, none of them NUL, zero-padded into two words.
// The padding makes the packing unique: the length is where the zeros start.
struct PackedKey {
  std::uint64_t low = 0;
  std::uint64_t high = 0;
  bool operator==(const PackedKey&) const = default;

  static constexpr std::size_t kMaxLength = 16;

  // The packed `text`; nothing when it is too long or holds a NUL, since no
  // stored key can equal it then.
  static std::optional<PackedKey> Of(std::string_view text) {
    if (text.size() > kMaxLength || text.find('\0') != std::string_view::npos) return std::nullopt;
    unsigned char bytes[kMaxLength] = {};
    std::memcpy(bytes, text.data(), text.size());
    PackedKey key;
    for (std::size_t i = 0; i < 8; ++i) {
      key.low |= std::uint64_t{bytes[i]} << (8 * i);
      key.high |= std::uint64_t{bytes[8 + i]} << (8 * i);
    }
    return key;
  }

  // The packed text of a fixed field, up to its first NUL.
  template <std::size_t N>
  static PackedKey Of(const std::array<char, N>& field) {
    static_assert(N <= kMaxLength);
    PackedKey key;
    for (std::size_t i = 0; i < N && field[i] != '\0'; ++i) {
      const std::uint64_t byte = static_cast<unsigned char>(field[i]);
      (i < 8 ? key.low : key.high) |= byte << (8 * (i % 8));
    }
    return key;
  }
};

// Positions of records in one array, found by a short text key. A slot
// holds a position and the key's hash, eight bytes; the key itself is read
// from the record, through `key_at(position)`, only when the hashes agree.
class KeyedPositions {
 public:
  template <typename KeyAt>
  std::optional<std::uint32_t> Find(const PackedKey& key, KeyAt key_at) const {
    if (slots_.empty()) return std::nullopt;
    const Slot& slot = slots_[SlotOf(key, Hash(key), key_at)];
    if (slot.position == kFree) return std::nullopt;
    return slot.position;
  }

  // Makes `position` the one found for `key`: a new key is added, a known
  // one names `position` from now on. Returns the position the key named
  // before, if any. Throws std::bad_alloc when memory ran out; the index is
  // then unchanged.
  template <typename KeyAt>
  std::optional<std::uint32_t> Assign(const PackedKey& key, std::uint32_t position, KeyAt key_at) {
    if (2 * (size_ + 1) > slots_.size()) Rehash(slots_.empty() ? 64 : 2 * slots_.size());
    const std::uint32_t hash = Hash(key);
    Slot& slot = slots_[SlotOf(key, hash, key_at)];
    const std::uint32_t previous = slot.position;
    if (previous == kFree) ++size_;
    slot = {position, hash};
    if (previous == kFree) return std::nullopt;
    return previous;
  }

  std::size_t Size() const { return size_; }

  // Asks the processor to bring in the slot a Find of `key` starts at, so
  // that a search a little later does not wait for memory.
  void Prefetch(const PackedKey& key) const {
    if (!slots_.empty()) PrefetchAddress(&slots_[Hash(key) & (slots_.size() - 1)]);
  }

  // Empties the index, keeping its slots for the next keys. An empty one,
  // as after most files of an installation, is left as it is.
  void Clear() {
    if (size_ == 0) return;
    std::fill(slots_.begin(), slots_.end(), Slot{});
    size_ = 0;
  }

  // Empties the index and gives its memory back.
  void Release() {
    RecordArray<Slot>().swap(slots_);
    size_ = 0;
  }

 private:
  static constexpr std::uint32_t kFree = 0xFFFFFFFF;
  struct Slot {
    std::uint32_t position = kFree;
    std::uint32_t hash = 0;
  };

  static std::uint32_t Hash(const PackedKey& key) {
    const std::uint64_t mixed =
        (key.low ^ (key.high * 0xC2B2AE3D27D4EB4FULL)) * 0x9E3779B97F4A7C15ULL;
    return static_cast<std::uint32_t>(mixed >> 32);
  }

  // The slot naming `key`, or the free slot where it would go. Needs at
  // least one slot; at most half of them are used, so the probe ends.
  template <typename KeyAt>
  std::size_t SlotOf(const PackedKey& key, std::uint32_t hash, KeyAt key_at) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
      const Slot& slot = slots_[i];
      if (slot.position == kFree) return i;
      if (slot.hash == hash && key_at(slot.position) == key) return i;
    }
  }

  // Spreads the positions over `count` slots (a power of two); the keys
  // are all different, so only the hashes are needed.
  void Rehash(std::size_t count) {
    RecordArray<Slot> previous(count);
    previous.swap(slots_);
    const std::size_t mask = count - 1;
    for (const Slot& slot : previous) {
      if (slot.position == kFree) continue;
      std::size_t i = slot.hash & mask;
      while (slots_[i].position != kFree) i = (i + 1) & mask;
      slots_[i] = slot;
    }
  }

  RecordArray<Slot> slots_;  // at most half of them used
  std::size_t size_ = 0;
};

}  // namespace tarnvale
