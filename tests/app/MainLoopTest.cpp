#include "app/MainLoop.h"
#include "app/GameBase.h"
#include "base/Clock.h"
#include "base/Random.h"
#include "base/Timer.h"

#include "support/ScopedEnvironment.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// A game that records gameTime at each frame and ends after a given number of frames.
class ScriptedGame : public GameBase {
public:
    ScriptedGame(size_t frameCount, bool* deletedFlag,
        const DisplayConnector& connector = SdlDisplayConnector())
        : GameBase("loop test", connector)
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

// Runs a game of `frameCount` frames; answers the exit code and what went to stderr.
std::pair<int, std::string> RunGame(size_t frameCount, bool& deleted, int& frames,
    const DisplayConnector& connector = SdlDisplayConnector())
{
    ::testing::internal::CaptureStderr();
    const int code = RunMainLoop([&] { return new ScriptedGame(frameCount, &deleted, connector); },
        LoopPlatform { [] { return 0u; }, [&] { ++frames; } });
    return { code, ::testing::internal::GetCapturedStderr() };
}

// Runs a game that would never end by itself.
std::pair<int, std::string> RunUnstartableGame(
    bool& deleted, int& frames, const DisplayConnector& connector = SdlDisplayConnector())
{
    return RunGame(1000000, deleted, frames, connector);
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
    EXPECT_EQ(errors, "skarvold: cannot start: video system: no-such-driver not available\n");
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
    // Without it libwayland complains on stderr when asked to connect.
    environment.Set("XDG_RUNTIME_DIR", nullptr);
    bool deleted = false;
    int frames = 0;
    const auto [code, errors] = RunUnstartableGame(deleted, frames);
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(frames, 0);
    // The game's own line and nothing else.
    EXPECT_EQ(errors,
        "skarvold: cannot start: video system: no display found (is DISPLAY or WAYLAND_DISPLAY "
        "set?)\n");
}

// A display server that turns the first `refusals` connections away (all of them when
// negative) and then answers; the answer is SDL's headless driver, as no real server is at
// hand. It records the drivers asked for and the waits between tries.
class BusyDisplay {
public:
    explicit BusyDisplay(int refusalCount)
        : refusals(refusalCount)
    {
    }

    DisplayConnector Connector()
    {
        return DisplayConnector {
            [this](const char* driver) {
                asked.emplace_back(driver);
                if (refusals < 0 || static_cast<int>(asked.size()) <= refusals) {
                    SDL_SetError("%s not available", driver);
                    return false;
                }
                SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "offscreen", SDL_HINT_OVERRIDE);
                return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
            },
            [this](uint32_t ms) { waits.push_back(ms); },
        };
    }

    uint32_t WaitedMs() const { return std::accumulate(waits.begin(), waits.end(), 0u); }

    int refusals;
    std::vector<std::string> asked;
    std::vector<uint32_t> waits;
};

class MainLoopBusyDisplay : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetClock();
        DestroyAllTimers();
        environment.Set("SDL_VIDEODRIVER", nullptr);
        environment.Set("DISPLAY", ":140");
        environment.Set("WAYLAND_DISPLAY", nullptr);
        environment.Set("XDG_RUNTIME_DIR", "/run/user/4321");
    }

    ScopedEnvironment environment;
    bool deleted = false;
    int frames = 0;
};

TEST_F(MainLoopBusyDisplay, TriesAgainUntilTheDisplayAnswers)
{
    BusyDisplay display(2);
    ::testing::internal::CaptureStderr();
    const int code = RunMainLoop([&] { return new ScriptedGame(1, &deleted, display.Connector()); },
        LoopPlatform { [] { return 0u; }, [&] { ++frames; } });
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(code, 0);
    EXPECT_EQ(errors, "");
    EXPECT_EQ(frames, 1);
    EXPECT_EQ(display.asked, (std::vector<std::string> { "x11", "x11", "x11" }));
    // Each new try comes after a pause that gives the server time.
    ASSERT_EQ(display.waits.size(), 2u);
    EXPECT_GT(display.waits[0], 0u);
    EXPECT_GT(display.waits[1], 0u);
}

TEST_F(MainLoopBusyDisplay, GivesUpWithinTwoSecondsNamingTheDisplayAndTheReason)
{
    BusyDisplay display(-1);
    const auto [code, errors] = RunUnstartableGame(deleted, frames, display.Connector());
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(frames, 0);
    EXPECT_EQ(errors, "skarvold: cannot start: cannot open display \":140\" (x11 not available)\n");
    EXPECT_GE(display.asked.size(), 3u);
    // The pauses between the tries make the whole failure: long enough for a busy server to
    // catch up, short enough for a player waiting to hear why.
    EXPECT_GE(display.WaitedMs(), 500u);
    EXPECT_LT(display.WaitedMs(), 2000u);
    // No pause after the last try.
    EXPECT_EQ(display.waits.size(), display.asked.size() - 1);
}

TEST_F(MainLoopBusyDisplay, TriesEveryNamedDisplayAndNamesEachOneThatFailed)
{
    environment.Set("WAYLAND_DISPLAY", "wayland-7");
    BusyDisplay display(-1);
    const auto [code, errors] = RunUnstartableGame(deleted, frames, display.Connector());
    EXPECT_EQ(code, 1);
    EXPECT_EQ(errors,
        "skarvold: cannot start: cannot open display \":140\" (x11 not available), nor "
        "\"wayland-7\" (wayland not available)\n");
    ASSERT_GE(display.asked.size(), 4u);
    EXPECT_EQ(display.asked.size() % 2, 0u);
    for (size_t attempt = 0; attempt < display.asked.size(); attempt += 2) {
        EXPECT_EQ(display.asked[attempt], "x11");
        EXPECT_EQ(display.asked[attempt + 1], "wayland");
    }
}

TEST_F(MainLoopBusyDisplay, WaylandWithoutARuntimeFolderIsNamedWithoutAsking)
{
    environment.Set("DISPLAY", nullptr);
    environment.Set("WAYLAND_DISPLAY", "wayland-7");
    environment.Set("XDG_RUNTIME_DIR", nullptr);
    BusyDisplay display(-1);
    const auto [code, errors] = RunUnstartableGame(deleted, frames, display.Connector());
    EXPECT_EQ(code, 1);
    EXPECT_EQ(errors,
        "skarvold: cannot start: cannot open display \"wayland-7\" (XDG_RUNTIME_DIR is not "
        "set)\n");
    // libwayland would only print its own complaint, and no wait brings the folder back.
    EXPECT_TRUE(display.asked.empty());
    EXPECT_TRUE(display.waits.empty());
}

TEST_F(MainLoopBusyDisplay, ADriverAskedForByNameIsUsedAsItIs)
{
    // x11 by name still goes to DISPLAY, busy or not.
    environment.Set("SDL_VIDEODRIVER", "x11");
    BusyDisplay x11(1);
    const auto [code, errors] = RunGame(1, deleted, frames, x11.Connector());
    EXPECT_EQ(code, 0) << errors;
    EXPECT_EQ(x11.asked, (std::vector<std::string> { "x11", "x11" }));

    // A driver without a display of its own fails at once: no wait mends it, and the line
    // blames the driver, not a variable that is set.
    environment.Set("SDL_VIDEODRIVER", "kmsdrm");
    BusyDisplay console(-1);
    const auto [consoleCode, consoleErrors]
        = RunUnstartableGame(deleted, frames, console.Connector());
    EXPECT_EQ(consoleCode, 1);
    EXPECT_EQ(consoleErrors, "skarvold: cannot start: video system: kmsdrm not available\n");
    EXPECT_EQ(console.asked, (std::vector<std::string> { "kmsdrm" }));
    EXPECT_TRUE(console.waits.empty());
}

} // namespace
