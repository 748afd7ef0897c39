#include "app/GameBase.h"

#include "base/Clock.h"
#include "base/Timer.h"
#include "render/Renderer.h"
#include "world/World.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cstdio>

namespace {
void ReportStartFailure(const char* what)
{
    std::fprintf(stderr, "skarvold: cannot start: %s: %s\n", what, SDL_GetError());
}

// SDL falls back to a driver without any picture when no display can be reached (no X11 or
// Wayland session). A window there could never be seen or closed, so such a driver is only
// accepted when it was asked for by name.
bool IsInvisibleFallback()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr)
        return false;
    const bool invisible = SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0;
    const char* requested = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    return invisible && (requested == nullptr || *requested == '\0');
}
} // namespace

GameBase::GameBase(const std::string& caption)
    : lastFrameTime(gameTime)
{
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        ReportStartFailure("video system");
        return;
    }
    if (IsInvisibleFallback()) {
        SDL_SetError("no display found (is DISPLAY or WAYLAND_DISPLAY set?)");
        ReportStartFailure("video system");
        return;
    }
    TTF_Init();
    window = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
        windowWidth, windowHeight, SDL_WINDOW_SHOWN);
    if (window == nullptr) {
        ReportStartFailure("window");
        return;
    }
    renderer = new Renderer(window);
    if (renderer->sdlRenderer == nullptr)
        ReportStartFailure("renderer");
    world = new World(renderer);
}

GameBase::~GameBase()
{
    // The world goes first: its objects' destructors mark their draw items dead.
    delete world;
    delete renderer;
    if (window != nullptr)
        SDL_DestroyWindow(window);
    TTF_Quit();
    SDL_Quit();
}

bool GameBase::Started() const
{
    return window != nullptr && renderer != nullptr && renderer->sdlRenderer != nullptr;
}

bool GameBase::frame()
{
    TickTimers();

    const uint32_t now = gameTime;
    const uint32_t delta = now - lastFrameTime;
    accumulator += delta;

    // Taken before the steps consume the time: a frame that steps renders at 1.0.
    const float alpha = std::min(static_cast<float>(accumulator) / stepMs, 1.0f);

    const auto stepLength = static_cast<uint32_t>(stepMs);
    while (static_cast<float>(accumulator) >= stepMs) {
        accumulator -= stepLength;
        world->Update(stepMs / 1000.0f);
    }

    world->Render(static_cast<float>(delta) / 1000.0f, alpha);
    renderer->RenderFrame(static_cast<float>(delta));

    lastFrameTime = now;
    return running;
}
