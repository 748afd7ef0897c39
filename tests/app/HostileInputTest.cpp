// Input no player would make: thousands of key events in one frame, every key of the
// keyboard and a few that no keyboard has, and the window closed in every state of the game.

#include "render/Renderer.h"
#include "render/TextItem.h"

#include "support/GameDriver.h"
#include "support/TestPilot.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Kind = RecordingSoundEngine::Kind;

const std::string moveSound = "Data/Gui/MenuMove.wav";
const std::string selectSound = "Data/Gui/MenuSelect.wav";

// Every scancode SDL has, and the codes beyond them that the scancode type can still hold
// (0 to 1023), which a broken driver might send.
std::vector<SDL_Scancode> EveryKey()
{
    std::vector<SDL_Scancode> keys;
    for (int code = 0; code < SDL_NUM_SCANCODES; ++code)
        keys.push_back(static_cast<SDL_Scancode>(code));
    for (const int code : { int { SDL_NUM_SCANCODES }, 777, 1023 })
        keys.push_back(static_cast<SDL_Scancode>(code));
    return keys;
}

bool NoKeyHeld(const GameMode& play)
{
    return !play.leftHeld && !play.rightHeld && !play.upHeld && !play.downHeld && !play.fireHeld;
}

GameMode* PlayOf(Game& game)
{
    return dynamic_cast<GameMode*>(game.mode.get());
}

MenuMode* MenuOf(Game& game)
{
    return dynamic_cast<MenuMode*>(game.mode.get());
}

TEST(HostileInputTest, TenThousandKeyEventsInOneFrameAreAllHandledInThatFrame)
{
    GameDriver driver;
    ASSERT_TRUE(driver.RunFor(600));
    for (int i = 0; i < 5000; ++i)
        GameDriver::Tap(SDL_SCANCODE_DOWN);
    ASSERT_TRUE(driver.Frame());
    EXPECT_EQ(driver.sound->Played(moveSound), 5000);
    EXPECT_EQ(driver.Menu()->selected, driver.Menu()->quitItem);
    EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT), 0);

    GameDriver::Tap(SDL_SCANCODE_UP);
    GameDriver::Tap(SDL_SCANCODE_UP);
    GameDriver::Tap(SDL_SCANCODE_LCTRL);
    ASSERT_TRUE(driver.Frame());
    ASSERT_NE(driver.Play(), nullptr);
    // The key-up behind the press waits for the play screen's first frame; SDL delivers the
    // events that come after it one frame later.
    ASSERT_TRUE(driver.Frame());

    // An even number of pauses leaves the game running, each one heard.
    for (int i = 0; i < 5000; ++i)
        GameDriver::Tap(SDL_SCANCODE_ESCAPE);
    const uint32_t before = gameTime;
    ASSERT_TRUE(driver.Frame());
    EXPECT_EQ(driver.sound->TimesPlayed(moveSound).size(), 10002u);
    EXPECT_EQ(driver.sound->TimesPlayed(moveSound).back(), before + 16);
    EXPECT_FALSE(gamePaused);
    EXPECT_FALSE(driver.Play()->pauseOverlay->visible);

    // The last of 9999 events is a press, and it holds.
    for (int i = 0; i < 4999; ++i)
        GameDriver::Tap(SDL_SCANCODE_RIGHT);
    GameDriver::KeyDown(SDL_SCANCODE_RIGHT);
    ASSERT_TRUE(driver.Frame());
    EXPECT_TRUE(driver.Play()->rightHeld);
    EXPECT_EQ(driver.Play()->player->direction.x, 1.0f);
    EXPECT_TRUE(driver.RunFor(500));
}

TEST(HostileInputTest, AFloodOfPausesWithTheRealSoundEngineLeavesTheGameRunning)
{
    // 5000 pause sounds at once through SDL_mixer: the engine makes room for every one.
    int pass = 0;
    bool pausedAfterFlood = true;
    const int code = RunProgram(5, RealEngine, [&](Game* game) {
        ++pass;
        if (pass == 2)
            TapKey(SDL_SCANCODE_LCTRL);
        if (pass == 10) {
            EXPECT_NE(PlayOf(*game), nullptr);
            for (int i = 0; i < 5000; ++i)
                TapKey(SDL_SCANCODE_ESCAPE);
        }
        if (pass == 11) {
            pausedAfterFlood = gamePaused;
        }
        if (pass == 100)
            PushQuit();
        return 20u;
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(pass, 100);
    EXPECT_FALSE(pausedAfterFlood);
}

TEST(HostileInputTest, EveryKeyPressedAndReleasedInTheMenuAndInPlay)
{
    GameDriver driver;
    ASSERT_TRUE(driver.RunFor(600));
    // In the menu only the arrows and Left Control act: Down, Up, then "PLAY" is taken. The
    // keys behind it reach the play screen in the next frame, and act there on nothing.
    for (const SDL_Scancode key : EveryKey())
        GameDriver::Tap(key);
    ASSERT_TRUE(driver.Frame());
    ASSERT_NE(driver.Play(), nullptr);
    EXPECT_EQ(driver.sound->Played(moveSound), 2);
    EXPECT_EQ(driver.sound->Played(selectSound), 1);
    ASSERT_TRUE(driver.Frame());
    ASSERT_NE(driver.Play(), nullptr);
    EXPECT_TRUE(NoKeyHeld(*driver.Play()));
    EXPECT_FALSE(gamePaused);
    EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT), 0);

    // Every key held at once but Escape: the arrows cancel out, and the ship fires.
    ASSERT_TRUE(driver.RunFor(3000));
    for (const SDL_Scancode key : EveryKey()) {
        if (key != SDL_SCANCODE_ESCAPE)
            GameDriver::KeyDown(key);
    }
    ASSERT_TRUE(driver.Frame());
    const GameMode& play = *driver.Play();
    EXPECT_TRUE(play.leftHeld && play.rightHeld && play.upHeld && play.downHeld && play.fireHeld);
    EXPECT_EQ(play.player->direction.x, 0.0f);
    EXPECT_EQ(play.player->direction.y, 0.0f);
    EXPECT_EQ(driver.sound->Played("Data/Player/Attack.wav"), 1);
    for (const SDL_Scancode key : EveryKey())
        GameDriver::KeyUp(key);
    ASSERT_TRUE(driver.Frame());
    EXPECT_TRUE(NoKeyHeld(*driver.Play()));

    // In play, Escape pauses and Space leaves to the menu; the menu then sees the arrows and
    // Left Control behind them and starts a new game.
    for (const SDL_Scancode key : EveryKey())
        GameDriver::Tap(key);
    ASSERT_TRUE(driver.Frame());
    ASSERT_NE(driver.Menu(), nullptr);
    ASSERT_TRUE(driver.Frame());
    ASSERT_NE(driver.Play(), nullptr);
    int plays = 0;
    for (const RecordingSoundEngine::Call& call : driver.sound->calls)
        plays += call.kind == Kind::PlayMusic && call.path == "Data/Music/Game.wav";
    EXPECT_EQ(plays, 2); // a second play screen
    ASSERT_TRUE(driver.Frame());
    EXPECT_TRUE(NoKeyHeld(*driver.Play()));
    EXPECT_FALSE(gamePaused);
    EXPECT_EQ(driver.sound->Played(moveSound), 2 + 1 + 2);
    EXPECT_EQ(driver.sound->Played(selectSound), 1 + 1 + 1);
    EXPECT_EQ(driver.sound->LiveMusic().size(), 1u);
    EXPECT_EQ(driver.sound->staleCalls, 0);
}

// A recording engine that tells, as it is destroyed, how much music was still playing.
class AuditedEngine : public RecordingSoundEngine {
public:
    explicit AuditedEngine(size_t* liveAtEnd)
        : live(liveAtEnd)
    {
    }
    ~AuditedEngine() override { *live = LiveMusic().size() + static_cast<size_t>(staleCalls); }

    size_t* live;
};

// A state of the game and the keys that lead there from the moment the program starts.
struct State {
    const char* name;
    // Called before every pass with the pass's number; answers true once the state is
    // reached. It may push keys to get there.
    std::function<bool(Game&, int pass)> reach;
};

// Play started from the menu, then true once `inPlay` says so.
std::function<bool(Game&, int)> InPlay(std::function<bool(GameMode&)> inPlay)
{
    return [inPlay](Game& game, int pass) {
        if (pass == 1)
            TapKey(SDL_SCANCODE_LCTRL);
        GameMode* play = PlayOf(game);
        return play != nullptr && inPlay(*play);
    };
}

// Hits the ship until it is destroyed; answers whether it is.
bool Destroyed(GameMode& play)
{
    if (play.player != nullptr && gameTime > 4000)
        play.player->TakeHit();
    return play.player == nullptr;
}

std::vector<State> States()
{
    return {
        { "the very first frame", [](Game&, int) { return true; } },
        { "the menu", [](Game&, int) { return gameTime > 1000; } },
        { "the hiscore page, rows fading in",
            [](Game& game, int pass) {
                if (pass == 1) {
                    TapKey(SDL_SCANCODE_DOWN);
                    TapKey(SDL_SCANCODE_LCTRL);
                }
                const MenuMode* menu = MenuOf(game);
                return menu != nullptr && menu->overlay->visible && menu->hiscoreRow == 2;
            } },
        { "get ready",
            InPlay([](GameMode& play) { return gameTime > 1500 && play.startTimer->active; }) },
        { "play, keys held", InPlay([](GameMode& play) {
             if (play.startTimer->active || play.fireHeld)
                 return play.fireHeld && gameTime > 6000;
             PushKey(SDL_KEYDOWN, SDL_SCANCODE_LCTRL);
             PushKey(SDL_KEYDOWN, SDL_SCANCODE_LEFT);
             return false;
         }) },
        { "pause", InPlay([](GameMode&) {
             if (gameTime > 4000 && !gamePaused)
                 TapKey(SDL_SCANCODE_ESCAPE);
             return gamePaused;
         }) },
        { "the player destroyed", InPlay([](GameMode& play) {
             return Destroyed(play) && !play.gameOverBackground->visible;
         }) },
        { "game over", InPlay([](GameMode& play) {
             return Destroyed(play) && play.gameOverBackground->visible;
         }) },
        { "the first frame back in the menu after game over",
            [played = false](Game& game, int pass) mutable {
                if (pass == 1)
                    TapKey(SDL_SCANCODE_LCTRL);
                if (GameMode* play = PlayOf(game)) {
                    played = true;
                    Destroyed(*play);
                }
                return played && MenuOf(game) != nullptr;
            } },
    };
}

TEST(HostileInputTest, ClosingTheWindowInEveryStateEndsTheProgramCleanly)
{
    for (const State& state : States()) {
        SCOPED_TRACE(state.name);
        size_t musicLeft = 99;
        int pass = 0;
        int closedAt = 0;
        const int code = RunProgram(
            11, [&] { return std::make_unique<AuditedEngine>(&musicLeft); },
            [&](Game* game) {
                ++pass;
                if (closedAt == 0 && state.reach(*game, pass)) {
                    closedAt = pass;
                    PushQuit();
                }
                return 40u;
            });
        EXPECT_EQ(code, 0);
        ASSERT_GT(closedAt, 0);
        // The frame that read the close was the last one.
        EXPECT_EQ(pass, closedAt);
        EXPECT_EQ(musicLeft, 0u);
    }
}

// Whether process `pid` has a handler of its own for `signal`, from its status in /proc.
bool Catches(pid_t pid, int signal)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("SigCgt:"))
            return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1) & 1u) != 0;
    }
    return false;
}

TEST(HostileInputTest, TheBuiltProgramAskedToEndLeavesWithExitCodeZero)
{
    // The program beside the test's folder, run headless (the test main chose the drivers) in
    // the build folder, where the data set lies.
    namespace fs = std::filesystem;
    const fs::path build = fs::read_symlink("/proc/self/exe").parent_path().parent_path();
    const fs::path program = build / "skarvold";
    if (!fs::exists(program))
        GTEST_SKIP() << program << " is not built";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (chdir(build.c_str()) == 0)
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // SDL turns SIGTERM into the window's close event once its handler is in place; until
    // then the signal would simply kill the process, so it is sent only after.
    int status = 0;
    bool exited = false;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!Catches(child, SIGTERM) && std::chrono::steady_clock::now() < giveUp) {
        if (waitpid(child, &status, WNOHANG) == child) {
            exited = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_FALSE(exited) << "the program ended by itself with status " << status;
    ASSERT_EQ(kill(child, SIGTERM), 0);
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
