// The two-byte random generator of the random fill.
#include "cave/functions_random_gen.h"

std::int32_t RandSeed1{};
std::int32_t RandSeed2{};

namespace {

constexpr std::int32_t ByteMask = 255;
constexpr std::int32_t Increment = 19;

// Keeps the low byte of a sum and says whether it carried out of it.
std::int32_t AddWithCarry(std::int32_t sum, std::int32_t &carry) {
  carry = sum > ByteMask ? 1 : 0;
  return sum & ByteMask;
}

} // namespace

void NextRandom(std::int32_t &seed1, std::int32_t &seed2) {
  // Both halves are taken from the seeds as they stand on entry.
  const std::int32_t lowBitOfFirst = (seed1 & 1) * 128;
  const std::int32_t secondHalved = (seed2 >> 1) & 127;
  std::int32_t carry = 0;

  std::int32_t sum = AddWithCarry(seed2 + (seed2 & 1) * 128, carry);
  const std::int32_t newSecond = AddWithCarry(sum + carry + Increment, carry);
  sum = AddWithCarry(seed1 + carry + lowBitOfFirst, carry);
  seed1 = (sum + carry + secondHalved) & ByteMask;
  seed2 = newSecond;
}
