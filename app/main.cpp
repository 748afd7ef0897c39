#include "app/DataLocation.h"
#include "app/MainLoop.h"
#include "app/Platform.h"
#include "modes/Game.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

// SKARVOLD_DATA_FROM_PROGRAM, the way from the installed program's folder to the installed
// data set ("../share/games/skarvold"), comes from the install layout in cmake/Install.cmake.

int main(int, char**)
{
    // Without a data set the game would open a black, silent window: say why instead, before
    // any window opens.
    std::error_code error;
    const DataLocation data(std::filesystem::current_path(error),
        DataLocation::InstalledBeside(DataLocation::RunningProgram(), SKARVOLD_DATA_FROM_PROGRAM));
    if (!data.Enter()) {
        std::fprintf(stderr, "%s\n", data.NotFoundMessage().c_str());
        return 1;
    }
    return RunMainLoop([] { return new Game("Skarvold"); },
        LoopPlatform { Platform::Milliseconds, Platform::YieldProcessor });
}
