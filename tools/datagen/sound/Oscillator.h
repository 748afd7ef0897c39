#pragma once

#include "base/Random.h"
#include "datagen/sound/SoundCommon.h"

#include <cmath>

namespace sound {

// One band-limited oscillator. Saw and square use PolyBLEP corrections at their edges, so
// high notes and fast sweeps do not fold back as aliasing whistles. Kept in the header because
// it sits in every inner loop of the synthesiser.
class Oscillator {
public:
    void SetPhase(double value) { phase = value - std::floor(value); }

    // Answers one sample in -1..1 and advances by `increment` cycles (frequency / sample rate).
    // For noise, `increment` is the rate of fresh random values per sample (1 = white); the
    // values in between are interpolated, which keeps slow noise a smooth rumble.
    double Next(Wave wave, double increment, double duty, Random& random)
    {
        double value = 0.0;
        switch (wave) {
        case Wave::Sine:
            value = std::sin(2.0 * pi * phase);
            break;
        case Wave::Triangle:
            value = 4.0 * std::fabs(phase - 0.5) - 1.0;
            break;
        case Wave::Saw:
            value = 2.0 * phase - 1.0 - PolyBlep(phase, increment);
            break;
        case Wave::Square: {
            value = phase < duty ? 1.0 : -1.0;
            value += PolyBlep(phase, increment);
            double falling = phase - duty;
            if (falling < 0.0)
                falling += 1.0;
            value -= PolyBlep(falling, increment);
            break;
        }
        case Wave::Noise:
            value = noiseFrom + (noiseTo - noiseFrom) * phase;
            break;
        }
        phase += increment;
        if (phase >= 1.0) {
            phase -= std::floor(phase);
            if (wave == Wave::Noise) {
                noiseFrom = increment >= 1.0 ? RandomUnit(random) : noiseTo;
                noiseTo = RandomUnit(random);
            }
        }
        return value;
    }

    // A uniform value in -1..1 from the game's generator.
    static double RandomUnit(Random& random)
    {
        return static_cast<double>(random.Next()) * (2.0 / static_cast<double>(Random::Max)) - 1.0;
    }

private:
    // The residual of a unit step smoothed over one sample either side of the edge.
    static double PolyBlep(double t, double dt)
    {
        if (dt <= 0.0)
            return 0.0;
        if (t < dt) {
            t /= dt;
            return t + t - t * t - 1.0;
        }
        if (t > 1.0 - dt) {
            t = (t - 1.0) / dt;
            return t * t + t + t + 1.0;
        }
        return 0.0;
    }

    double phase = 0.0;
    double noiseFrom = 0.0;
    double noiseTo = 0.0;
};

} // namespace sound
