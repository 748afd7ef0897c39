#pragma once

#include "base/Random.h"
#include "datagen/sound/SoundCommon.h"

#include <cstdint>
#include <vector>

namespace sound {

// One layer of a sound effect, in the spirit of the classic retro effect generators: one
// oscillator with a pitch sweep, vibrato and arpeggio jump, an attack-hold-decay envelope with
// punch, resonant low-pass and high-pass filters with sweeps, ring modulation and drive.
// Times are seconds, frequencies Hz, sweeps octaves per second.
struct SfxLayer {
    Wave wave = Wave::Square;
    double frequency = 440.0;
    double slide = 0.0;      // pitch sweep, octaves per second (negative falls)
    double slideAccel = 0.0; // change of the sweep, octaves per second per second
    double minFrequency = 20.0;
    double maxFrequency = 16000.0;
    double vibratoDepth = 0.0; // semitones
    double vibratoRate = 0.0;  // Hz
    double duty = 0.5;         // square only
    double dutySweep = 0.0;    // per second
    double arpTime = 0.0;      // pitch jumps by arpRatio after this long (0 = never)
    double arpRatio = 1.0;
    double repeatTime = 0.0;    // restarts the sweep every repeatTime (0 = never)
    double noiseSteps = 32.0;   // noise: fresh values per oscillator period
    double detuneCents = 0.0;   // a second, detuned oscillator thickens the tone (0 = none)
    double ringFrequency = 0.0; // multiplies by a sine of this frequency (0 = off)
    double ringMix = 1.0;

    double attack = 0.004;
    double hold = 0.0;
    double decay = 0.2;
    double decayCurve = 2.0; // exponent of the fall: larger falls faster at first
    double punch = 0.0;      // extra level at the start of the hold, fading over the hold

    double lowPass = 20000.0;
    double lowPassSweep = 0.0; // octaves per second
    double resonance = 0.0;
    double highPass = 0.0; // 0 = off
    double highPassSweep = 0.0;

    double drive = 0.0; // soft saturation amount, 0 = clean
    double gain = 1.0;
    double start = 0.0; // offset of this layer in the effect

    double Length() const { return attack + hold + decay; }
};

// Renders one effect: every layer mixed at its offset, DC removed, faded in over a few
// milliseconds and out to exact silence, and scaled so its peak sits at `peakDb` dBFS.
// Each effect draws its noise from its own generator seeded with `seed`.
std::vector<double> RenderEffect(const std::vector<SfxLayer>& layers, uint32_t seed, double peakDb);

// Renders one layer alone, unscaled, into `out` starting at its offset (grown as needed).
void RenderLayer(const SfxLayer& layer, Random& random, std::vector<double>& out);

} // namespace sound
