#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

// The game's sounds, each designed in code with its own fixed seed.
namespace sound {

// One effect, rendered as mono samples in -1..1.
struct EffectFile {
    const char* path; // below the data folder
    std::vector<double> samples;
};

// Renders all twelve effects.
std::vector<EffectFile> RenderEffects();

// Render the two music loops as interleaved stereo samples in -1..1.
std::vector<double> RenderMenuMusic();
std::vector<double> RenderGameMusic();

} // namespace sound
