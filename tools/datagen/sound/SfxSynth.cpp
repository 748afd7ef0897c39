#include "datagen/sound/SfxSynth.h"

#include "datagen/sound/Oscillator.h"
#include "datagen/sound/Svf.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace sound {

namespace {

    // Pitch, duty and filter settings move slowly, so they are recomputed every few samples only.
    constexpr int controlInterval = 16;

    double Envelope(const SfxLayer& p, double t)
    {
        // The attack rises straight to the punch level, so the envelope never jumps.
        const double peak = p.hold > 0.0 ? 1.0 + p.punch : 1.0;
        if (t < p.attack)
            return peak * t / p.attack;
        t -= p.attack;
        if (t < p.hold)
            return 1.0 + p.punch * (1.0 - t / p.hold);
        t -= p.hold;
        const double x = std::min(t / p.decay, 1.0);
        return std::pow(1.0 - x, p.decayCurve);
    }

    // Removes any DC offset (asymmetric duty cycles, saturated noise) with a gentle 20 Hz
    // high-pass.
    void RemoveDc(std::vector<double>& samples)
    {
        const double r = 1.0 - 2.0 * pi * 20.0 / sampleRateF;
        double previousIn = 0.0;
        double previousOut = 0.0;
        for (double& sample : samples) {
            const double out = sample - previousIn + r * previousOut;
            previousIn = sample;
            previousOut = out;
            sample = out;
        }
    }

    // Raised-cosine ramps at both ends, so the first and last samples are exactly zero.
    void FadeEnds(std::vector<double>& samples, int fadeIn, int fadeOut)
    {
        const int count = static_cast<int>(samples.size());
        fadeIn = std::min(fadeIn, count / 2);
        fadeOut = std::min(fadeOut, count / 2);
        for (int i = 0; i < fadeIn; ++i) {
            const double s
                = std::sin(0.5 * pi * static_cast<double>(i) / static_cast<double>(fadeIn));
            samples[static_cast<size_t>(i)] *= s * s;
        }
        for (int i = 0; i < fadeOut; ++i) {
            const double s
                = std::sin(0.5 * pi * static_cast<double>(i) / static_cast<double>(fadeOut));
            samples[static_cast<size_t>(count - 1 - i)] *= s * s;
        }
    }

} // namespace

void RenderLayer(const SfxLayer& p, Random& random, std::vector<double>& out)
{
    const size_t offset = static_cast<size_t>(Seconds(p.start));
    const int length = Seconds(p.Length());
    if (out.size() < offset + static_cast<size_t>(length))
        out.resize(offset + static_cast<size_t>(length), 0.0);

    Oscillator main;
    Oscillator detuned;
    Oscillator ring;
    detuned.SetPhase(0.37);
    Svf lowPass;
    Svf highPass;
    const bool useLowPass = p.lowPass < 19000.0 || p.lowPassSweep != 0.0;
    const bool useHighPass = p.highPass > 0.0;
    const double detuneRatio = std::exp2(p.detuneCents / 1200.0);
    const double ringIncrement = p.ringFrequency / sampleRateF;
    const double driveNorm = p.drive > 0.0 ? 1.0 / std::tanh(1.0 + p.drive) : 1.0;

    double increment = 0.0;
    double duty = p.duty;
    for (int i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / sampleRateF;
        if (i % controlInterval == 0) {
            const double sweepTime = p.repeatTime > 0.0 ? std::fmod(t, p.repeatTime) : t;
            double octaves = p.slide * sweepTime + 0.5 * p.slideAccel * sweepTime * sweepTime;
            if (p.vibratoDepth != 0.0)
                octaves += p.vibratoDepth / 12.0 * std::sin(2.0 * pi * p.vibratoRate * t);
            double hz = p.frequency * std::exp2(octaves);
            if (p.arpTime > 0.0 && sweepTime >= p.arpTime)
                hz *= p.arpRatio;
            hz = std::clamp(hz, p.minFrequency, p.maxFrequency);
            increment = hz / sampleRateF;
            if (p.wave == Wave::Noise)
                increment = std::min(increment * p.noiseSteps, 1.0);
            duty = std::clamp(p.duty + p.dutySweep * t, 0.05, 0.95);
            if (useLowPass)
                lowPass.SetCutoff(p.lowPass * std::exp2(p.lowPassSweep * t), p.resonance);
            if (useHighPass)
                highPass.SetCutoff(p.highPass * std::exp2(p.highPassSweep * t), 0.0);
        }

        double v = main.Next(p.wave, increment, duty, random);
        if (p.detuneCents != 0.0)
            v = 0.5
                * (v + detuned.Next(p.wave, std::min(increment * detuneRatio, 1.0), duty, random));
        if (p.ringFrequency > 0.0)
            v *= 1.0 - p.ringMix + p.ringMix * ring.Next(Wave::Sine, ringIncrement, 0.5, random);
        if (useLowPass) {
            lowPass.Process(v);
            v = lowPass.Low();
        }
        if (useHighPass) {
            highPass.Process(v);
            v = highPass.High();
        }
        if (p.drive > 0.0)
            v = std::tanh(v * (1.0 + p.drive)) * driveNorm;
        out[offset + static_cast<size_t>(i)] += v * Envelope(p, t) * p.gain;
    }
}

std::vector<double> RenderEffect(const std::vector<SfxLayer>& layers, uint32_t seed, double peakDb)
{
    Random random(seed);
    std::vector<double> samples;
    for (const SfxLayer& layer : layers)
        RenderLayer(layer, random, samples);
    // A few milliseconds of silence after the last layer leave room for the DC filter to settle.
    samples.resize(samples.size() + static_cast<size_t>(Seconds(0.005)), 0.0);

    RemoveDc(samples);
    FadeEnds(samples, Seconds(0.003), Seconds(0.012));

    NormalizePeak(samples, peakDb, "sound effect");
    return samples;
}

} // namespace sound
