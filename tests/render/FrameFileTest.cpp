// Frame files that are not what they should be: the animation keeps the frames before the
// first bad one, and a frame of a silly size is refused before it is decoded.

#include "support/DamagedData.h"
#include "support/HeadlessWindow.h"
#include "support/TestImages.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

namespace {

using namespace damaged;

class FrameFileTest : public HeadlessWindow {
protected:
    // A folder of four good 20 x 20 frames.
    std::string Frames(const std::string& name)
    {
        for (int i = 0; i < 4; ++i)
            WritePng(Frame(name, i), 20, 20, 0xff00ff00u);
        return images / name;
    }

    std::string Frame(const std::string& name, int index) const
    {
        return images / (name + "/000" + std::to_string(index) + ".png");
    }

    // Replaces frame `index` of `name` by a file of `bytes`.
    void Overwrite(const std::string& name, int index, const std::string& bytes) const
    {
        std::filesystem::remove_all(Frame(name, index));
        WriteBytes(Frame(name, index), bytes.data(), bytes.size());
    }

    std::string GoodFrameBytes()
    {
        WritePng(images / "good.png", 20, 20, 0xff00ff00u);
        const std::vector<char> bytes = ReadBytes(images / "good.png");
        return std::string(bytes.begin(), bytes.end());
    }

    TempDir images;
};

TEST_F(FrameFileTest, ADamagedFrameEndsTheAnimationThere)
{
    const std::string good = GoodFrameBytes();
    Random noise(5);
    std::string random(good.size(), '\0');
    for (char& byte : random)
        byte = static_cast<char>(noise.Next());
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        { "empty", "" },
        { "cut short", good.substr(0, good.size() / 2) },
        { "the header only", good.substr(0, 33) },
        { "random bytes", random },
        { "the signature of another format", "BM" + good.substr(2) },
    };
    int folder = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string first = "first" + std::to_string(folder);
        const std::string third = "third" + std::to_string(folder++);
        Frames(first);
        Frames(third);
        Overwrite(first, 0, c.bytes);
        Overwrite(third, 2, c.bytes);
        EXPECT_TRUE(renderer->GetAnimation(images / first)->frames.empty());
        EXPECT_EQ(renderer->GetAnimation(images / first)->width, 0);
        EXPECT_EQ(renderer->GetAnimation(images / third)->frames.size(), 2u);
        EXPECT_EQ(renderer->GetAnimation(images / third)->width, 20);
    }

    // A folder in the place of a frame, and a file in the place of the animation's folder.
    Frames("folder");
    std::filesystem::remove(Frame("folder", 1));
    std::filesystem::create_directories(Frame("folder", 1) + "/inside");
    EXPECT_EQ(renderer->GetAnimation(images / "folder")->frames.size(), 1u);
    WriteBytes(images / "file", good.data(), good.size());
    EXPECT_TRUE(renderer->GetAnimation(images / "file")->frames.empty());
}

TEST_F(FrameFileTest, OnlyPngIsDecodedWhateverTheFileIsCalled)
{
    // A picture SDL_image could read in another format, under a frame's name.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 20, 20, 32, SDL_PIXELFORMAT_ARGB8888);
    ASSERT_NE(surface, nullptr);
    SDL_FillRect(surface, nullptr, 0xffffffffu);
    std::filesystem::create_directories(images / "Bitmap");
    ASSERT_EQ(SDL_SaveBMP(surface, (images / "Bitmap/0000.png").c_str()), 0);
    SDL_FreeSurface(surface);
    EXPECT_TRUE(renderer->GetAnimation(images / "Bitmap")->frames.empty());

    // A few bytes of another format's header can ask for gigabytes of pixels.
    WriteBytes(images / "Portable/0000.png",
        "P6\n2 2\n255\n\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff", 23);
    EXPECT_TRUE(renderer->GetAnimation(images / "Portable")->frames.empty());
}

TEST_F(FrameFileTest, FramesUpTo4096PixelsASideLoadAndLargerOnesAreRefused)
{
    ASSERT_TRUE(WritePng(images / "Wide/0000.png", 4096, 1, 0xffffffffu));
    ASSERT_TRUE(WritePng(images / "Tall/0000.png", 1, 4096, 0xffffffffu));
    ASSERT_TRUE(WritePng(images / "TooWide/0000.png", 4097, 1, 0xffffffffu));
    ASSERT_TRUE(WritePng(images / "TooTall/0000.png", 1, 4097, 0xffffffffu));
    EXPECT_EQ(renderer->GetAnimation(images / "Wide")->width, 4096);
    EXPECT_EQ(renderer->GetAnimation(images / "Tall")->height, 4096);
    EXPECT_TRUE(renderer->GetAnimation(images / "TooWide")->frames.empty());
    EXPECT_TRUE(renderer->GetAnimation(images / "TooTall")->frames.empty());

    // A valid PNG of 10000 x 10000, the size of a 400 MB surface, packed in 2.5 MB.
    Frames("Huge");
    ASSERT_TRUE(WriteBlankPng(Frame("Huge", 1), 10000, 10000));
    EXPECT_EQ(renderer->GetAnimation(images / "Huge")->frames.size(), 1u);
    ASSERT_TRUE(WriteBlankPng(images / "Blank/0000.png", 300, 200));
    EXPECT_EQ(renderer->GetAnimation(images / "Blank")->height, 200);
}

TEST_F(FrameFileTest, AOnePixelFrameIsDrawnAsOnePixelAtTheSpritesPosition)
{
    ASSERT_TRUE(WritePng(images / "Dot/0000.png", 1, 1, 0xffff0000u));
    Sprite* sprite = renderer->AddSprite(images / "Dot", 0);
    sprite->position = Vec2 { 100.7f, 50.2f };
    renderer->RenderFrame(16.0f);
    const SDL_Rect drawn = DrawnBounds();
    EXPECT_EQ(drawn.x, 100);
    EXPECT_EQ(drawn.y, 50);
    EXPECT_EQ(drawn.w, 1);
    EXPECT_EQ(drawn.h, 1);
    EXPECT_EQ(Pixel(100, 50), 0xffff0000u);
}

} // namespace
