#pragma once

// A World on the headless Renderer, driven frame by frame the way the game's frame runs it:
// timers first, then every 32 ms step the time covers, then placing and drawing.

#include "base/Clock.h"
#include "base/Timer.h"
#include "world/World.h"

#include "support/HeadlessWindow.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <cstdint>

class ObjectFrames : public HeadlessWindow {
protected:
    void SetUp() override
    {
        HeadlessWindow::SetUp();
        DestroyAllTimers();
        ASSERT_EQ(TTF_Init(), 0) << TTF_GetError();
        world = new World(renderer);
    }

    void TearDown() override
    {
        delete world;
        DestroyAllTimers();
        TTF_Quit();
        HeadlessWindow::TearDown();
    }

    // Lets `ms` of gameTime pass (0 while paused) and runs one frame.
    void Frame(uint32_t ms)
    {
        gameTime += ms;
        TickTimers();
        const uint32_t delta = gameTime - lastFrameTime;
        accumulator += delta;
        const float alpha = std::min(static_cast<float>(accumulator) / 32.0f, 1.0f);
        for (; accumulator >= 32; accumulator -= 32)
            world->Update(0.032f);
        world->Render(static_cast<float>(delta) / 1000.0f, alpha);
        renderer->RenderFrame(static_cast<float>(delta));
        lastFrameTime = gameTime;
    }

    // Frames of `frameMs` until gameTime reaches `until`.
    void RunUntil(uint32_t until, uint32_t frameMs)
    {
        while (gameTime + frameMs <= until)
            Frame(frameMs);
    }

    World* world = nullptr;
    uint32_t accumulator = 0;
    uint32_t lastFrameTime = 0;
};
