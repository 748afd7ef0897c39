#include "datagen/sound/Sequencer.h"

#include "base/Random.h"
#include "datagen/sound/Oscillator.h"
#include "datagen/sound/Reverb.h"
#include "datagen/sound/Svf.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <sstream>
#include <stdexcept>

namespace sound {

namespace {

    constexpr int controlInterval = 16;
    constexpr int maxUnison = 4;

    // How long the echo and the room run over the loop's end before the recorded pass starts:
    // longer than either takes to die away, so the start hears the end's tails at full length.
    constexpr double warmUpSeconds = 10.0;

    // Level of the attack-decay-sustain envelope `t` seconds into a held note.
    double Adsr(const Instrument& in, double t)
    {
        if (t < in.attack)
            return t / in.attack;
        return in.sustain + (1.0 - in.sustain) * std::exp(-(t - in.attack) / in.decay);
    }

    // Renders one note of instrument `in` at `hz`, held for `gate` samples, then released.
    void RenderVoice(
        const Instrument& in, double hz, int gate, Random& random, std::vector<double>& out)
    {
        const int release = Seconds(in.release);
        const int total = gate + release;
        out.assign(static_cast<size_t>(total), 0.0);

        const int unison = std::clamp(in.unison, 1, maxUnison);
        std::array<Oscillator, maxUnison> oscillators;
        std::array<double, maxUnison> ratios {};
        for (int j = 0; j < unison; ++j) {
            const double spread = unison == 1
                ? 0.0
                : static_cast<double>(j) / static_cast<double>(unison - 1) - 0.5;
            ratios[static_cast<size_t>(j)] = std::exp2(in.detuneCents * spread / 1200.0);
            // Stacked oscillators start at random phases, or they would add into one loud edge.
            if (unison > 1)
                oscillators[static_cast<size_t>(j)].SetPhase(
                    static_cast<double>(random.Next()) / static_cast<double>(Random::Max + 1));
        }
        Oscillator second;
        const double ratio2 = std::exp2(in.interval2 / 12.0);
        const double oscScale = in.oscLevel / std::sqrt(static_cast<double>(unison));
        Svf lowPass;
        Svf highPass;
        const bool useLowPass = in.cutoff < 19000.0 || in.cutoffEnv != 0.0;
        const bool useHighPass = in.highPass > 0.0;
        const double driveNorm = in.drive > 0.0 ? 1.0 / std::tanh(1.0 + in.drive) : 1.0;
        const double gateTime = static_cast<double>(gate) / sampleRateF;
        const double gateLevel = Adsr(in, gateTime);

        double increment = 0.0;
        double noiseLevel = in.noise;
        for (int i = 0; i < total; ++i) {
            const double t = static_cast<double>(i) / sampleRateF;
            if (i % controlInterval == 0) {
                double semitones = 0.0;
                if (in.pitchDrop != 0.0)
                    semitones += in.pitchDrop * std::exp(-t / in.pitchDropTime);
                if (in.vibratoDepth != 0.0 && t > in.vibratoDelay) {
                    const double fadeIn = std::min((t - in.vibratoDelay) / 0.3, 1.0);
                    semitones += in.vibratoDepth * fadeIn * std::sin(2.0 * pi * in.vibratoRate * t);
                }
                increment = std::min(hz * std::exp2(semitones / 12.0) / sampleRateF, 0.45);
                if (useLowPass)
                    lowPass.SetCutoff(
                        in.cutoff * std::exp2(in.cutoffEnv * std::exp(-t / in.cutoffDecay)),
                        in.resonance);
                if (useHighPass)
                    highPass.SetCutoff(in.highPass, 0.0);
                if (in.noise > 0.0 && in.noiseDecay > 0.0)
                    noiseLevel = in.noise * std::exp(-t / in.noiseDecay);
            }

            double v = 0.0;
            if (in.oscLevel > 0.0) {
                for (int j = 0; j < unison; ++j)
                    v += oscillators[static_cast<size_t>(j)].Next(
                        in.wave, increment * ratios[static_cast<size_t>(j)], in.duty, random);
                v *= oscScale;
            }
            if (in.level2 > 0.0)
                v += in.level2
                    * second.Next(in.wave2, std::min(increment * ratio2, 0.45), in.duty, random);
            if (in.noise > 0.0)
                v += noiseLevel * Oscillator::RandomUnit(random);
            if (useLowPass) {
                lowPass.Process(v);
                v = lowPass.Low();
            }
            if (useHighPass) {
                highPass.Process(v);
                v = highPass.High();
            }
            if (in.drive > 0.0)
                v = std::tanh(v * (1.0 + in.drive)) * driveNorm;

            double envelope;
            if (i < gate) {
                envelope = Adsr(in, t);
            } else {
                const double x = 1.0 - static_cast<double>(i - gate) / static_cast<double>(release);
                envelope = gateLevel * x * x;
            }
            out[static_cast<size_t>(i)] = v * envelope * in.gain;
        }
    }

    // MIDI number of a note name such as "C4", "F#3" or "Bb5"; -1 when `token` is not one.
    int ParseNote(const std::string& token)
    {
        static constexpr std::array<int, 7> semitones = { 9, 11, 0, 2, 4, 5, 7 }; // A..G
        if (token.size() < 2 || token[0] < 'A' || token[0] > 'G')
            return -1;
        int note = semitones[static_cast<size_t>(token[0] - 'A')];
        size_t pos = 1;
        if (token[pos] == '#') {
            ++note;
            ++pos;
        } else if (token[pos] == 'b') {
            --note;
            ++pos;
        }
        if (pos + 1 != token.size() || !std::isdigit(static_cast<unsigned char>(token[pos])))
            return -1;
        const int octave = token[pos] - '0';
        return 12 * (octave + 1) + note;
    }

} // namespace

Sequencer::Sequencer(int bpm, int beats, int stepsPerBeat)
{
    if (bpm <= 0 || beats <= 0 || stepsPerBeat <= 0 || (sampleRate * 60) % bpm != 0
        || (sampleRate * 60 / bpm) % stepsPerBeat != 0)
        throw std::invalid_argument("tempo gives no whole number of samples per step");
    beatSamples = sampleRate * 60 / bpm;
    stepSamples = beatSamples / stepsPerBeat;
    frames = beatSamples * beats;
}

int Sequencer::AddTrack(
    const Instrument& instrument, double gain, double pan, double delaySend, double reverbSend)
{
    tracks.push_back({ instrument, gain, pan, delaySend, reverbSend });
    return static_cast<int>(tracks.size()) - 1;
}

void Sequencer::AddNote(
    int track, int step, int lengthSteps, double pitch, double velocity, double panOffset)
{
    if (track < 0 || track >= static_cast<int>(tracks.size()) || lengthSteps <= 0)
        throw std::invalid_argument("note on a missing track or without length");
    notes.push_back({ track, step, lengthSteps, pitch, velocity, panOffset });
}

int Sequencer::AddPattern(
    int track, int startStep, const std::string& text, double velocity, double drumPitch)
{
    // Bar lines only guide the reader, and may touch the tokens around them.
    std::string spaced = text;
    std::replace(spaced.begin(), spaced.end(), '|', ' ');
    std::istringstream tokens(spaced);
    std::string token;
    int step = startStep;
    int open = -1; // index in `notes` of the note that "." extends
    while (tokens >> token) {
        if (token == ".") {
            if (open >= 0)
                ++notes[static_cast<size_t>(open)].length;
        } else if (token == "-") {
            open = -1;
        } else if (token == "x" || token == "o") {
            AddNote(track, step, 1, drumPitch, token == "x" ? velocity : velocity * 0.55);
            open = static_cast<int>(notes.size()) - 1;
        } else {
            const int note = ParseNote(token);
            if (note < 0)
                throw std::invalid_argument("bad pattern token: " + token);
            AddNote(track, step, 1, note, velocity);
            open = static_cast<int>(notes.size()) - 1;
        }
        ++step;
    }
    return step - startStep;
}

void Sequencer::SetDelay(double beats, double feedback, double damping)
{
    delayBeats = beats;
    delayFeedback = feedback;
    delayDamping = damping;
}

void Sequencer::SetReverb(double roomSize, double damping, double level)
{
    reverbRoom = roomSize;
    reverbDamping = damping;
    reverbLevel = level;
}

std::vector<double> Sequencer::Render(uint32_t seed, double peakDb) const
{
    const size_t n = static_cast<size_t>(frames);
    std::vector<double> mix(2 * n, 0.0);
    std::vector<double> delayBus(2 * n, 0.0);
    std::vector<double> reverbBus(n, 0.0);

    Random random(seed);
    std::vector<double> voice;
    for (const Note& note : notes) {
        const Track& track = tracks[static_cast<size_t>(note.track)];
        RenderVoice(track.instrument, NoteHz(note.pitch), note.length * stepSamples, random, voice);
        const double pan = std::clamp(track.pan + note.panOffset, -1.0, 1.0);
        const double angle = (pan + 1.0) * pi / 4.0;
        const double gain = track.gain * note.velocity;
        const double left = std::cos(angle) * gain;
        const double right = std::sin(angle) * gain;
        // Steps before the loop's start or tails past its end wrap around: the loop is a circle.
        size_t index = static_cast<size_t>(
            ((static_cast<long>(note.step) * stepSamples) % frames + frames) % frames);
        for (const double sample : voice) {
            mix[2 * index] += sample * left;
            mix[2 * index + 1] += sample * right;
            if (track.delaySend > 0.0) {
                delayBus[2 * index] += sample * left * track.delaySend;
                delayBus[2 * index + 1] += sample * right * track.delaySend;
            }
            if (track.reverbSend > 0.0)
                reverbBus[index] += sample * gain * track.reverbSend;
            if (++index == n)
                index = 0;
        }
    }

    const size_t warmUp = std::min(n, static_cast<size_t>(Seconds(warmUpSeconds)));

    if (delayFeedback > 0.0) {
        const size_t length = static_cast<size_t>(std::lround(delayBeats * beatSamples));
        std::vector<double> lineLeft(length, 0.0);
        std::vector<double> lineRight(length, 0.0);
        size_t cursor = 0;
        double dampLeft = 0.0;
        double dampRight = 0.0;
        // The first `warmUp` samples replay the loop's end to fill the lines; then the real pass.
        for (size_t k = 0; k < warmUp + n; ++k) {
            const size_t i = (k + n - warmUp) % n;
            const double outLeft = lineLeft[cursor];
            const double outRight = lineRight[cursor];
            dampLeft += (outLeft - dampLeft) * (1.0 - delayDamping);
            dampRight += (outRight - dampRight) * (1.0 - delayDamping);
            // Ping-pong: the input enters on the left and every repeat crosses sides.
            lineLeft[cursor]
                = 0.5 * (delayBus[2 * i] + delayBus[2 * i + 1]) + delayFeedback * dampRight;
            lineRight[cursor] = delayFeedback * dampLeft;
            if (++cursor == length)
                cursor = 0;
            if (k >= warmUp) {
                mix[2 * i] += outLeft;
                mix[2 * i + 1] += outRight;
                reverbBus[i] += 0.3 * (outLeft + outRight);
            }
        }
    }

    if (reverbLevel > 0.0) {
        Reverb reverb(reverbRoom, reverbDamping);
        for (size_t k = 0; k < warmUp + n; ++k) {
            const size_t i = (k + n - warmUp) % n;
            double left = 0.0;
            double right = 0.0;
            reverb.Process(reverbBus[i], left, right);
            if (k >= warmUp) {
                mix[2 * i] += left * reverbLevel;
                mix[2 * i + 1] += right * reverbLevel;
            }
        }
    }

    // Drive on the kick and bass leaves a little DC; a 20 Hz high-pass run round the loop like
    // the effects removes it without a step at the seam.
    const double pole = 1.0 - 2.0 * pi * 20.0 / sampleRateF;
    const size_t settle = std::min(n, static_cast<size_t>(Seconds(1.0)));
    for (size_t channel = 0; channel < 2; ++channel) {
        double previousIn = 0.0;
        double previousOut = 0.0;
        for (size_t k = 0; k < settle + n; ++k) {
            const size_t i = 2 * ((k + n - settle) % n) + channel;
            const double out = mix[i] - previousIn + pole * previousOut;
            previousIn = mix[i];
            previousOut = out;
            if (k >= settle)
                mix[i] = out;
        }
    }

    NormalizePeak(mix, peakDb, "music");
    return mix;
}

} // namespace sound
