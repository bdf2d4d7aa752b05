#pragma once
#include <cstdint>

namespace pelvanto::overlay {

// The cut margin's generator (xoshiro256**). Re-seeding mixes a number into the state instead
// of replacing it, so that cuts at the same second of different minutes still differ.
class MarginRandom {
 public:
  explicit MarginRandom(std::uint64_t seed);
  void Reseed(int value);
  // 0 <= r < 1.
  double Next();

 private:
  std::uint64_t Step();
  std::uint64_t state_[4];
};

}  // namespace pelvanto::overlay
