#include "app/DataLocation.h"
#include "app/MainLoop.h"
#include "app/Platform.h"
#include "app/WebMainLoop.h"
#include "modes/Game.h"

#include <filesystem>
#include <system_error>

// SKARVOLD_DATA_FROM_PROGRAM, the way from the installed program's folder to the installed
// data set ("../share/games/skarvold"), comes from the install layout in cmake/Install.cmake;
// a Windows build has none: its data lies beside the program.

int main(int, char**)
{
    // Without a data set the game would open a black, silent window: say why instead, before
    // any window opens.
    std::error_code error;
#if defined(_WIN32)
    // A Windows game is unpacked with its Data folder beside the .exe and started from any
    // folder (Explorer, a shortcut's "Start in", a console): it works from the folder of the
    // .exe, and only there.
    const std::filesystem::path programFolder = DataLocation::RunningProgram().parent_path();
    std::filesystem::current_path(programFolder, error);
    const DataLocation data(programFolder, {});
#else
    const DataLocation data(std::filesystem::current_path(error),
        DataLocation::InstalledBeside(DataLocation::RunningProgram(), SKARVOLD_DATA_FROM_PROGRAM));
#endif
    if (!data.Enter()) {
        Platform::ShowStartFailure(data.NotFoundMessage());
        return 1;
    }
    const Platform::FineTimer fineTimer;
#ifdef __EMSCRIPTEN__
    // In the browser the page's animation frames drive the loop; main returns at once.
    StartWebMainLoop([] { return new Game("Skarvold"); });
    return 0;
#else
    return RunMainLoop([] { return new Game("Skarvold"); },
        LoopPlatform { Platform::Milliseconds, Platform::YieldProcessor });
#endif
}
