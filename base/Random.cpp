#include "base/Random.h"

namespace {
Random generator;
}

void rng::srand(uint32_t seed)
{
    generator.Seed(seed);
}

int rng::rand()
{
    return generator.Next();
}

uint32_t rng::state()
{
    return generator.state;
}
