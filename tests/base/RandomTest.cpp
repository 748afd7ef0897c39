#include "base/Random.h"

#include <gtest/gtest.h>

TEST(Random, SeedOneGivesTheKnownSequence)
{
    Random random(1);
    const int expected[] = { 41, 18467, 6334, 26500, 19169 };
    for (int value : expected)
        EXPECT_EQ(random.Next(), value);
}

TEST(Random, GlobalGeneratorFollowsItsSeedAndStaysInRange)
{
    rng::srand(123456789u);
    Random reference(123456789u);
    for (int draw = 0; draw < 1000; ++draw) {
        const int value = rng::rand();
        ASSERT_EQ(value, reference.Next());
        ASSERT_GE(value, 0);
        ASSERT_LE(value, Random::Max);
    }
    // Reseeding starts the sequence over.
    rng::srand(1);
    EXPECT_EQ(rng::rand(), 41);
}
