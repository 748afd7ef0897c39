#include "modes/Game.h"
#include "base/Clock.h"
#include "base/Timer.h"
#include "modes/Mode.h"
#include "render/Preload.h"
#include "render/Renderer.h"
#include "world/World.h"

#include "support/GameDriver.h"
#include "support/ProbeObject.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Kind = RecordingSoundEngine::Kind;

const std::string defaults = "Zyla93 Brommet77 Torwick56 Quenna45 Haldo37 Ferilda25 Ostrum11";

// The table as "name score" pairs run together, highest first.
std::string Table(const Game& game)
{
    std::string text;
    for (const HiscoreEntry& entry : game.hiscores)
        text += (text.empty() ? "" : " ") + entry.name + std::to_string(entry.score);
    return text;
}

// A screen that notes whether the sound engine still answers when it is destroyed.
class ListeningMode : public Mode {
public:
    ListeningMode(Game* owner, bool* engineAliveAtEnd)
        : Mode(owner)
        , engineAlive(engineAliveAtEnd)
    {
    }
    ~ListeningMode() override { *engineAlive = game->GetSoundEngine() != nullptr; }
    bool Update() override { return true; }

    bool* engineAlive;
};

TEST(GameHiscoreTest, EqualScoresRankBehindTheNewEntryAndLowOnesNeverEnter)
{
    GameDriver driver;
    Game& game = *driver.game;
    EXPECT_EQ(Table(game), defaults);
    EXPECT_FALSE(game.AddHiscore(0));
    EXPECT_FALSE(game.AddHiscore(10));
    EXPECT_EQ(Table(game), defaults);

    EXPECT_TRUE(game.AddHiscore(11));
    EXPECT_EQ(Table(game), "Zyla93 Brommet77 Torwick56 Quenna45 Haldo37 Ferilda25 YOU11 Ostrum11");
    EXPECT_TRUE(game.AddHiscore(93));
    EXPECT_EQ(Table(game), "YOU93 " + defaults);

    // Only a strictly greater score replaces the earlier one, wherever the lower one would rank.
    EXPECT_FALSE(game.AddHiscore(93));
    EXPECT_FALSE(game.AddHiscore(60));
    EXPECT_EQ(Table(game), "YOU93 " + defaults);
    EXPECT_TRUE(game.AddHiscore(3000000000u)); // compared unsigned
    EXPECT_EQ(Table(game), "YOU3000000000 " + defaults);
}

TEST(GameHiscoreTest, AOnePointBetterScoreKeepsTheSamePlace)
{
    GameDriver driver;
    Game& game = *driver.game;
    ASSERT_TRUE(game.AddHiscore(56));
    ASSERT_TRUE(game.AddHiscore(57));
    EXPECT_EQ(Table(game), "Zyla93 Brommet77 YOU57 Torwick56 Quenna45 Haldo37 Ferilda25 Ostrum11");
}

TEST(GameHiscoreTest, AnySeriesOfGamesKeepsTheDefaultsAndOneYou)
{
    GameDriver driver;
    Game& game = *driver.game;
    for (const uint32_t score : { 5u, 30u, 30u, 12u, 77u, 0u, 200u, 150u, 201u, 11u }) {
        const std::string before = Table(game);
        const bool changed = game.AddHiscore(score);
        SCOPED_TRACE("after " + std::to_string(score) + ": " + Table(game));
        EXPECT_EQ(changed, Table(game) != before);
        std::string others;
        int yous = 0;
        for (size_t i = 0; i < game.hiscores.size(); ++i) {
            if (i > 0) {
                EXPECT_GE(game.hiscores[i - 1].score, game.hiscores[i].score);
            }
            if (game.hiscores[i].name == "YOU")
                ++yous;
            else
                others += (others.empty() ? "" : " ") + game.hiscores[i].name
                    + std::to_string(game.hiscores[i].score);
        }
        EXPECT_EQ(others, defaults);
        EXPECT_LE(yous, 1);
    }
    EXPECT_EQ(Table(game), "YOU201 " + defaults);
}

TEST(GameTest, StartsTheEngineThenAMenuWithEveryImageLoaded)
{
    GameDriver driver;
    ASSERT_TRUE(driver.loop->Started());
    ASSERT_FALSE(driver.sound->calls.empty());
    EXPECT_EQ(driver.sound->calls.front().kind, Kind::MasterVolume);
    EXPECT_FLOAT_EQ(driver.sound->masterVolume, 0.5f);
    ASSERT_NE(driver.Menu(), nullptr);
    EXPECT_FALSE(driver.Menu()->overlay->visible);
    // Before the first frame, so play never waits for the disk.
    const auto& cache = driver.game->renderer->animations;
    for (const std::string_view path : PreloadPaths())
        EXPECT_TRUE(cache.contains(std::string(path))) << path;
    EXPECT_FALSE(cache.at("Data/Gui/MenuBackground")->frames.empty());
}

TEST(GameTest, GamesReturnToAFreshMenuThatOpensOnTheTableOnlyWhenTheScoreEntered)
{
    GameDriver driver;
    ASSERT_TRUE(driver.RunFor(100));
    GameDriver::Tap(SDL_SCANCODE_LCTRL);
    ASSERT_TRUE(driver.Frame());
    ASSERT_NE(driver.Play(), nullptr);
    for (MusicHandle* music : driver.sound->LiveMusic())
        EXPECT_NE(driver.sound->PathOf(music), "Data/Music/Menu.wav");

    std::vector<std::string> log;
    driver.game->world->Create<ProbeObject>(&log, "left over");
    driver.Play()->score = 93;
    driver.game->ReturnToMenu();
    EXPECT_EQ(log, std::vector<std::string> { "delete left over" });
    EXPECT_TRUE(driver.game->world->objects.empty());
    MenuMode* menu = driver.Menu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->overlay->visible);
    EXPECT_EQ(menu->selected, menu->playItem);
    EXPECT_EQ(menu->rowNames[0]->text, "YOU");
    EXPECT_EQ(menu->rowNames[6]->text, "Ferilda"); // the eighth entry is not shown

    // The same score again does not enter: the next menu opens on its main page.
    GameDriver::Tap(SDL_SCANCODE_SPACE);
    GameDriver::Tap(SDL_SCANCODE_LCTRL);
    ASSERT_TRUE(driver.Frame());
    ASSERT_TRUE(driver.Frame());
    ASSERT_NE(driver.Play(), nullptr);
    driver.Play()->score = 93;
    driver.game->ReturnToMenu();
    ASSERT_NE(driver.Menu(), nullptr);
    EXPECT_FALSE(driver.Menu()->overlay->visible);
    EXPECT_EQ(Table(*driver.game), "YOU93 " + defaults);
    EXPECT_EQ(driver.sound->staleCalls, 0);
}

TEST(GameTest, LeavingFromThePauseEntersTheScoreButClosingTheWindowDoesNot)
{
    // Keys behind the one that switched screens are read a frame later.
    GameDriver driver;
    GameDriver::Tap(SDL_SCANCODE_LCTRL);
    ASSERT_TRUE(driver.RunFor(32));
    ASSERT_NE(driver.Play(), nullptr);
    driver.Play()->score = 60;
    GameDriver::Tap(SDL_SCANCODE_ESCAPE);
    GameDriver::Tap(SDL_SCANCODE_SPACE);
    ASSERT_TRUE(driver.Frame());
    ASSERT_NE(driver.Menu(), nullptr);
    EXPECT_TRUE(driver.Menu()->overlay->visible);
    EXPECT_EQ(driver.Menu()->rowNames[2]->text, "YOU");

    ASSERT_TRUE(driver.Frame());
    GameDriver::Tap(SDL_SCANCODE_SPACE);
    GameDriver::Tap(SDL_SCANCODE_LCTRL);
    ASSERT_TRUE(driver.RunFor(32));
    ASSERT_NE(driver.Play(), nullptr);
    driver.Play()->score = 70;
    GameDriver::CloseWindow();
    EXPECT_FALSE(driver.Frame());
    EXPECT_EQ(driver.game->hiscores[2].score, 60u);
}

TEST(GameTest, ClosingTheWindowEndsTheFrameBeforeTimersRun)
{
    GameDriver driver;
    int fired = 0;
    CreateTimer()->Start([&] { ++fired; }, 0, false);
    GameDriver::CloseWindow();
    EXPECT_FALSE(driver.Frame(100));
    EXPECT_EQ(fired, 0);
    EXPECT_EQ(driver.game->lastFrameTime, 0u);
    EXPECT_TRUE(driver.Frame(100));
    EXPECT_EQ(fired, 1);
}

TEST(GameTest, TheScreenGoesBeforeTheSoundEngine)
{
    auto driver = std::make_unique<GameDriver>();
    bool engineAlive = false;
    driver->game->mode = std::make_unique<ListeningMode>(driver->game, &engineAlive);
    driver.reset();
    EXPECT_TRUE(engineAlive);
}

} // namespace
