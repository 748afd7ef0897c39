#pragma once

#include "base/AssetPaths.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

// Draws every image of the game's image table as numbered PNG frames below `dataDir`.
void GenerateImages(const std::filesystem::path& dataDir);

// Synthesises every sound of the game's sound table as a WAV file below `dataDir`.
void GenerateSounds(const std::filesystem::path& dataDir);

// The file or folder of a game path below the data folder: "Data/Player" -> "Player".
inline std::string BelowDataFolder(std::string_view gamePath)
{
    if (gamePath.substr(0, dataFolder.size()) != dataFolder)
        throw std::runtime_error(std::string(gamePath) + ": not below " + std::string(dataFolder));
    return std::string(gamePath.substr(dataFolder.size()));
}
