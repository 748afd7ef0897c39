#pragma once

#include <filesystem>

// Draws every image of the game as numbered PNG frames below `dataDir`.
void GenerateImages(const std::filesystem::path& dataDir);

// Synthesises every sound effect and music track of the game as WAV files below `dataDir`.
void GenerateSounds(const std::filesystem::path& dataDir);
