#pragma once

// Reads a sound file of the built data set as the game names it, raw: no conversion, so a test
// sees the file's own format and samples.

#include "base/AssetPaths.h"

#include <SDL.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct WavData {
    bool loaded = false;
    SDL_AudioSpec format {};
    std::vector<int16_t> samples; // interleaved; empty unless the file is 16-bit PCM
};

// `gamePath` as the game names it: "Data/Player/Attack.wav".
inline WavData LoadWav(std::string_view gamePath)
{
    WavData wav;
    const std::string path
        = std::string(SKARVOLD_DATA_DIR) + "/" + std::string(gamePath.substr(dataFolder.size()));
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV(path.c_str(), &wav.format, &buffer, &length) == nullptr)
        return wav;
    wav.loaded = true;
    if (wav.format.format == AUDIO_S16LSB) {
        wav.samples.resize(length / 2);
        for (size_t i = 0; i < wav.samples.size(); ++i)
            wav.samples[i] = static_cast<int16_t>(buffer[2 * i] | (buffer[2 * i + 1] << 8));
    }
    SDL_FreeWAV(buffer);
    return wav;
}
