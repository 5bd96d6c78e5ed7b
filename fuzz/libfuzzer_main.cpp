// One libFuzzer program per entry: TARNVALE_FUZZ_ENTRY names the entry.
#include "fuzz/fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return tarnvale::fuzz::TARNVALE_FUZZ_ENTRY(data, size);
}
