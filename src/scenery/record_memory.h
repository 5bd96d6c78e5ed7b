// Memory for the record arrays of navigation databases.
//
// A world-sized run builds tens of megabytes of records in a few hundred
// thousand arrays, on several threads, and the first touch of every page
// costs a page fault. Record memory takes blocks from the system and serves
// the arrays from them, so that memory once touched serves again:
//  - small arrays are carved out of shared chunks; a freed one is kept for
//    the next small array of exactly its size, and all chunks are given
//    back once the last small array is freed (a run frees its whole
//    database at its end);
//  - large arrays get a block of their own. A freed one is kept for the
//    next large array (a growing array frees its old block), up to a limit;
//    the kept ones go back once no large array is left.
// Allocation is thread-safe. Under AddressSanitizer the unused parts of
// chunks are poisoned, so reads past an array are still caught.
#pragma once

#include <cstddef>
#include <new>
#include <vector>

namespace tarnvale {

namespace record_memory {

// `bytes` of memory aligned to at least alignof(std::max_align_t); throws
// std::bad_alloc when the system has none.
void* Allocate(std::size_t bytes);
// Gives back a block from Allocate of the same size.
void Deallocate(void* block, std::size_t bytes) noexcept;

// Bytes in chunks and large blocks currently taken from the system.
std::size_t ReservedBytes();

// While one lives on a thread, the small blocks that thread gives back are
// not kept for the next block of their size, and they are counted off only
// when it ends. A database given back whole frees a few hundred thousand
// arrays, whose chunks then go back to the system: keeping each would only
// touch its memory once more, and taking the lock for each costs more than
// the freeing itself.
class WholeRelease {
 public:
  WholeRelease();
  ~WholeRelease();
  WholeRelease(const WholeRelease&) = delete;
  WholeRelease& operator=(const WholeRelease&) = delete;

 private:
  bool outer_;
};

}  // namespace record_memory

template <typename T>
struct RecordAllocator {
  using value_type = T;
  static_assert(alignof(T) <= alignof(std::max_align_t));

  RecordAllocator() = default;
  template <typename U>
  RecordAllocator(const RecordAllocator<U>&) noexcept {}

  T* allocate(std::size_t count) {
    if (count > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    return static_cast<T*>(record_memory::Allocate(count * sizeof(T)));
  }
  void deallocate(T* block, std::size_t count) noexcept {
    record_memory::Deallocate(block, count * sizeof(T));
  }
  template <typename U>
  bool operator==(const RecordAllocator<U>&) const noexcept {
    return true;
  }
};

// An array of records in record memory.
template <typename Record>
using RecordArray = std::vector<Record, RecordAllocator<Record>>;

}  // namespace tarnvale
