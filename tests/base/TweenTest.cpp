#include "base/Tween.h"
#include "base/Clock.h"

#include <gtest/gtest.h>

TEST(Tween, InactiveAnswersFromAndFinishedKeepsAnsweringTo)
{
    ResetClock();
    Tween tween;
    EXPECT_FALSE(tween.active);
    EXPECT_EQ(tween.startTime, 0u);
    EXPECT_EQ(tween.endTime, 0u);

    tween.from = 7.0f;
    tween.to = 99.0f;
    EXPECT_FLOAT_EQ(tween.Value(), 7.0f);

    gameTime = 1000;
    tween.Start(0.0f, 255.0f, 1000);
    EXPECT_EQ(tween.startTime, 1000u);
    EXPECT_EQ(tween.endTime, 2000u);
    EXPECT_FLOAT_EQ(tween.Value(), 0.0f);
    gameTime = 1250;
    EXPECT_FLOAT_EQ(tween.Value(), 63.75f);
    gameTime = 2000;
    EXPECT_FLOAT_EQ(tween.Value(), 255.0f);
    gameTime = 90000;
    EXPECT_FLOAT_EQ(tween.Value(), 255.0f);
    EXPECT_TRUE(tween.active);
}

TEST(Tween, RunsAcrossTheClockWrapAndFallingValues)
{
    ResetClock();
    gameTime = 0xFFFFFF00u; // 256 ms before the wrap
    Tween tween;
    tween.Start(255.0f, 0.0f, 512);
    gameTime += 256; // wrapped to 0
    EXPECT_EQ(gameTime, 0u);
    EXPECT_FLOAT_EQ(tween.Value(), 127.5f);
    gameTime += 256;
    EXPECT_FLOAT_EQ(tween.Value(), 0.0f);
}

TEST(Tween, ZeroDurationIsAtItsEndAtOnce)
{
    ResetClock();
    gameTime = 500;
    Tween tween;
    tween.Start(1.0f, 0.25f, 0);
    EXPECT_FLOAT_EQ(tween.Value(), 0.25f);
}
