#include "app/MainLoop.h"
#include "base/Clock.h"
#include "app/GameBase.h"
#include "base/Random.h"
#include "base/Timer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// A game that records gameTime at each frame and ends after a given number of frames.
class ScriptedGame : public GameBase {
public:
    ScriptedGame(size_t frameCount, bool* deletedFlag)
        : GameBase("loop test")
        , framesToRun(frameCount)
        , deleted(deletedFlag)
    {
    }
    ~ScriptedGame() override { *deleted = true; }

    bool frame() override
    {
        seen.push_back(gameTime);
        if (pauseToggles.count(seen.size()) != 0)
            gamePaused = !gamePaused;
        return seen.size() < framesToRun;
    }

    size_t framesToRun;
    bool* deleted;
    std::set<size_t> pauseToggles; // frames that toggle the pause, as the play screen would
    std::vector<uint32_t> seen;
};

class MainLoopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetClock();
        DestroyAllTimers();
    }

    // A platform whose counter answers the given readings in turn.
    LoopPlatform Scripted(std::vector<uint32_t> readings)
    {
        script = std::move(readings);
        next = 0;
        return LoopPlatform { [this] { return script.at(next++); }, [this] { ++yields; } };
    }

    std::vector<uint32_t> script;
    size_t next = 0;
    int yields = 0;
};

TEST_F(MainLoopTest, AddsTrueElapsedTimeAcrossTheCounterWrap)
{
    bool deleted = false;
    const int code = RunMainLoop([&] { return new ScriptedGame(3, &deleted); },
        Scripted({ 0xFFFFFFF0u, 0xFFFFFFFAu, 6u, 40u }));
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(gameTime, 0x38u); // 10 + 12 + 34 ms
    EXPECT_EQ(yields, 3);
    EXPECT_EQ(lastTickTime, 40u);
}

TEST_F(MainLoopTest, SeedsTheGeneratorFromTheFirstReading)
{
    bool deleted = false;
    int firstDraw = -1;
    RunMainLoop(
        [&] {
            firstDraw = rng::rand();
            return new ScriptedGame(1, &deleted);
        },
        Scripted({ 777u, 778u }));
    EXPECT_EQ(firstDraw, Random(777u).Next());
    // A frame that answers false at once still ends in an orderly teardown.
    EXPECT_TRUE(deleted);
    EXPECT_EQ(yields, 1);
}

TEST_F(MainLoopTest, PausedPassesDropTheirTime)
{
    bool deleted = false;
    RunMainLoop(
        [&] {
            auto* game = new ScriptedGame(5, &deleted);
            game->pauseToggles = { 2, 4 };
            return game;
        },
        Scripted({ 100, 110, 130, 1130, 5130, 5150 }));
    // Frame times: 10, 30, then paused across 1000 and 4000 ms, then resumed.
    EXPECT_EQ(gameTime, 50u);
}

// Sets or clears environment variables for one test and puts them back afterwards.
class ScopedEnvironment {
public:
    void Set(const char* name, const char* value)
    {
        const char* previous = std::getenv(name);
        saved.push_back({ name, previous != nullptr, previous != nullptr ? previous : "" });
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnvironment()
    {
        for (auto it = saved.rbegin(); it != saved.rend(); ++it) {
            if (it->wasSet)
                setenv(it->name.c_str(), it->value.c_str(), 1);
            else
                unsetenv(it->name.c_str());
        }
    }

private:
    struct Saved {
        std::string name;
        bool wasSet;
        std::string value;
    };
    std::vector<Saved> saved;
};

// Runs a game that would never end by itself; answers the exit code and what went to stderr.
std::pair<int, std::string> RunUnstartableGame(bool& deleted, int& frames)
{
    ::testing::internal::CaptureStderr();
    const int code = RunMainLoop([&] { return new ScriptedGame(1000000, &deleted); },
        LoopPlatform { [] { return 0u; }, [&] { ++frames; } });
    return { code, ::testing::internal::GetCapturedStderr() };
}

TEST(MainLoopStart, ReportsAVideoFailureAndEndsWithAnError)
{
    ScopedEnvironment environment;
    environment.Set("SDL_VIDEODRIVER", "no-such-driver");
    bool deleted = false;
    int frames = 0;
    const auto [code, errors] = RunUnstartableGame(deleted, frames);
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(frames, 0);
    EXPECT_NE(errors.find("skarvold: cannot start: video system"), std::string::npos) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1);
}

TEST(MainLoopStart, RefusesAnInvisibleWindowWhenNoDisplayIsReachable)
{
    // A machine with a DRM device may open a real full-screen picture instead.
    if (std::filesystem::exists("/dev/dri"))
        GTEST_SKIP() << "a DRM device is present";
    ScopedEnvironment environment;
    environment.Set("SDL_VIDEODRIVER", nullptr);
    environment.Set("DISPLAY", nullptr);
    environment.Set("WAYLAND_DISPLAY", nullptr);
    bool deleted = false;
    int frames = 0;
    const auto [code, errors] = RunUnstartableGame(deleted, frames);
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(frames, 0);
    EXPECT_NE(errors.find("no display found"), std::string::npos) << errors;
}

} // namespace
