#pragma once

#include "base/Clock.h"
#include "base/Random.h"
#include "base/Window.h"
#include "render/Renderer.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

// A hidden 800x600 window with the game's Renderer (the software driver under the test main),
// for tests that draw a frame and read the picture back. The clock starts at zero and the
// game's generator at seed 1; both are put back afterwards so that other tests start alike.
class HeadlessWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetClock();
        rng::srand(1);
        // The software renderer draws straight into the window's surface; without this hint
        // SDL would back that surface with a GL texture, loading a GL driver (slow, and it
        // leaks inside the system libraries).
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        window = SDL_CreateWindow("test", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
            windowWidth, windowHeight, SDL_WINDOW_HIDDEN);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        renderer = new Renderer(window);
        ASSERT_NE(renderer->sdlRenderer, nullptr) << SDL_GetError();
    }

    void TearDown() override
    {
        delete renderer;
        renderer = nullptr;
        if (window != nullptr)
            SDL_DestroyWindow(window);
        window = nullptr;
        SDL_Quit();
        ResetClock();
        rng::srand(1);
    }

    // The whole picture as ARGB8888, row by row. Read after RenderFrame: presenting does not
    // clear the software renderer's target, so the frame just drawn is still there.
    std::vector<uint32_t> ReadPicture() const
    {
        std::vector<uint32_t> pixels(static_cast<size_t>(windowWidth * windowHeight));
        EXPECT_EQ(SDL_RenderReadPixels(renderer->sdlRenderer, nullptr, SDL_PIXELFORMAT_ARGB8888,
                      pixels.data(), windowWidth * 4),
            0)
            << SDL_GetError();
        return pixels;
    }

    // ARGB8888 of one pixel of the picture.
    uint32_t Pixel(int x, int y) const
    {
        uint32_t pixel = 0;
        const SDL_Rect one { x, y, 1, 1 };
        EXPECT_EQ(
            SDL_RenderReadPixels(renderer->sdlRenderer, &one, SDL_PIXELFORMAT_ARGB8888, &pixel, 4),
            0)
            << SDL_GetError();
        return pixel;
    }

    // The smallest rectangle that holds every pixel that is not black; empty if none is.
    SDL_Rect DrawnBounds() const
    {
        const std::vector<uint32_t> pixels = ReadPicture();
        int left = windowWidth, top = windowHeight, right = -1, bottom = -1;
        for (int y = 0; y < windowHeight; ++y) {
            for (int x = 0; x < windowWidth; ++x) {
                if ((pixels[static_cast<size_t>(y * windowWidth + x)] & 0xffffffu) == 0)
                    continue;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
        if (right < 0)
            return SDL_Rect { 0, 0, 0, 0 };
        return SDL_Rect { left, top, right - left + 1, bottom - top + 1 };
    }

    // A texture of one colour for the renderer, e.g. to stand in for a text item's texture
    // (the item then owns and destroys it).
    SDL_Texture* MakeTexture(int width, int height, uint32_t argb) const
    {
        SDL_Surface* surface
            = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
        if (surface == nullptr)
            return nullptr;
        SDL_FillRect(surface, nullptr, argb);
        SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer->sdlRenderer, surface);
        SDL_FreeSurface(surface);
        return texture;
    }

    SDL_Window* window = nullptr;
    Renderer* renderer = nullptr;
};

// Channels of an ARGB8888 pixel.
inline int RedOf(uint32_t pixel)
{
    return static_cast<int>((pixel >> 16) & 0xff);
}
inline int GreenOf(uint32_t pixel)
{
    return static_cast<int>((pixel >> 8) & 0xff);
}
inline int BlueOf(uint32_t pixel)
{
    return static_cast<int>(pixel & 0xff);
}
