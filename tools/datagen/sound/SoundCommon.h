#pragma once

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

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

// Scales `samples` so that their highest absolute value sits at `peakDb` below full scale.
// A silent render is a broken design, so it stops the generator with `what` in the message.
inline void NormalizePeak(std::vector<double>& samples, double peakDb, const std::string& what)
{
    double peak = 0.0;
    for (const double sample : samples)
        peak = std::max(peak, std::fabs(sample));
    if (peak <= 0.0)
        throw std::runtime_error(what + " rendered silent");
    const double scale = DbToGain(peakDb) / peak;
    for (double& sample : samples)
        sample *= scale;
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
