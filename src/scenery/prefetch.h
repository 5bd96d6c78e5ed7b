// Asking the processor to bring memory into its cache ahead of a use.
#pragma once

namespace tarnvale {

// Brings the cache line holding `address` in, without waiting for it. An
// address that is not mapped is ignored by the processor.
//
// GCC judges a function whose only statement is __builtin_prefetch to have
// no effect, and drops every call to it that it does not inline first: the
// index lookups' prefetches were never emitted that way. The instruction
// written out is kept wherever it is called from.
inline void PrefetchAddress(const void* address) {
#if defined(__x86_64__) || defined(__i386__)
  asm volatile("prefetcht0 %0" : : "m"(*static_cast<const char*>(address)));
#else
  __builtin_prefetch(address);
#endif
}

}  // namespace tarnvale
