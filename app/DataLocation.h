#pragma once

#include <filesystem>
#include <string>

// Where the game's data set lies. The game names every file by a path below "Data/", relative
// to its working folder. A game started beside its data set (the build folder, say) reads it
// there as it always has; an installed game started from anywhere else reads the data set
// installed with it, by working from the folder that holds it.
class DataLocation {
public:
    // `workingFolder`: where the game was started. `installedFolder`: the folder holding the
    // installed Data/, empty when it cannot be known.
    DataLocation(std::filesystem::path workingFolder, std::filesystem::path installedFolder);

    // The folder an installation put the data set in, given where the program itself lies and
    // the way from the program's folder to that folder ("../share/games/skarvold"). Empty for
    // an unknown program.
    static std::filesystem::path InstalledBeside(
        const std::filesystem::path& programFile, const std::filesystem::path& fromProgram);

    // The running program's own file, as the system tells it; empty when it does not.
    static std::filesystem::path RunningProgram();

    // The first folder holding a Data folder: the working folder, then the installed one.
    // Empty when neither does.
    std::filesystem::path Find() const;

    // Makes the found folder the working folder (the working folder is left alone when it
    // holds the data itself). False when there is no data set, or no way into it.
    bool Enter() const;

    // One line for the player telling where the data set was looked for.
    std::string NotFoundMessage() const;

private:
    static bool HoldsData(const std::filesystem::path& folder);

    std::filesystem::path workingFolder {};
    std::filesystem::path installedFolder {};
};
