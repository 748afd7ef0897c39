#include "render/Preload.h"

#include "support/HeadlessWindow.h"
#include "support/TestImages.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string_view>
#include <vector>

namespace {
// One colour per frame, so that the picture tells which frame was drawn.
constexpr uint32_t frameColours[] = { 0xffff0000u, 0xff00ff00u, 0xff0000ffu, 0xffffffffu };
} // namespace

class AnimationTest : public HeadlessWindow {
protected:
    // An animation folder of `count` frames of 20x20, each of its own colour.
    std::string Frames(const std::string& name, int count)
    {
        for (int i = 0; i < count; ++i)
            WritePng(
                images / (name + "/000" + std::to_string(i) + ".png"), 20, 20, frameColours[i]);
        return images / name;
    }

    Sprite* PlayingSprite(const std::string& path, bool looping, bool reverse)
    {
        Sprite* sprite = renderer->AddSprite(path, 0);
        sprite->position = Vec2 { 100, 100 };
        sprite->playing = true;
        sprite->looping = looping;
        sprite->reverse = reverse;
        return sprite;
    }

    TempDir images;
};

TEST_F(AnimationTest, LoadsNumberedFramesUpToTheFirstGap)
{
    WritePng(images / "Gap/0000.png", 65, 33, 0xffffffffu);
    WritePng(images / "Gap/0001.png", 10, 10, 0xffff0000u);
    WritePng(images / "Gap/0003.png", 65, 33, 0xffffffffu);
    const Animation* animation = renderer->GetAnimation(images / "Gap");
    EXPECT_EQ(animation->frames.size(), 2u);
    EXPECT_EQ(animation->width, 65);
    EXPECT_EQ(animation->height, 33);
    EXPECT_EQ(animation->halfWidth, 32);
    EXPECT_EQ(animation->halfHeight, 16);

    // A smaller later frame is stretched to the size of frame 0.
    Sprite* sprite = renderer->AddSprite(images / "Gap", 0);
    sprite->frameIndex = 1;
    sprite->position = Vec2 { 100, 100 };
    renderer->RenderFrame(16.0f);
    const SDL_Rect bounds = DrawnBounds();
    EXPECT_EQ(bounds.w, 65);
    EXPECT_EQ(bounds.h, 33);
    EXPECT_EQ(Pixel(100, 100), 0xffff0000u);
}

TEST_F(AnimationTest, CachesEveryPathOnceEvenWithoutFrames)
{
    const std::string later = images / "Later";
    Animation* missing = renderer->GetAnimation(later);
    EXPECT_TRUE(missing->frames.empty());
    EXPECT_EQ(missing->width, 0);
    EXPECT_EQ(missing->halfHeight, 0);

    // Frames that appear afterwards are not seen: the folder is not probed again.
    WritePng(later + "/0000.png", 8, 8, 0xffffffffu);
    EXPECT_EQ(renderer->GetAnimation(later), missing);
    EXPECT_TRUE(missing->frames.empty());
    // The key is the path as spelled, so another spelling is a new request.
    EXPECT_EQ(renderer->GetAnimation(later + "/")->frames.size(), 1u);

    // A sprite without frames is never drawn and never advances.
    Sprite* blank = renderer->AddSprite(later, 0);
    blank->playing = true;
    renderer->RenderFrame(50.0f);
    EXPECT_EQ(blank->frameTime, 0.0f);
    EXPECT_TRUE(blank->playing);
    EXPECT_EQ(DrawnBounds().w, 0);

    const std::string path = Frames("Shared", 2);
    Sprite* first = renderer->AddSprite(path, 1);
    Sprite* second = renderer->AddSprite(path, 4);
    EXPECT_EQ(first->animation, second->animation);
    EXPECT_EQ(first->animation, renderer->GetAnimation(path));
    EXPECT_EQ(renderer->animations.size(), 3u);
}

TEST_F(AnimationTest, LoopingForwardTakesOneStepPerDrawing)
{
    Sprite* sprite = PlayingSprite(Frames("Loop", 4), true, false);
    const uint32_t expected[] = { 1, 2, 3, 0, 1 };
    for (int i = 0; i < 5; ++i) {
        renderer->RenderFrame(60.0f);
        EXPECT_EQ(sprite->frameIndex, expected[i]) << "drawing " << i;
        EXPECT_EQ(Pixel(100, 100), frameColours[expected[i]]) << "drawing " << i;
        EXPECT_NEAR(sprite->frameTime, 26.7f * static_cast<float>(i + 1), 1e-3f);
    }
    // A slow frame is caught up one step per drawing, not all at once.
    renderer->RenderFrame(200.0f);
    EXPECT_EQ(sprite->frameIndex, 2u);
    EXPECT_NEAR(sprite->frameTime, 133.5f + 200.0f - 33.3f, 1e-3f);
    renderer->RenderFrame(0.0f);
    EXPECT_EQ(sprite->frameIndex, 3u);

    // Hidden or fully transparent, it stands still and resumes where it stood.
    sprite->visible = false;
    renderer->RenderFrame(60.0f);
    sprite->visible = true;
    sprite->opacity = 0;
    renderer->RenderFrame(60.0f);
    EXPECT_EQ(sprite->frameIndex, 3u);
}

TEST_F(AnimationTest, StopsAtTheEndUnlessLoopingInEitherDirection)
{
    Sprite* still = PlayingSprite(Frames("Still", 1), false, false);
    Sprite* back = PlayingSprite(Frames("Back", 4), false, true);
    back->frameIndex = 2;
    Sprite* wrap = PlayingSprite(images / "Back", true, true);
    Sprite* slow = PlayingSprite(images / "Back", true, false);
    slow->frameDuration = 1000.0f;

    renderer->RenderFrame(40.0f);
    EXPECT_FALSE(still->playing);
    EXPECT_EQ(still->frameIndex, 0u);
    EXPECT_NEAR(still->frameTime, 6.7f, 1e-3f); // the step's time is spent even when stopping
    EXPECT_EQ(back->frameIndex, 1u);
    EXPECT_EQ(wrap->frameIndex, 3u);
    EXPECT_EQ(slow->frameIndex, 0u);
    EXPECT_EQ(slow->frameTime, 40.0f);

    renderer->RenderFrame(40.0f);
    EXPECT_EQ(back->frameIndex, 0u);
    EXPECT_TRUE(back->playing);
    renderer->RenderFrame(40.0f);
    EXPECT_EQ(back->frameIndex, 0u);
    EXPECT_FALSE(back->playing);
    EXPECT_EQ(wrap->frameIndex, 1u);
}

TEST_F(AnimationTest, FramesPastTheTenthAreNumberedWithFourDigitsToo)
{
    // Explosions, the shield and the small enemy run past ten frames: 0010.png must follow
    // 0009.png.
    constexpr size_t frameCount = 12;
    char name[32];
    for (size_t i = 0; i < frameCount; ++i) {
        std::snprintf(name, sizeof name, "Long/%04zu.png", i);
        ASSERT_TRUE(WritePng(images / name, 6, 4, 0xffffffffu));
    }
    EXPECT_EQ(renderer->GetAnimation(images / "Long")->frames.size(), frameCount);
}

TEST(Preload, ListsEveryImageOnceTheMenusBackdropLast)
{
    // The menu preloads every image a game can show before the first game starts; only its
    // own backdrop, which it loads when it builds itself, comes after. No path is listed
    // twice, and every one lies in the data set.
    const std::vector<std::string_view> preloaded = PreloadPaths();
    const std::vector<std::string> all = ImagePaths();
    ASSERT_EQ(all.size(), preloaded.size() + 1);
    EXPECT_EQ(all.back(), "Data/Gui/MenuBackground");
    EXPECT_TRUE(std::equal(preloaded.begin(), preloaded.end(), all.begin()));
    const std::set<std::string> distinct(all.begin(), all.end());
    EXPECT_EQ(distinct.size(), all.size());
    for (const std::string& path : all)
        EXPECT_TRUE(path.starts_with("Data/") && !path.ends_with("/")) << path;
}

TEST_F(AnimationTest, PreloadAsksForEveryListedPathOnce)
{
    WritePng(images / "Data/Player/0000.png", 30, 20, 0xffffffffu);
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(images.path.c_str()), 0);
    PreloadAnimations(*renderer);
    const auto first = renderer->animations;
    PreloadAnimations(*renderer);
    ASSERT_EQ(chdir(previous), 0);

    EXPECT_EQ(renderer->animations, first);
    const std::vector<std::string_view> listed = PreloadPaths();
    EXPECT_EQ(first.size(), listed.size());
    for (const std::string_view path : listed)
        EXPECT_EQ(first.count(std::string(path)), 1u) << path;
    EXPECT_EQ(first.at("Data/Player")->width, 30);
    EXPECT_EQ(first.count("Data/Gui/MenuBackground"), 0u);
}
