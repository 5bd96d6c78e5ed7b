// A hash table keyed by short texts: intersection keys (region + ident, at
// most 8 characters) and airport idents. The keys are packed into two
// machine words and probed linearly in a flat slot array, so a lookup costs
// no allocation and no string comparison.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

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

template <typename Value>
class ShortKeyTable {
 public:
  // Stores `value` under `key`, replacing what was there. Throws
  // std::bad_alloc when memory ran out; the table is then unchanged.
  void InsertOrAssign(const PackedKey& key, const Value& value) {
    if (!slots_.empty()) {
      if (const std::uint32_t slot = slots_[SlotOf(key)]; slot != kEmpty) {
        entries_[slot - 1].value = value;
        return;
      }
    }
    if (2 * (entries_.size() + 1) > slots_.size()) Rehash(slots_.empty() ? 64 : 2 * slots_.size());
    entries_.push_back({key, value});
    slots_[SlotOf(key)] = static_cast<std::uint32_t>(entries_.size());
  }

  const Value* Find(std::string_view text) const {
    const std::optional<PackedKey> key = PackedKey::Of(text);
    return key ? Find(*key) : nullptr;
  }

  const Value* Find(const PackedKey& key) const {
    if (slots_.empty()) return nullptr;
    const std::uint32_t slot = slots_[SlotOf(key)];
    return slot == kEmpty ? nullptr : &entries_[slot - 1].value;
  }

  std::size_t Size() const { return entries_.size(); }

  // Empties the table and gives its memory back.
  void Release() {
    RecordArray<Entry>().swap(entries_);
    RecordArray<std::uint32_t>().swap(slots_);
  }

 private:
  static constexpr std::uint32_t kEmpty = 0;  // otherwise entry index + 1
  struct Entry {
    PackedKey key;
    Value value;
  };

  static std::size_t Hash(const PackedKey& key) {
    const std::uint64_t mixed = (key.low ^ (key.high * 0xC2B2AE3D27D4EB4FULL)) * 0x9E3779B97F4A7C15ULL;
    return static_cast<std::size_t>(mixed ^ (mixed >> 29));
  }

  // The slot holding `key`, or the empty slot where it would go. Needs at
  // least one slot; at most half of them are taken, so the probe ends.
  std::size_t SlotOf(const PackedKey& key) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = Hash(key) & mask;; i = (i + 1) & mask) {
      if (slots_[i] == kEmpty || entries_[slots_[i] - 1].key == key) return i;
    }
  }

  // Spreads the entries over `count` slots (a power of two). Entries are
  // reserved first, so the push_back after a rehash cannot fail halfway.
  void Rehash(std::size_t count) {
    entries_.reserve(count / 2);
    RecordArray<std::uint32_t> slots(count, kEmpty);
    const std::size_t mask = count - 1;
    for (std::size_t e = 0; e < entries_.size(); ++e) {
      std::size_t i = Hash(entries_[e].key) & mask;
      while (slots[i] != kEmpty) i = (i + 1) & mask;
      slots[i] = static_cast<std::uint32_t>(e + 1);
    }
    slots_.swap(slots);
  }

  RecordArray<Entry> entries_;       // in insertion order
  RecordArray<std::uint32_t> slots_;  // at most half full
};

}  // namespace tarnvale
