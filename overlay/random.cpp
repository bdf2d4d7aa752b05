#include "overlay/random.h"

namespace pelvanto::overlay {

namespace {

// splitmix64: spreads any 64-bit value over a well-mixed state word.
std::uint64_t SplitMix64(std::uint64_t& x) {
  x += 0x9E3779B97F4A7C15ULL;
  std::uint64_t z = x;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

std::uint64_t Rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

}  // namespace

MarginRandom::MarginRandom(std::uint64_t seed) : state_{} {
  for (auto& word : state_) word = SplitMix64(seed);
}

void MarginRandom::Reseed(int value) {
  // The value joins the running state instead of replacing it: a clock that only gives the
  // second of the minute would otherwise repeat the same margin every minute.
  std::uint64_t mix = Step() ^ (static_cast<std::uint64_t>(static_cast<std::uint32_t>(value)) *
                                0xD1B54A32D192ED03ULL);
  for (auto& word : state_) word ^= SplitMix64(mix);
  // xoshiro must never hold an all-zero state; XOR with fresh splitmix output could in theory
  // produce one.
  if ((state_[0] | state_[1] | state_[2] | state_[3]) == 0) state_[0] = 1;
}

double MarginRandom::Next() {
  // The top 53 bits give every double in [0, 1) on a 2^-53 grid; 1 is never reached.
  return static_cast<double>(Step() >> 11) * 0x1.0p-53;
}

// xoshiro256** by Blackman and Vigna.
std::uint64_t MarginRandom::Step() {
  const std::uint64_t result = Rotl(state_[1] * 5, 7) * 9;
  const std::uint64_t t = state_[1] << 17;
  state_[2] ^= state_[0];
  state_[3] ^= state_[1];
  state_[1] ^= state_[2];
  state_[0] ^= state_[3];
  state_[2] ^= t;
  state_[3] = Rotl(state_[3], 45);
  return result;
}

}  // namespace pelvanto::overlay
