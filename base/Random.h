#pragma once

#include <cstdint>

// A linear congruential generator: state = state * 214013 + 2531011 (mod 2^32), answering
// bits 16 to 30 of the new state, 0 to 32767. The sequence is the same on every platform,
// so a seed and a script of inputs replay a game exactly.
class Random {
public:
    static constexpr int Max = 32767;

    explicit Random(uint32_t seed = 1)
        : state(seed)
    {
    }

    void Seed(uint32_t seed) { state = seed; }

    int Next()
    {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7fffu);
    }

    uint32_t state;
};

// The game's one generator, seeded once at start. Every random choice of the game is one
// call reduced modulo a constant, in a fixed order, so these are the only calls to use.
namespace rng {
void srand(uint32_t seed);
int rand();
// The generator's state, for tests that count how many draws a piece of the game makes.
uint32_t state();
} // namespace rng
