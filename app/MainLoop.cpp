#include "app/MainLoop.h"

#include "app/GameBase.h"
#include "base/Clock.h"
#include "base/Random.h"
#include "base/Timer.h"

MainLoop::MainLoop(const std::function<GameBase*()>& createGame, const LoopPlatform& loopPlatform)
    : platform(loopPlatform)
{
    const uint32_t start = platform.milliseconds();
    rng::srand(start);
    lastTickTime = start;
    game = createGame();
    started = game->Started();
}

MainLoop::~MainLoop()
{
    if (game != nullptr)
        Finish();
}

bool MainLoop::Started() const
{
    return started;
}

bool MainLoop::Pass()
{
    AdvanceClock(platform.milliseconds());
    const bool keepRunning = game->frame();
    platform.yield();
    return keepRunning;
}

int MainLoop::Finish()
{
    delete game;
    game = nullptr;
    DestroyAllTimers();
    return started ? 0 : 1;
}

int RunMainLoop(const std::function<GameBase*()>& createGame, const LoopPlatform& platform)
{
    MainLoop loop(createGame, platform);
    if (loop.Started()) {
        while (loop.Pass()) { }
    }
    return loop.Finish();
}
