#include "base/Clock.h"

uint32_t gameTime = 0;
uint32_t lastTickTime = 0;
bool gamePaused = false;

void AdvanceClock(uint32_t now)
{
    if (!gamePaused)
        gameTime += now - lastTickTime;
    lastTickTime = now;
}

void ResetClock()
{
    gameTime = 0;
    lastTickTime = 0;
    gamePaused = false;
}
