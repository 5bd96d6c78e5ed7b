// The arena behind the record arrays: small blocks cut from shared chunks, large ones from mappings
// of their own kept for reuse, all under one spin lock.

#include "scenery/record_memory.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <limits>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/system.h"

// The poisoning macros are empty when AddressSanitizer is off; a compiler
// without the sanitizers may not have the header at all.
#if __has_include(<sanitizer/asan_interface.h>)
#include <sanitizer/asan_interface.h>
#else
#define ASAN_POISON_MEMORY_REGION(address, size) ((void)(address), (void)(size))
#define ASAN_UNPOISON_MEMORY_REGION(address, size) ((void)(address), (void)(size))
#endif

namespace tarnvale::record_memory {

namespace {

constexpr std::size_t kPage = 4096;
constexpr std::size_t kChunkSize = std::size_t{4} * 1024 * 1024;
// Blocks from this size on get a mapping of their own.
constexpr std::size_t kLargeBlock = std::size_t{256} * 1024;
// Freed large blocks kept for reuse: an array that grows leaves its old
// block behind, which the next array to grow can take with its pages
// already in memory.
constexpr std::size_t kMostSpareBytes = std::size_t{64} * 1024 * 1024;
constexpr std::size_t kGrain = alignof(std::max_align_t);
// A freed small block holds the address of the next one of its size.
constexpr std::size_t kLinkSize = sizeof(std::byte*);
#if defined(__SANITIZE_ADDRESS__)
constexpr std::size_t kRedZone = kGrain;  // poisoned gap behind every small block
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr std::size_t kRedZone = kGrain;
#else
constexpr std::size_t kRedZone = 0;
#endif
#else
constexpr std::size_t kRedZone = 0;
#endif

constexpr std::size_t RoundUp(std::size_t bytes, std::size_t unit) {
  return (bytes + unit - 1) / unit * unit;
}

// A mapping of `bytes`, a multiple of kPage, in the system's ordinary pages.
// It does not ask for transparent huge pages: on a virtual machine whose
// host takes back the memory its guest leaves free, a fresh huge page is
// backed by the host page by page while the kernel clears it, and measured
// runs took two to four times as long, in about every other run. Where huge
// pages are asked for, the kernel may also compact memory on the fault.
std::byte* Map(std::size_t bytes) {
  return static_cast<std::byte*>(platform::MapZeroedMemory(bytes));
}

void Unmap(std::byte* block, std::size_t bytes) {
  ASAN_UNPOISON_MEMORY_REGION(block, bytes);  // the addresses may be mapped again
  platform::UnmapMemory(block, bytes);
}

// A lock held for a few dozen instructions at a time, by loading threads
// that take and give back blocks by the hundred thousand. A waiter spins
// briefly instead of sleeping in the kernel at once, as a mutex would, and
// only yields its core when the holder seems not to be running.
class SpinLock {
 public:
  void lock() noexcept {
    constexpr int kSpinsBeforeYield = 64;
    while (locked_.exchange(true, std::memory_order_acquire)) {
      for (int spin = 0; locked_.load(std::memory_order_relaxed); ++spin) {
        if (spin < kSpinsBeforeYield) {
          Pause();
        } else {
          std::this_thread::yield();
        }
      }
    }
  }
  void unlock() noexcept { locked_.store(false, std::memory_order_release); }

 private:
  static void Pause() noexcept {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
  }

  std::atomic<bool> locked_{false};
};

class Arena {
 public:
  struct Mapping {
    std::byte* start;
    std::size_t bytes;
  };

  void* AllocateSmall(std::size_t size) {
    const std::scoped_lock hold(lock_);
    std::byte* block = TakeFreed(size);
    if (!block) {
      if (static_cast<std::size_t>(end_ - next_) < size + kRedZone) NewChunk();
      block = next_;
      next_ += size + kRedZone;
    }
    ++live_blocks_;
    ASAN_UNPOISON_MEMORY_REGION(block, size);
    return block;
  }

  void DeallocateSmall(void* block, std::size_t size) {
    const std::scoped_lock hold(lock_);
    if (CountOff(1)) return;
    KeepFreed(static_cast<std::byte*>(block), size);
    ASAN_POISON_MEMORY_REGION(block, size);
  }

  // Counts off `count` small blocks freed without the lock, none of them
  // kept for reuse.
  void CountOffFreed(std::size_t count) {
    const std::scoped_lock hold(lock_);
    CountOff(count);
  }

  // A large block of at least `bytes` (whole pages): a spare one when one
  // fits without wasting more than its size, else a new mapping.
  std::byte* AllocateLarge(std::size_t bytes) {
    const std::scoped_lock hold(lock_);
    live_large_.reserve(live_large_.size() + 1);  // before mapping, so that nothing leaks
    auto best = spare_.end();
    for (auto spare = spare_.begin(); spare != spare_.end(); ++spare) {
      const bool fits = spare->bytes >= bytes && spare->bytes <= 2 * bytes;
      if (fits && (best == spare_.end() || spare->bytes < best->bytes)) best = spare;
    }
    Mapping block{};
    if (best != spare_.end()) {
      block = *best;
      spare_.erase(best);
      ASAN_UNPOISON_MEMORY_REGION(block.start, block.bytes);
    } else {
      block = {Map(bytes), bytes};
    }
    live_large_.push_back(block);
    return block.start;
  }

  // Keeps a freed large block for the next one, unless the spares already
  // hold enough; all go back to the system once no large block is in use.
  void DeallocateLarge(void* start) {
    const std::scoped_lock hold(lock_);
    auto live = std::find_if(live_large_.begin(), live_large_.end(),
                             [start](const Mapping& mapping) { return mapping.start == start; });
    if (live == live_large_.end()) return;
    const Mapping block = *live;
    live_large_.erase(live);
    if (!KeepSpare(block)) Unmap(block.start, block.bytes);
    if (live_large_.empty()) {
      for (const Mapping& spare : spare_) Unmap(spare.start, spare.bytes);
      spare_.clear();
    }
  }

  std::size_t ReservedBytes() {
    const std::scoped_lock hold(lock_);
    std::size_t bytes = chunks_.size() * kChunkSize + SpareBytes();
    for (const Mapping& live : live_large_) bytes += live.bytes;
    return bytes;
  }

 private:
  void NewChunk() {
    chunks_.reserve(chunks_.size() + 1);  // before mapping, so that nothing leaks
    std::byte* chunk = Map(kChunkSize);
    ASAN_POISON_MEMORY_REGION(chunk, kChunkSize);
    chunks_.push_back(chunk);
    next_ = chunk;
    end_ = chunk + kChunkSize;
  }

  bool KeepSpare(const Mapping& block) {
    if (SpareBytes() + block.bytes > kMostSpareBytes) return false;
    try {
      spare_.push_back(block);
    } catch (const std::bad_alloc&) {
      return false;
    }
    ASAN_POISON_MEMORY_REGION(block.start, block.bytes);
    return true;
  }

  std::size_t SpareBytes() const {
    std::size_t bytes = 0;
    for (const Mapping& spare : spare_) bytes += spare.bytes;
    return bytes;
  }

  // Counts off `count` small blocks no longer in use. True when none is
  // left: the chunks have gone back to the system then.
  bool CountOff(std::size_t count) {
    live_blocks_ -= count;
    if (live_blocks_ != 0) return false;
    ReleaseChunks();
    return true;
  }

  void ReleaseChunks() {
    for (std::byte* chunk : chunks_) Unmap(chunk, kChunkSize);
    chunks_.clear();
    freed_.fill(nullptr);
    next_ = end_ = nullptr;
  }

  // A freed small block of exactly `size` bytes, or nullptr. The freed
  // blocks of one size are a list linked through their first bytes.
  std::byte* TakeFreed(std::size_t size) {
    std::byte*& first = freed_[size / kGrain];
    std::byte* block = first;
    if (!block) return nullptr;
    ASAN_UNPOISON_MEMORY_REGION(block, kLinkSize);
    std::memcpy(&first, block, kLinkSize);
    return block;
  }

  // Keeps a freed small block for the next one of its size.
  void KeepFreed(std::byte* block, std::size_t size) {
    std::byte*& first = freed_[size / kGrain];
    std::memcpy(block, &first, kLinkSize);
    first = block;
  }

  SpinLock lock_;
  std::vector<std::byte*> chunks_;
  std::byte* next_ = nullptr;
  std::byte* end_ = nullptr;
  std::size_t live_blocks_ = 0;
  // The last freed small block of each size, by size / kGrain. Arrays grow
  // through the same sizes, so the arrays of one file's records, freed once
  // they are merged, serve the next file's.
  std::array<std::byte*, kLargeBlock / kGrain> freed_{};
  std::vector<Mapping> live_large_;
  std::vector<Mapping> spare_;  // freed large blocks kept for reuse
};

// True while a WholeRelease lives on this thread.
thread_local bool releasing_whole = false;
// Small blocks this thread freed during its WholeRelease, counted off at
// its end all at once rather than one lock each.
thread_local std::size_t freed_in_whole_release = 0;

// Never destroyed: records in static storage may be freed after it would be.
Arena& TheArena() {
  static Arena* const arena = new Arena;
  return *arena;
}

}  // namespace

void* Allocate(std::size_t bytes) {
  // Far beyond any memory; rounding it up would wrap around.
  constexpr std::size_t kImpossible = std::numeric_limits<std::size_t>::max() / 4;
  if (bytes > kImpossible) throw std::bad_alloc();
  const std::size_t size = RoundUp(bytes == 0 ? 1 : bytes, kGrain);
  if (size < kLargeBlock) return TheArena().AllocateSmall(size);
  return TheArena().AllocateLarge(RoundUp(size, kPage));
}

void Deallocate(void* block, std::size_t bytes) noexcept {
  const std::size_t size = RoundUp(bytes == 0 ? 1 : bytes, kGrain);
  if (size >= kLargeBlock) return TheArena().DeallocateLarge(block);
  if (releasing_whole) {
    ASAN_POISON_MEMORY_REGION(block, size);
    ++freed_in_whole_release;
    return;
  }
  TheArena().DeallocateSmall(block, size);
}

std::size_t ReservedBytes() { return TheArena().ReservedBytes(); }

WholeRelease::WholeRelease() : outer_(!std::exchange(releasing_whole, true)) {}

WholeRelease::~WholeRelease() {
  if (!outer_) return;
  releasing_whole = false;
  if (freed_in_whole_release != 0) {
    TheArena().CountOffFreed(std::exchange(freed_in_whole_release, 0));
  }
}

}  // namespace tarnvale::record_memory
