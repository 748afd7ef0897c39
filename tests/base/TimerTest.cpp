#include "base/Timer.h"
#include "base/Clock.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class TimerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetClock();
        DestroyAllTimers();
    }
    void TearDown() override { DestroyAllTimers(); }

    // Advances gameTime in frames of `frameMs` up to `until`, ticking once per frame.
    void RunFrames(uint32_t frameMs, uint32_t until)
    {
        while (gameTime + frameMs <= until) {
            gameTime += frameMs;
            TickTimers();
        }
    }
};

TEST_F(TimerTest, FiresAtTheFirstFrameThatReachesItsTimeAndOnlyOnce)
{
    gameTime = 1000;
    Timer* timer = CreateTimer();
    EXPECT_FALSE(timer->active);
    int fired = 0;
    timer->Start([&] { ++fired; }, 500, false);
    EXPECT_EQ(timer->fireTime, 1500u);

    gameTime = 1499;
    TickTimers();
    EXPECT_EQ(fired, 0);
    gameTime = 1500;
    TickTimers();
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(timer->active);
    gameTime = 5000;
    TickTimers();
    EXPECT_EQ(fired, 1);
}

TEST_F(TimerTest, StartOnAnActiveTimerChangesNothing)
{
    Timer* timer = CreateTimer();
    int first = 0;
    int second = 0;
    timer->Start([&] { ++first; }, 100, false);
    gameTime = 50;
    timer->Start([&] { ++second; }, 1000, true);
    EXPECT_EQ(timer->fireTime, 100u);
    EXPECT_EQ(timer->interval, 100u);
    EXPECT_FALSE(timer->repeat);
    gameTime = 100;
    TickTimers();
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0);

    // Stopped by clearing active, a timer can be started afresh.
    timer->Start([&] { ++second; }, 10, false);
    timer->active = false;
    timer->Start([&] { ++second; }, 20, false);
    EXPECT_EQ(timer->fireTime, 120u);
}

TEST_F(TimerTest, RepeatingTimerCountsFromTheFrameItFired)
{
    Timer* timer = CreateTimer();
    std::vector<uint32_t> firedAt;
    timer->Start([&] { firedAt.push_back(gameTime); }, 500, true);
    RunFrames(40, 1600);
    EXPECT_EQ(firedAt, (std::vector<uint32_t> { 520, 1040, 1560 }));

    // A long stall fires a repeating timer once, not once per missed interval.
    gameTime += 5000;
    TickTimers();
    EXPECT_EQ(firedAt.size(), 4u);
}

TEST_F(TimerTest, PausedClockHoldsTimersBack)
{
    Timer* timer = CreateTimer();
    int fired = 0;
    lastTickTime = 10;
    AdvanceClock(10);
    timer->Start([&] { ++fired; }, 300, false);

    // 200 ms of play, 10 s paused, then 100 ms more play.
    AdvanceClock(210);
    TickTimers();
    gamePaused = true;
    for (uint32_t now = 1210; now <= 10210; now += 1000) {
        AdvanceClock(now);
        TickTimers();
    }
    EXPECT_EQ(fired, 0);
    EXPECT_EQ(gameTime, 200u);
    gamePaused = false;
    AdvanceClock(10309);
    TickTimers();
    EXPECT_EQ(fired, 0);
    AdvanceClock(10310);
    TickTimers();
    EXPECT_EQ(fired, 1);
}

TEST_F(TimerTest, DeadTimersNeverFireAndAreSwapRemoved)
{
    Timer* a = CreateTimer();
    Timer* b = CreateTimer();
    Timer* c = CreateTimer();
    int fired = 0;
    a->Start([&] { ++fired; }, 10, false);
    b->Start([&] { ++fired; }, 10, false);
    c->Start([&] { ++fired; }, 10, false);
    a->dead = true;
    gameTime = 10;
    TickTimers();
    EXPECT_EQ(fired, 2);
    ASSERT_EQ(timers.size(), 2u);
    EXPECT_EQ(timers[0], c); // the last record took the freed slot
    EXPECT_EQ(timers[1], b);
}

TEST_F(TimerTest, CallbacksMayRestartKillAndCreateTimersWhileTheTickRuns)
{
    Timer* self = CreateTimer();
    Timer* victim = CreateTimer();
    std::vector<uint32_t> selfFired;
    int victimFired = 0;
    int createdFired = 0;
    Timer* created = nullptr;

    victim->Start([&] { ++victimFired; }, 100, false);
    self->Start(
        [&] {
            selfFired.push_back(gameTime);
            victim->dead = true; // later in the list, due in the same tick
            if (created == nullptr) {
                // Grows the list while the tick walks it; interval 0 fires this tick.
                created = CreateTimer();
                created->Start([&] { ++createdFired; }, 0, false);
            }
            // Arms itself for one more interval, replacing its own callback.
            self->Start([&] { selfFired.push_back(gameTime + 1); }, 50, false);
        },
        100, false);

    gameTime = 100;
    TickTimers();
    EXPECT_EQ(selfFired, (std::vector<uint32_t> { 100 }));
    EXPECT_EQ(victimFired, 0);
    EXPECT_EQ(createdFired, 1);
    EXPECT_TRUE(self->active);
    EXPECT_EQ(self->fireTime, 150u);

    gameTime = 150;
    TickTimers();
    EXPECT_EQ(selfFired, (std::vector<uint32_t> { 100, 151 }));
    for (Timer* timer : timers)
        EXPECT_NE(timer, victim);
}

TEST_F(TimerTest, ACallbackThatRestartsItsTimerStillReadsWhatItCaptured)
{
    struct Shared {
        Timer* timer = nullptr;
        std::vector<int> seen;
    };
    Shared shared;
    shared.timer = CreateTimer();
    Shared* state = &shared;
    // Starting its own timer again replaces the stored callback while this one still runs;
    // reading `tag` afterwards must still see this callback's own capture.
    shared.timer->Start(
        [state, tag = 1] {
            state->timer->Start([state, tag = 2] { state->seen.push_back(tag); }, 50, false);
            state->seen.push_back(tag);
        },
        100, false);
    gameTime = 100;
    TickTimers();
    gameTime = 150;
    TickTimers();
    EXPECT_EQ(shared.seen, (std::vector<int> { 1, 2 }));
}

TEST_F(TimerTest, ACallbackMayKillItsOwnTimer)
{
    Timer* timer = CreateTimer();
    int fired = 0;
    timer->Start(
        [&] {
            ++fired;
            timer->dead = true;
        },
        10, true);
    gameTime = 10;
    TickTimers();
    gameTime = 20;
    TickTimers();
    EXPECT_EQ(fired, 1);
    EXPECT_TRUE(timers.empty());
}

} // namespace
