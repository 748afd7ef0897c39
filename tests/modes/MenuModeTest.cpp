#include "modes/MenuMode.h"
#include "base/Clock.h"
#include "modes/Game.h"
#include "render/Renderer.h"

#include "support/GameDriver.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

constexpr const char* moveSound = "Data/Gui/MenuMove.wav";
constexpr const char* selectSound = "Data/Gui/MenuSelect.wav";

// The real game on its first menu, with the clock past the first half second so that texts
// show and rebuild at once.
class MenuModeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(driver.RunFor(512));
        menu = driver.Menu();
        ASSERT_NE(menu, nullptr);
    }

    // Reads the keys pressed since the last frame without drawing.
    bool Update(std::initializer_list<SDL_Scancode> keys)
    {
        for (SDL_Scancode key : keys)
            GameDriver::KeyDown(key);
        return menu->Update();
    }

    // The brightest of the red, green and blue levels within the rectangle, as drawn.
    int Brightest(int left, int top, int right, int bottom, bool* grey = nullptr) const
    {
        int best = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                uint32_t pixel = 0;
                const SDL_Rect one { x, y, 1, 1 };
                SDL_RenderReadPixels(
                    driver.game->renderer->sdlRenderer, &one, SDL_PIXELFORMAT_ARGB8888, &pixel, 4);
                const int r = (pixel >> 16) & 0xff, g = (pixel >> 8) & 0xff, b = pixel & 0xff;
                if (std::max({ r, g, b }) > best && grey != nullptr)
                    *grey = r == g && g == b;
                best = std::max({ best, r, g, b });
            }
        }
        return best;
    }

    GameDriver driver;
    MenuMode* menu = nullptr;
};

TEST_F(MenuModeTest, ArrowsMoveTheSelectionWithASoundEvenAtTheEnds)
{
    ASSERT_TRUE(Update({ SDL_SCANCODE_UP }));
    EXPECT_EQ(menu->selected, menu->playItem);
    ASSERT_TRUE(Update({ SDL_SCANCODE_DOWN, SDL_SCANCODE_DOWN, SDL_SCANCODE_DOWN }));
    EXPECT_EQ(menu->selected, menu->quitItem);
    ASSERT_TRUE(Update({ SDL_SCANCODE_UP }));
    EXPECT_EQ(menu->selected, menu->hiscoreItem);
    EXPECT_EQ(driver.sound->Played(moveSound), 5);

    // Neither Space nor Escape does anything on the main page.
    ASSERT_TRUE(Update({ SDL_SCANCODE_SPACE, SDL_SCANCODE_ESCAPE }));
    EXPECT_EQ(driver.sound->Count(RecordingSoundEngine::Kind::Effect), 5);
    EXPECT_FALSE(menu->overlay->visible);
}

TEST_F(MenuModeTest, TheHighlightChangesOnlyWhenTheFrameEndsOnAnotherItem)
{
    ASSERT_TRUE(Update({ SDL_SCANCODE_DOWN }));
    EXPECT_EQ(menu->hiscoreItem->pointSize, 36);
    EXPECT_EQ(menu->hiscoreItem->opacity, 255);
    EXPECT_EQ(menu->playItem->pointSize, 24);
    EXPECT_EQ(menu->playItem->opacity, 96);
    for (TextItem* item : { menu->hiscoreItem, menu->playItem }) {
        EXPECT_TRUE(item->dirty);
        EXPECT_EQ(item->lastRebuildTime, 0u);
    }
    ASSERT_TRUE(driver.Frame());
    EXPECT_EQ(menu->hiscoreItem->lastRebuildTime, gameTime); // shown in this very frame

    ASSERT_TRUE(Update({ SDL_SCANCODE_DOWN, SDL_SCANCODE_UP }));
    for (TextItem* item : { menu->playItem, menu->hiscoreItem, menu->quitItem })
        EXPECT_FALSE(item->dirty);
}

TEST_F(MenuModeTest, LeftControlTakesTheItemAndLeavesLaterKeysForTheNextFrame)
{
    // A move and the take in one frame: the page opens with the taken item lit.
    ASSERT_TRUE(Update({ SDL_SCANCODE_DOWN, SDL_SCANCODE_LCTRL, SDL_SCANCODE_SPACE }));
    EXPECT_TRUE(menu->overlay->visible);
    EXPECT_EQ(menu->hiscoreItem->opacity, 255);
    EXPECT_EQ(menu->playItem->opacity, 96);
    EXPECT_EQ(driver.sound->Played(selectSound), 1);

    // The waiting Space closes the page on the next frame, leaving "HISCORE" selected.
    ASSERT_TRUE(Update({}));
    EXPECT_FALSE(menu->overlay->visible);
    EXPECT_FALSE(menu->hiscoreHeading->visible || menu->returnHint->visible);
    EXPECT_EQ(menu->selected, menu->hiscoreItem);
    EXPECT_EQ(driver.sound->Played(selectSound), 2);

    // Arrows and Left Control do nothing on the hiscore page.
    ASSERT_TRUE(
        Update({ SDL_SCANCODE_LCTRL, SDL_SCANCODE_UP, SDL_SCANCODE_DOWN, SDL_SCANCODE_LCTRL }));
    ASSERT_TRUE(Update({}));
    EXPECT_TRUE(menu->overlay->visible);
    EXPECT_EQ(menu->selected, menu->hiscoreItem);
    EXPECT_EQ(driver.sound->Played(moveSound), 1);
    EXPECT_EQ(driver.sound->Played(selectSound), 3);

    // Keys of one frame in order: Space closes the page, then Down moves on to "QUIT".
    ASSERT_TRUE(Update({ SDL_SCANCODE_SPACE, SDL_SCANCODE_DOWN }));
    EXPECT_EQ(menu->selected, menu->quitItem);
    EXPECT_FALSE(Update({ SDL_SCANCODE_LCTRL })) << "QUIT ends the program";
    EXPECT_EQ(driver.sound->Played(selectSound), 5);
}

TEST_F(MenuModeTest, ClosingTheWindowEndsTheProgramOnEitherPage)
{
    GameDriver::CloseWindow();
    EXPECT_FALSE(Update({ SDL_SCANCODE_DOWN }));
    EXPECT_EQ(menu->selected, menu->playItem);
    EXPECT_EQ(SDL_PeepEvents(nullptr, 1, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYDOWN), 1);

    menu->ShowHiscores();
    ASSERT_TRUE(Update({})); // the Down left behind
    GameDriver::CloseWindow();
    EXPECT_FALSE(Update({}));
}

TEST_F(MenuModeTest, RowsFadeInOneAfterAnother)
{
    menu->ShowHiscores();
    const uint32_t opened = gameTime;
    for (size_t i = 0; i < MenuMode::shownRows; ++i) {
        EXPECT_TRUE(menu->rowNames[i]->visible && menu->rowScores[i]->visible);
        EXPECT_EQ(menu->rowScores[i]->opacity, 0);
    }
    EXPECT_EQ(menu->rowScores[0]->text, "93");

    // Frames of 3 ms: each row needs 200 ms, and the next starts in the frame the row
    // before it is full, so rows come 201 ms apart; a row nearly full must not be left so.
    std::vector<uint32_t> full(MenuMode::shownRows, 0);
    while (gameTime - opened < 2000) {
        ASSERT_TRUE(driver.Frame(3));
        if (gameTime - opened == 96) {
            EXPECT_EQ(menu->rowNames[0]->opacity, 122);
        }
        for (size_t i = 0; i < full.size(); ++i) {
            EXPECT_EQ(menu->rowNames[i]->opacity, menu->rowScores[i]->opacity);
            if (full[i] == 0 && menu->rowNames[i]->opacity == 255)
                full[i] = gameTime - opened;
        }
    }
    for (size_t i = 0; i < full.size(); ++i)
        EXPECT_EQ(full[i], 201 * (i + 1)) << "row " << i;
    EXPECT_EQ(menu->hiscoreRow, 6u);

    // A pixel check of the finished page: each row in its own grey, above the overlay.
    for (const size_t row : { 0u, 6u }) {
        bool grey = false;
        const int y = 200 + 30 * static_cast<int>(row);
        EXPECT_EQ(Brightest(250, y - 10, 350, y + 10, &grey), 255 - 24 * static_cast<int>(row));
        EXPECT_TRUE(grey);
    }
}

TEST_F(MenuModeTest, SpaceClosesTheFadingPageAndReopeningStartsOver)
{
    const int playShown = Brightest(370, 305, 430, 335);
    ASSERT_TRUE(Update({ SDL_SCANCODE_DOWN, SDL_SCANCODE_LCTRL }));
    ASSERT_TRUE(driver.RunFor(300));
    EXPECT_EQ(menu->hiscoreRow, 1u);
    // The overlay dims the main page beneath it; the title stays bright.
    EXPECT_LT(Brightest(370, 305, 430, 335), playShown / 4);
    EXPECT_EQ(Brightest(300, 30, 500, 70), 255);

    ASSERT_TRUE(Update({ SDL_SCANCODE_SPACE }));
    for (size_t i = 0; i < MenuMode::shownRows; ++i)
        EXPECT_FALSE(menu->rowNames[i]->visible || menu->rowScores[i]->visible);
    ASSERT_TRUE(Update({ SDL_SCANCODE_LCTRL }));
    EXPECT_EQ(menu->hiscoreRow, 0u);
    EXPECT_EQ(menu->rowNames[0]->opacity + menu->rowNames[1]->opacity, 0);
}

TEST_F(MenuModeTest, RowsBeyondAShortTableStayHidden)
{
    driver.game->hiscores.resize(3);
    menu->ShowHiscores();
    ASSERT_TRUE(driver.RunFor(1500));
    EXPECT_EQ(menu->hiscoreRow, 2u);
    EXPECT_EQ(menu->rowNames[2]->opacity, 255);
    EXPECT_FALSE(menu->rowNames[3]->visible || menu->rowScores[6]->visible);
}

TEST(MenuModeStartTest, TheFirstTextsShowOnceTheClockPassesHalfASecond)
{
    GameDriver driver;
    ASSERT_TRUE(driver.RunFor(500, 100));
    EXPECT_EQ(driver.Menu()->title->texture, nullptr);
    ASSERT_TRUE(driver.Frame(1));
    EXPECT_NE(driver.Menu()->title->texture, nullptr);
}

TEST(MenuModeStartTest, PlaysItsMusicAndWithdrawsEverythingWhenDestroyed)
{
    GameDriver driver;
    const auto live = driver.sound->LiveMusic();
    ASSERT_EQ(live.size(), 1u);
    EXPECT_EQ(driver.sound->PathOf(live[0]), "Data/Music/Menu.wav");
    EXPECT_FALSE(live[0]->paused);
    EXPECT_FLOAT_EQ(live[0]->volume, 0.65f);

    Renderer& renderer = *driver.game->renderer;
    std::vector<bool*> deadFlags;
    for (size_t layer = 0; layer < Renderer::layerCount; ++layer) {
        for (Sprite* sprite : renderer.spriteLayers[layer])
            deadFlags.push_back(&sprite->dead);
        for (TextItem* item : renderer.textLayers[layer])
            deadFlags.push_back(&item->dead);
    }
    EXPECT_EQ(deadFlags.size(), 2u + 28u);
    driver.game->mode.reset();
    EXPECT_TRUE(std::all_of(deadFlags.begin(), deadFlags.end(), [](bool* dead) { return *dead; }));
    EXPECT_TRUE(driver.sound->LiveMusic().empty());
    EXPECT_EQ(driver.sound->staleCalls, 0);
}

} // namespace
