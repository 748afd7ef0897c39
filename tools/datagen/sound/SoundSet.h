#pragma once

#include <string_view>
#include <vector>

// The game's sounds, each designed in code with its own fixed seed.
namespace sound {

// How one sound of the game is made: its path in the game's sound table and its renderer.
struct SoundMaker {
    std::string_view path {};
    std::vector<double> (*render)() = nullptr;
};

// The effects, each rendering mono samples in -1..1.
std::vector<SoundMaker> EffectMakers();

// The music loops, each rendering interleaved stereo samples in -1..1.
std::vector<SoundMaker> MusicMakers();

// Render the two music loops as interleaved stereo samples in -1..1.
std::vector<double> RenderMenuMusic();
std::vector<double> RenderGameMusic();

} // namespace sound
