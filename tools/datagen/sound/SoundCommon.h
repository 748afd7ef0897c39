#pragma once

#include <cmath>
#include <numbers>

// Shared constants and conversions of the sound generator. Everything runs at the game's mixer
// rate, so no file is ever resampled on playback.
namespace sound {

constexpr int sampleRate = 44100;
constexpr double sampleRateF = 44100.0;
constexpr double pi = std::numbers::pi;

// The waveforms an oscillator can make.
enum class Wave { Sine, Triangle, Saw, Square, Noise };

inline double DbToGain(double db)
{
    return std::pow(10.0, db / 20.0);
}

// MIDI note number to frequency, A4 = 69 = 440 Hz.
inline double NoteHz(double note)
{
    return 440.0 * std::exp2((note - 69.0) / 12.0);
}

inline int Seconds(double seconds)
{
    return static_cast<int>(seconds * sampleRateF + 0.5);
}

} // namespace sound
