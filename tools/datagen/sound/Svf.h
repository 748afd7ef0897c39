#pragma once

#include "datagen/sound/SoundCommon.h"

#include <algorithm>
#include <cmath>

namespace sound {

// A state-variable filter in the trapezoidal (zero-delay feedback) form: stable under fast
// cutoff sweeps and at any cutoff below Nyquist, with low-, band- and high-pass taken from one
// state. Header-only because it runs once per sample in every voice.
class Svf {
public:
    // `resonance` 0..1; near 1 it rings, at 0 the response is flat and gentle.
    void SetCutoff(double hz, double resonance)
    {
        hz = std::clamp(hz, 10.0, sampleRateF * 0.45);
        const double g = std::tan(pi * hz / sampleRateF);
        k = 2.0 - 1.96 * std::clamp(resonance, 0.0, 1.0);
        a1 = 1.0 / (1.0 + g * (g + k));
        a2 = g * a1;
        a3 = g * a2;
    }

    // Feeds one sample; afterwards Low(), Band() and High() hold the three responses.
    void Process(double input)
    {
        const double v3 = input - ic2;
        const double v1 = a1 * ic1 + a2 * v3;
        const double v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2.0 * v1 - ic1;
        ic2 = 2.0 * v2 - ic2;
        low = v2;
        band = v1;
        high = input - k * v1 - v2;
    }

    double Low() const { return low; }
    double Band() const { return band; }
    double High() const { return high; }

private:
    double k = 2.0;
    double a1 = 1.0;
    double a2 = 0.0;
    double a3 = 0.0;
    double ic1 = 0.0;
    double ic2 = 0.0;
    double low = 0.0;
    double band = 0.0;
    double high = 0.0;
};

} // namespace sound
