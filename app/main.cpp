#include "app/MainLoop.h"
#include "app/Platform.h"
#include "modes/Game.h"

int main(int, char**)
{
    return RunMainLoop([] { return new Game("Skarvold"); },
        LoopPlatform { Platform::Milliseconds, Platform::YieldProcessor });
}
