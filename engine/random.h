#pragma once
// The engine's pseudo-random generator: one process-wide 32-bit linear congruential seed. Its
// sequence is fixed, so that a seed always gives the same numbers.

#include <cstdint>

// Sets the seed.
void RandomSeed(std::uint32_t seed);
// The current seed (advanced by every draw).
std::uint32_t RandomState();
// A whole number from min to max inclusive.
int RandomInteger(int min, int max);
// A number from min up to (but, for min < max, not reaching) max.
float RandomReal(float min, float max);
