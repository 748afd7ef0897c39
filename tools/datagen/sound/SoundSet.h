#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// The game's sounds, each designed in code; every table row gives its sound's own seed.
namespace sound {

// How one sound of the game is made: its path in the game's sound table, the seed of its
// noise and unison phases, and its renderer, called with that seed.
struct SoundMaker {
    std::string_view path {};
    uint32_t seed = 0;
    std::vector<double> (*render)(uint32_t seed) = nullptr;
};

// The effects, each rendering mono samples in -1..1.
std::vector<SoundMaker> EffectMakers();

// The music loops, each rendering interleaved stereo samples in -1..1.
std::vector<SoundMaker> MusicMakers();

// Render the two music loops as interleaved stereo samples in -1..1.
std::vector<double> RenderMenuMusic(uint32_t seed);
std::vector<double> RenderGameMusic(uint32_t seed);

} // namespace sound
