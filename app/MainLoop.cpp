#include "app/MainLoop.h"

#include "base/Clock.h"
#include "app/GameBase.h"
#include "base/Random.h"
#include "base/Timer.h"

int RunMainLoop(const std::function<GameBase*()>& createGame, const LoopPlatform& platform)
{
    const uint32_t start = platform.milliseconds();
    rng::srand(start);
    lastTickTime = start;

    GameBase* game = createGame();
    int exitCode = 0;
    if (game->Started()) {
        bool keepRunning = true;
        while (keepRunning) {
            AdvanceClock(platform.milliseconds());
            keepRunning = game->frame();
            platform.yield();
        }
    } else {
        exitCode = 1;
    }
    delete game;
    DestroyAllTimers();
    return exitCode;
}
