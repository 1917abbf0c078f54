// The two-byte random generator of the random fill.
#pragma once

#include <cstdint>

extern std::int32_t RandSeed1;
extern std::int32_t RandSeed2;

// One step of the generator; both seeds must be in 0..255 and stay there.
// The new first seed is the step's random value.
void NextRandom(std::int32_t &seed1, std::int32_t &seed2);
