#include "support/HeadlessWindow.h"
#include "support/TestImages.h"

#include <cmath>
#include <numbers>

namespace {
constexpr uint32_t red = 0xffff0000u;
constexpr uint32_t green = 0xff00ff00u;
constexpr uint32_t blue = 0xff0000ffu;
constexpr uint32_t white = 0xffffffffu;
constexpr uint32_t yellow = 0xffffff00u;

bool SameRect(const SDL_Rect& a, const SDL_Rect& b)
{
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}
} // namespace

class RendererTest : public HeadlessWindow {
protected:
    // A one-frame animation folder of one colour; answers its path.
    std::string Still(
        const std::string& name, int width, int height, uint32_t argb, bool alpha = true)
    {
        EXPECT_TRUE(WritePng(images / (name + "/0000.png"), width, height, argb, alpha));
        return images / name;
    }

    TextItem* Block(int layer, float x, float y, int size, uint32_t argb)
    {
        TextItem* item = renderer->AddText("unused.ttf", layer, false, 10, Rgb {});
        item->texture = MakeTexture(size, size, argb);
        item->position = Vec2 { x, y };
        return item;
    }

    TempDir images;
};

TEST_F(RendererTest, PlacesSpritesByTheirCentrePlusShakeTruncatingTheSum)
{
    Sprite* sprite = renderer->AddSprite(Still("Wide", 65, 33, white), 0);
    // The clock has not moved, so the shake is not recomputed and this offset is used.
    sprite->position = Vec2 { 100.7f, 50.6f };
    renderer->shakeOffset = Vec2 { 0.6f, 0.5f };
    renderer->RenderFrame(16.0f);
    // 100.7 - 32 + 0.6 = 69.3 and 50.6 - 16 + 0.5 = 35.1; truncating each part would give 68, 34.
    EXPECT_TRUE(SameRect(DrawnBounds(), SDL_Rect { 69, 35, 65, 33 }));

    // -0.5 and -0.4 truncate toward zero, not down to -1.
    sprite->position = Vec2 { 31.5f, 15.6f };
    renderer->shakeOffset = Vec2 {};
    renderer->RenderFrame(16.0f);
    EXPECT_TRUE(SameRect(DrawnBounds(), SDL_Rect { 0, 0, 65, 33 }));
}

TEST_F(RendererTest, AppliesEachSpritesOpacityToTheSharedTexture)
{
    // No alpha channel in the file: opacity must fade it all the same.
    const std::string path = Still("Opaque", 20, 20, white, false);
    const float xs[] = { 50, 150, 250, 350 };
    Sprite* sprites[4];
    for (int i = 0; i < 4; ++i) {
        sprites[i] = renderer->AddSprite(path, 2);
        sprites[i]->position = Vec2 { xs[i], 50 };
    }
    sprites[1]->opacity = 64;
    sprites[2]->opacity = 0;
    sprites[2]->playing = true;
    sprites[3]->visible = false;
    renderer->RenderFrame(16.0f);

    EXPECT_EQ(Pixel(50, 50), white);
    EXPECT_NEAR(RedOf(Pixel(150, 50)), 64, 2);
    EXPECT_EQ(Pixel(250, 50) & 0xffffffu, 0u);
    EXPECT_EQ(Pixel(350, 50) & 0xffffffu, 0u);
    EXPECT_EQ(sprites[2]->frameTime, 0.0f); // not drawn, so not advanced
}

TEST_F(RendererTest, AFullSpriteDrawnAfterAFadedOneOfTheSameImageStaysFull)
{
    const std::string path = Still("Shared", 20, 20, white);
    Sprite* faded = renderer->AddSprite(path, 2);
    faded->position = Vec2 { 50, 50 };
    faded->opacity = 64;
    Sprite* full = renderer->AddSprite(path, 2);
    full->position = Vec2 { 150, 50 };
    renderer->RenderFrame(16.0f);

    EXPECT_NEAR(RedOf(Pixel(50, 50)), 64, 2);
    EXPECT_EQ(Pixel(150, 50), white);
}

TEST_F(RendererTest, ImagesWithTransparentPartsShowWhatLiesBelowAtFullOpacity)
{
    renderer->AddSprite(Still("Below", 40, 40, blue), 1)->position = Vec2 { 100, 100 };
    // Left half clear, right half red; then an opaque image, whole, faded and turned.
    EXPECT_TRUE(WritePng(images / "Half/0000.png", 40, 40,
        [](int x, int) { return x < 20 ? 0x00000000u : red; }));
    renderer->AddSprite(images / "Half", 2)->position = Vec2 { 100, 100 };
    const std::string opaque = Still("Opaque", 10, 10, white, false);
    renderer->AddSprite(opaque, 2)->position = Vec2 { 200, 100 };
    Sprite* faded = renderer->AddSprite(opaque, 2);
    faded->position = Vec2 { 300, 100 };
    faded->opacity = 128;
    renderer->AddSprite(Still("Below", 40, 40, blue), 1)->position = Vec2 { 400, 100 };
    Sprite* turned = renderer->AddSprite(opaque, 2);
    turned->position = Vec2 { 400, 100 };
    turned->angle = 45.0f;
    renderer->RenderFrame(16.0f);

    EXPECT_EQ(Pixel(90, 100), blue);
    EXPECT_EQ(Pixel(110, 100), red);
    EXPECT_EQ(Pixel(200, 100), white);
    EXPECT_NEAR(RedOf(Pixel(300, 100)), 128, 2);
    // Turned, the square is a diamond: what lies beyond its edges shows through.
    EXPECT_EQ(Pixel(395, 100), white);
    EXPECT_EQ(Pixel(394, 94), blue);
}

TEST_F(RendererTest, DrawsLayersUpwardsWithSpritesBeforeTextsInEachLayer)
{
    // Added in an order that differs from the drawing order on purpose.
    Block(3, 95, 95, 10, green);
    renderer->AddSprite(Still("Red", 40, 40, red), 3)->position = Vec2 { 100, 100 };
    renderer->AddSprite(Still("Blue", 40, 40, blue), 1)->position = Vec2 { 100, 100 };
    Block(2, 80, 80, 10, yellow);
    renderer->AddSprite(Still("Blue", 40, 40, blue), 5)->position = Vec2 { 130, 130 };
    renderer->RenderFrame(16.0f);

    EXPECT_EQ(Pixel(100, 100), green); // text of layer 3 over the sprite of layer 3
    EXPECT_EQ(Pixel(85, 85), red);     // layer 3 sprite over layer 2 text
    EXPECT_EQ(Pixel(115, 115), blue);  // layer 5 over layer 3
    EXPECT_EQ(Pixel(105, 90), red);    // layer 3 over layer 1
}

TEST_F(RendererTest, RotatesClockwiseAboutTheCentre)
{
    WritePng(images / "Arrow/0000.png", 20, 10, [](int x, int) { return x < 10 ? red : blue; });
    Sprite* sprite = renderer->AddSprite(images / "Arrow", 0);
    sprite->position = Vec2 { 200, 200 };
    sprite->angle = 90.0f;
    renderer->RenderFrame(16.0f);

    // A quarter turn clockwise takes the left half up and the right half down.
    EXPECT_EQ(Pixel(200, 193), red);
    EXPECT_EQ(Pixel(200, 207), blue);
    EXPECT_EQ(Pixel(192, 200) & 0xffffffu, 0u);
    const SDL_Rect bounds = DrawnBounds();
    EXPECT_NEAR(bounds.w, 10, 1);
    EXPECT_NEAR(bounds.h, 20, 1);
}

TEST_F(RendererTest, FreesDeadItemsByMovingTheLastIntoTheirSlot)
{
    const std::string path = Still("Dot", 10, 10, white);
    Sprite* sprites[4];
    for (int i = 0; i < 4; ++i) {
        sprites[i] = renderer->AddSprite(path, 0);
        sprites[i]->position = Vec2 { 50.0f + 100.0f * static_cast<float>(i), 50 };
    }
    TextItem* texts[3];
    for (int i = 0; i < 3; ++i)
        texts[i] = Block(0, 50.0f + 100.0f * static_cast<float>(i), 200, 10, white);

    // The last one, moved into the first slot, is dead too and must be examined there again.
    sprites[0]->dead = true;
    sprites[3]->dead = true;
    texts[0]->dead = true;
    renderer->RenderFrame(16.0f);

    EXPECT_EQ(renderer->spriteLayers[0], (std::vector<Sprite*> { sprites[2], sprites[1] }));
    EXPECT_EQ(renderer->textLayers[0], (std::vector<TextItem*> { texts[2], texts[1] }));
    EXPECT_EQ(Pixel(50, 50) & 0xffffffu, 0u);
    EXPECT_EQ(Pixel(150, 50), white);
    EXPECT_EQ(Pixel(350, 50) & 0xffffffu, 0u);
    EXPECT_EQ(Pixel(55, 205) & 0xffffffu, 0u);
    EXPECT_EQ(Pixel(155, 205), white);

    sprites[1]->dead = true; // now the last of the layer
    renderer->RenderFrame(16.0f);
    EXPECT_EQ(renderer->spriteLayers[0], (std::vector<Sprite*> { sprites[2] }));
}

TEST_F(RendererTest, RecomputesTheShakeOnlyAfterMoreThanTenMs)
{
    // A seed whose first draw is far above 360, so the modulus shows in the angle.
    rng::srand(2024);
    Random reference(2024);
    renderer->Shake(5.0f, 1000);
    gameTime = 10;
    renderer->RenderFrame(10.0f);
    EXPECT_EQ(renderer->shakeOffset.x, 0.0f);
    EXPECT_EQ(renderer->shakeOffset.y, 0.0f);
    EXPECT_EQ(renderer->lastShakeUpdate, 0u);

    gameTime = 11;
    renderer->RenderFrame(1.0f);
    EXPECT_EQ(renderer->lastShakeUpdate, 11u);
    // One draw, taken as radians: sin to x, cos to y, at (1 - 11/1000) of the magnitude.
    const double angle = reference.Next() % 361;
    const double strength = (1.0 - 11.0 / 1000.0) * 5.0;
    EXPECT_NEAR(renderer->shakeOffset.x, std::sin(angle) * strength, 1e-4);
    EXPECT_NEAR(renderer->shakeOffset.y, std::cos(angle) * strength, 1e-4);
    EXPECT_EQ(rng::rand(), reference.Next()); // and no other draw was taken
}

TEST_F(RendererTest, ShakesAddUpFadeAndEndAfterTheirDuration)
{
    renderer->Shake(5.0f, 400);
    renderer->Shake(5.0f, 400);
    renderer->Shake(3.0f, 100);
    float largest = 0.0f;
    int liveDraws = 0;
    for (uint32_t time = 20; time <= 400; time += 20) {
        gameTime = time;
        renderer->RenderFrame(20.0f);
        // The short shake is still there at exactly its duration and gone after it.
        EXPECT_EQ(renderer->shakes.size(), time <= 100 ? 3u : 2u) << "at " << time;
        liveDraws += static_cast<int>(renderer->shakes.size());
        const float length = std::hypot(renderer->shakeOffset.x, renderer->shakeOffset.y);
        const float fade = 1.0f - static_cast<float>(time) / 400.0f;
        const float limit = 10.0f * fade + (time <= 100 ? 3.0f : 0.0f) * (1.0f - time / 100.0f);
        EXPECT_LE(length, limit + 1e-3f) << "at " << time;
        if (time > 100)
            largest = std::max(largest, length / fade);
    }
    EXPECT_GT(largest, 5.0f); // the two shakes do add up

    gameTime = 420;
    renderer->RenderFrame(20.0f);
    EXPECT_TRUE(renderer->shakes.empty());
    EXPECT_EQ(renderer->shakeOffset.x, 0.0f);
    EXPECT_EQ(renderer->shakeOffset.y, 0.0f);

    // Exactly one draw per live shake and recomputation, none for an ended one.
    Random reference(1);
    for (int i = 0; i < liveDraws; ++i)
        reference.Next();
    EXPECT_EQ(rng::rand(), reference.Next());
}

TEST(RendererWithoutSdl, IsHarmlessWithoutAnSdlRenderer)
{
    ResetClock();
    {
        Renderer renderer(nullptr);
        EXPECT_EQ(renderer.sdlRenderer, nullptr);
        renderer.AddSprite("no/such/path", 0)->playing = true;
        renderer.AddText("no/such/font.ttf", 5, true, 20, Rgb { 255, 255, 255 })->SetText("x");
        renderer.Shake(3.0f, 100);
        gameTime = 600;
        renderer.RenderFrame(16.0f);
        EXPECT_EQ(renderer.animations.size(), 1u);
    }
    ResetClock();
}

TEST(RendererWithoutAcceleration, FallsBackToTheSoftwareRenderer)
{
    // The dummy video driver offers no GL, so every accelerated driver fails on it.
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "dummy", SDL_HINT_OVERRIDE);
    SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, "opengl", SDL_HINT_OVERRIDE);
    EXPECT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_Window* window = SDL_CreateWindow("test", 0, 0, 64, 64, SDL_WINDOW_HIDDEN);
    EXPECT_NE(window, nullptr) << SDL_GetError();
    if (window != nullptr) {
        auto* renderer = new Renderer(window);
        SDL_RendererInfo info {};
        EXPECT_EQ(SDL_GetRendererInfo(renderer->sdlRenderer, &info), 0);
        EXPECT_TRUE(info.flags & SDL_RENDERER_SOFTWARE);
        delete renderer;
        SDL_DestroyWindow(window);
    }
    SDL_Quit(); // also clears the hints, which later tests must not see
}
