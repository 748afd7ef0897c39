// Frames read ahead on worker threads must give the game exactly what reading them on first
// request gives: the same frames in the same order, the same size, the same pixels, the same
// cache entries.

#include "render/FrameDecoder.h"
#include "render/Preload.h"

#include "support/GameDriver.h"
#include "support/HeadlessWindow.h"
#include "support/TestImages.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A picture of its own for every frame: a gradient whose colours and alpha tell the frame, the
// position and the channel order apart.
std::function<uint32_t(int, int)> Pattern(int frame)
{
    return [frame](int x, int y) {
        const auto alpha = static_cast<uint32_t>(255 - (x + y) % 128);
        const auto red = static_cast<uint32_t>((x * 16 + frame * 60) % 256);
        const auto green = static_cast<uint32_t>((y * 16) % 256);
        const auto blue = static_cast<uint32_t>((frame * 97 + 30) % 256);
        return (alpha << 24) | (red << 16) | (green << 8) | blue;
    };
}

// Everything the game can see of an animation: its size, and for every frame the layout of its
// texture and the whole window after drawing it over a grey backdrop.
struct Seen {
    int width = 0;
    int height = 0;
    int halfWidth = 0;
    int halfHeight = 0;
    std::vector<uint32_t> formats;
    std::vector<std::vector<uint32_t>> pictures;

    bool operator==(const Seen&) const = default;
};

} // namespace

class FrameDecoderTest : public HeadlessWindow {
protected:
    // Writes the frames numbered `numbers` into folder `name`, frame n sized 10 + 3n by 8 + 2n
    // pixels; answers the folder's path.
    std::string Folder(const std::string& name, std::vector<int> numbers, bool alpha = true)
    {
        for (const int n : numbers) {
            char file[32];
            std::snprintf(file, sizeof file, "/%04d.png", n);
            EXPECT_TRUE(WritePng(images / (name + file), 10 + 3 * n, 8 + 2 * n, Pattern(n), alpha));
        }
        return images / name;
    }

    // The frames as the plain rule reads them: IMG_Load of 0000.png, 0001.png, ... until the
    // first that does not load, each texture made straight from its surface.
    Animation ReadPlainly(const std::string& path)
    {
        Animation animation;
        for (;;) {
            char file[32];
            std::snprintf(file, sizeof file, "/%04zu.png", animation.frames.size());
            SDL_Surface* surface = IMG_Load((path + file).c_str());
            if (surface == nullptr)
                break;
            SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer->sdlRenderer, surface);
            SDL_FreeSurface(surface);
            SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
            animation.frames.push_back(texture);
        }
        if (!animation.frames.empty()) {
            SDL_QueryTexture(
                animation.frames[0], nullptr, nullptr, &animation.width, &animation.height);
            animation.halfWidth = animation.width / 2;
            animation.halfHeight = animation.height / 2;
        }
        return animation;
    }

    Seen Look(const Animation& animation)
    {
        Seen seen { animation.width, animation.height, animation.halfWidth, animation.halfHeight,
            {}, {} };
        for (SDL_Texture* texture : animation.frames) {
            uint32_t format = 0;
            SDL_QueryTexture(texture, &format, nullptr, nullptr, nullptr);
            seen.formats.push_back(format);
            SDL_SetRenderDrawColor(renderer->sdlRenderer, 90, 90, 90, 255);
            SDL_RenderClear(renderer->sdlRenderer);
            // Drawn at the size of frame 0 and half transparent, as a fading sprite would be.
            const SDL_Rect target { 100, 100, animation.width, animation.height };
            SDL_SetTextureAlphaMod(texture, 128);
            SDL_RenderCopy(renderer->sdlRenderer, texture, nullptr, &target);
            seen.pictures.push_back(ReadPicture());
        }
        SDL_SetRenderDrawColor(renderer->sdlRenderer, 0, 0, 0, 255);
        return seen;
    }

    static void Free(std::vector<SDL_Surface*>& surfaces)
    {
        for (SDL_Surface* surface : surfaces)
            SDL_FreeSurface(surface);
        surfaces.clear();
    }

    TempDir images;
};

TEST_F(FrameDecoderTest, GivesTheAnimationsThatThePlainReadGives)
{
    const std::vector<std::string> paths = {
        Folder("Gap", { 0, 1, 3 }),           // the gap ends it after two frames
        Folder("Opaque", { 0, 1, 2 }, false), // no alpha channel in the files
        Folder("Long", { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11 }),
        images / "Missing",          // no frame at all
        Folder("NoFirst", { 1, 2 }), // frames, but not frame 0
    };
    // Mixed: an opaque frame 0 and a smaller transparent frame 1, stretched to frame 0's size.
    Folder("Mixed", { 0 }, false);
    Folder("Mixed", { 1 }, true);
    std::vector<std::string> ahead = paths;
    ahead.push_back(images / "Mixed");
    ahead.push_back(images / "Gap"); // given twice, read once

    renderer->DecodeAhead(std::make_unique<FrameDecoder>(ahead, 2));
    for (const std::string& path : ahead) {
        Animation plain = ReadPlainly(path);
        Animation* decoded = renderer->GetAnimation(path);
        EXPECT_EQ(Look(*decoded), Look(plain)) << path;
        // Frames read on request, without the workers, are the same too.
        EXPECT_EQ(Look(*renderer->GetAnimation(path + "/")), Look(plain)) << path;
    }
    EXPECT_EQ(renderer->GetAnimation(images / "Gap")->frames.size(), 2u);
    EXPECT_EQ(renderer->GetAnimation(images / "Long")->frames.size(), 12u);
    EXPECT_EQ(renderer->GetAnimation(images / "Mixed")->width, 10);
    EXPECT_TRUE(renderer->GetAnimation(images / "Missing")->frames.empty());
    EXPECT_EQ(renderer->GetAnimation(images / "NoFirst")->width, 0);
}

TEST_F(FrameDecoderTest, CachesDecodedPathsLikeAnyOther)
{
    const std::string path = Folder("Ship", { 0, 1 });
    const std::string missing = images / "Missing";
    const std::string direct = Folder("Direct", { 0 });
    renderer->DecodeAhead(std::make_unique<FrameDecoder>(std::vector { path, missing }, 1));

    Animation* first = renderer->GetAnimation(path);
    Animation* none = renderer->GetAnimation(missing);
    // Asked again after the files changed: the cache answers, the disk is not read again.
    Folder("Ship", { 2 });
    Folder("Missing", { 0 });
    EXPECT_EQ(renderer->GetAnimation(path), first);
    EXPECT_EQ(first->frames.size(), 2u);
    EXPECT_EQ(renderer->GetAnimation(missing), none);
    EXPECT_TRUE(none->frames.empty());
    // A path the workers were not given is read when asked for.
    EXPECT_EQ(renderer->GetAnimation(direct)->frames.size(), 1u);
    EXPECT_EQ(renderer->animations.size(), 3u);

    // Sprites of a decoded path share its animation.
    EXPECT_EQ(renderer->AddSprite(path, 0)->animation, first);
    EXPECT_EQ(renderer->AddSprite(path, 3)->animation, first);
}

TEST_F(FrameDecoderTest, HandsEachPathOverOnceInAnyOrder)
{
    // More paths than the one worker gets to before they are asked for, asked for from the
    // last: the caller reads what no worker has begun, and waits for the rest.
    std::vector<std::string> paths;
    for (int i = 0; i < 24; ++i) {
        std::vector<int> numbers;
        for (int n = 0; n <= i % 5; ++n)
            numbers.push_back(n);
        paths.push_back(Folder("P" + std::to_string(i), numbers));
    }
    FrameDecoder decoder(paths, 1);
    for (size_t i = paths.size(); i-- > 0;) {
        ASSERT_TRUE(decoder.Holds(paths[i]));
        std::vector<SDL_Surface*> frames = decoder.Take(paths[i]);
        ASSERT_EQ(frames.size(), i % 5 + 1) << paths[i];
        for (size_t n = 0; n < frames.size(); ++n)
            EXPECT_EQ(frames[n]->w, 10 + 3 * static_cast<int>(n)) << paths[i] << " frame " << n;
        Free(frames);
        EXPECT_FALSE(decoder.Holds(paths[i]));
        EXPECT_TRUE(decoder.Take(paths[i]).empty());
    }
    EXPECT_FALSE(decoder.Holds(images / "Other"));
    EXPECT_TRUE(decoder.Take(images / "Other").empty());
}

TEST_F(FrameDecoderTest, AWindowShownWithTheFirstPictureStaysHiddenUntilThen)
{
    Folder("Still", { 0 });
    renderer->GetAnimation(images / "Still");
    EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_HIDDEN);
    renderer->ShowWindowWithFirstFrame();
    EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_HIDDEN);
    renderer->RenderFrame(16.0f);
    EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN);
}

TEST_F(FrameDecoderTest, AnEarlyPictureShowsTheWindowWithItsImageCentredOnBlack)
{
    renderer->ShowWindowWithFirstFrame();
    // Nothing to show: the window waits for the first frame.
    renderer->ShowWindowWithImage(images / "Missing");
    EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_HIDDEN);

    const std::string path = Folder("Backdrop", { 0, 1 }, false);
    renderer->ShowWindowWithImage(path);
    EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN);
    const std::vector<uint32_t> picture = ReadPicture();
    const auto at = [&](int x, int y) { return picture[static_cast<size_t>(y * windowWidth + x)]; };
    // Frame 0 is 10 by 8 pixels: its corners land at (395, 296) and (404, 303).
    const auto pattern = Pattern(0);
    EXPECT_EQ(at(395, 296), pattern(0, 0) | 0xFF000000u);
    EXPECT_EQ(at(404, 303), pattern(9, 7) | 0xFF000000u);
    EXPECT_EQ(at(394, 296), 0xFF000000u);
    EXPECT_EQ(at(395, 304), 0xFF000000u);
    // The image is held like any other: the game's own request finds it made.
    EXPECT_EQ(renderer->animations.count(path), 1u);
}

// The real game, started on the generated data set: every image it holds once the menu is up
// is the image the plain read gives.
TEST_F(FrameDecoderTest, TheGameStartsWithTheImagesThePlainReadGives)
{
    // The game brings its own window and renderer; this fixture's go first.
    delete renderer;
    renderer = nullptr;
    SDL_DestroyWindow(window);
    window = nullptr;
    SDL_Quit();

    GameDriver driver;
    ASSERT_TRUE(driver.game->Started());
    // The menu's backdrop showed the window before the menu was made.
    EXPECT_TRUE(SDL_GetWindowFlags(driver.game->window) & SDL_WINDOW_SHOWN);
    Renderer& gameRenderer = *driver.game->renderer;
    std::vector<std::string> expected;
    for (const std::string_view path : PreloadPaths())
        expected.emplace_back(path);
    expected.emplace_back("Data/Gui/MenuBackground");
    ASSERT_EQ(gameRenderer.animations.size(), expected.size());

    for (const std::string& path : expected) {
        ASSERT_EQ(gameRenderer.animations.count(path), 1u) << path;
        const Animation& held = *gameRenderer.animations.at(path);
        size_t files = 0;
        int width = 0;
        int height = 0;
        for (;; ++files) {
            char file[32];
            std::snprintf(file, sizeof file, "/%04zu.png", files);
            SDL_Surface* surface = IMG_Load((path + file).c_str());
            if (surface == nullptr)
                break;
            if (files == 0) {
                width = surface->w;
                height = surface->h;
            }
            SDL_FreeSurface(surface);
        }
        EXPECT_GT(files, 0u) << path;
        EXPECT_EQ(held.frames.size(), files) << path;
        EXPECT_EQ(held.width, width) << path;
        EXPECT_EQ(held.height, height) << path;
    }
}
