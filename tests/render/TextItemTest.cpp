#include "support/HeadlessWindow.h"

#include <SDL_ttf.h>

namespace {
const char* const fontPath = "/usr/share/fonts/truetype/open-sans/OpenSans-Bold.ttf";

int TextureWidth(SDL_Texture* texture)
{
    int width = -1;
    SDL_QueryTexture(texture, nullptr, nullptr, &width, nullptr);
    return width;
}

int TextWidth(const char* text)
{
    TTF_Font* font = TTF_OpenFont(fontPath, 20);
    int width = -1;
    TTF_SizeText(font, text, &width, nullptr);
    TTF_CloseFont(font);
    return width;
}
} // namespace

class TextItemTest : public HeadlessWindow {
protected:
    void SetUp() override
    {
        HeadlessWindow::SetUp();
        ASSERT_EQ(TTF_Init(), 0) << TTF_GetError();
    }

    void TearDown() override
    {
        HeadlessWindow::TearDown();
        TTF_Quit();
    }

    TextItem* White(bool centred)
    {
        return renderer->AddText(fontPath, 4, centred, 20, Rgb { 255, 255, 255 });
    }
};

TEST_F(TextItemTest, ShowsANewTextOnlyAfterMoreThan500ms)
{
    TextItem* item = White(false);
    item->position = Vec2 { 10, 10 };
    item->SetText("");
    EXPECT_FALSE(item->dirty); // the same (empty) text
    item->SetText("Score");
    EXPECT_TRUE(item->dirty);

    gameTime = 500;
    renderer->RenderFrame(16.0f);
    EXPECT_EQ(item->texture, nullptr);
    EXPECT_EQ(DrawnBounds().w, 0);

    gameTime = 501;
    renderer->RenderFrame(1.0f);
    EXPECT_NE(item->texture, nullptr);
    EXPECT_FALSE(item->dirty);
    EXPECT_EQ(item->lastRebuildTime, 501u);
    EXPECT_GT(DrawnBounds().w, 0);

    item->SetText("Score");
    EXPECT_FALSE(item->dirty);
    gameTime = 1200;
    renderer->RenderFrame(16.0f);
    EXPECT_EQ(item->lastRebuildTime, 501u);

    // An empty text rebuilds into no texture at all.
    item->SetText("");
    gameTime = 1800;
    renderer->RenderFrame(16.0f);
    EXPECT_EQ(item->texture, nullptr);
    EXPECT_EQ(DrawnBounds().w, 0);
}

TEST_F(TextItemTest, BatchesChangesWithinTheIntervalIntoOneRebuild)
{
    TextItem* item = White(true);
    item->position = Vec2 { 400, 300 };
    item->SetText("1");
    gameTime = 1000;
    renderer->RenderFrame(16.0f);
    ASSERT_EQ(TextureWidth(item->texture), TextWidth("1"));

    const char* changes[] = { "22", "333", "4444" };
    for (int i = 0; i < 3; ++i) {
        gameTime = 1020 + 40 * static_cast<uint32_t>(i);
        item->SetText(changes[i]);
        renderer->RenderFrame(40.0f);
    }
    gameTime = 1500;
    renderer->RenderFrame(16.0f);
    EXPECT_EQ(item->lastRebuildTime, 1000u);
    EXPECT_EQ(TextureWidth(item->texture), TextWidth("1"));

    gameTime = 1501;
    renderer->RenderFrame(1.0f);
    EXPECT_EQ(item->lastRebuildTime, 1501u);
    EXPECT_EQ(TextureWidth(item->texture), TextWidth("4444"));
}

TEST_F(TextItemTest, PlacesTextTruncatingEachPartBeforeTheSum)
{
    TextItem* centred = White(true);
    centred->texture = MakeTexture(121, 33, 0xffffffffu);
    centred->position = Vec2 { 400, 300 };
    renderer->RenderFrame(16.0f);
    SDL_Rect drawn = DrawnBounds();
    EXPECT_EQ(drawn.x, 340);
    EXPECT_EQ(drawn.y, 284);
    EXPECT_EQ(drawn.w, 121);
    EXPECT_EQ(drawn.h, 33);

    // The clock has not moved, so the shake is not recomputed and this offset is used.
    renderer->shakeOffset = Vec2 { -2.5f, 3.9f };
    renderer->RenderFrame(16.0f);
    drawn = DrawnBounds();
    EXPECT_EQ(drawn.x, 338);
    EXPECT_EQ(drawn.y, 287);

    centred->visible = false;
    TextItem* left = White(false);
    left->texture = MakeTexture(5, 5, 0xffffffffu);
    left->position = Vec2 { 10.7f, 20.2f };
    renderer->RenderFrame(16.0f);
    drawn = DrawnBounds();
    EXPECT_EQ(drawn.x, 8);
    EXPECT_EQ(drawn.y, 23); // 24 if the sum were truncated instead
}

TEST_F(TextItemTest, ModulatesByOpacityAndSkipsOpacityZero)
{
    TextItem* item = White(false);
    item->texture = MakeTexture(10, 10, 0xffffffffu);
    item->position = Vec2 { 50, 50 };
    item->opacity = 128;
    renderer->RenderFrame(16.0f);
    EXPECT_NEAR(RedOf(Pixel(55, 55)), 128, 2);

    item->opacity = 0;
    renderer->RenderFrame(16.0f);
    EXPECT_EQ(DrawnBounds().w, 0);
}

TEST_F(TextItemTest, RendersInItsOwnColourChannelForChannel)
{
    TextItem* item = renderer->AddText(fontPath, 4, false, 40, Rgb { 220, 110, 0 });
    item->position = Vec2 { 20, 20 };
    item->SetText("HH");
    gameTime = 600;
    renderer->RenderFrame(16.0f);

    // The brightest pixel lies inside a stroke, where the glyph covers it fully.
    const std::vector<uint32_t> picture = ReadPicture();
    uint32_t brightest = 0;
    for (const uint32_t pixel : picture) {
        if (RedOf(pixel) + GreenOf(pixel) + BlueOf(pixel)
            > RedOf(brightest) + GreenOf(brightest) + BlueOf(brightest))
            brightest = pixel;
    }
    EXPECT_NEAR(RedOf(brightest), 220, 2);
    EXPECT_NEAR(GreenOf(brightest), 110, 2);
    EXPECT_NEAR(BlueOf(brightest), 0, 2);
}

TEST_F(TextItemTest, AMissingFontNeverShowsAndWaitsForANewText)
{
    TextItem* item = renderer->AddText("no/such/font.ttf", 4, false, 20, Rgb { 255, 255, 255 });
    item->SetText("lost");
    gameTime = 600;
    renderer->RenderFrame(16.0f);
    EXPECT_EQ(item->texture, nullptr);
    EXPECT_FALSE(item->dirty);
    EXPECT_EQ(item->lastRebuildTime, 600u);

    // Not retried while the text stays the same, even once the font would open.
    item->fontPath = fontPath;
    gameTime = 2000;
    renderer->RenderFrame(16.0f);
    EXPECT_EQ(item->texture, nullptr);
    EXPECT_EQ(item->lastRebuildTime, 600u);

    item->SetText("found");
    renderer->RenderFrame(16.0f);
    EXPECT_NE(item->texture, nullptr);
    EXPECT_GT(DrawnBounds().w, 0);
}
