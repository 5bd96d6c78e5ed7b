// A small deterministic random source (splitmix64): the same seed gives the
// same numbers with every compiler and standard library.
#pragma once

#include <cstdint>

namespace tarnvale::fab {

class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [0, 1), from the top 53 bits.
  double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
  // Uniform in [low, high).
  double Between(double low, double high) { return low + (high - low) * Unit(); }
  // Uniform in [0, count); 0 when count is 0.
  std::uint64_t Below(std::uint64_t count) { return count == 0 ? 0 : Next() % count; }
  // True with probability `p`.
  bool Chance(double p) { return Unit() < p; }

 private:
  std::uint64_t state_;
};

// A seed for part `index` of a whole made from `seed`, independent of the
// seeds of the other parts.
inline std::uint64_t DeriveSeed(std::uint64_t seed, std::uint64_t index) {
  Random mixer(seed ^ (index * 0xD1B54A32D192ED03ull));
  return mixer.Next();
}

}  // namespace tarnvale::fab
