#pragma once

#include "datagen/sound/SoundCommon.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sound {

// A subtractive voice: up to four stacked, detuned oscillators plus a second waveform and
// noise, through a resonant low-pass with its own envelope and an optional high-pass, shaped by
// an ADSR amplitude envelope. Drums are voices too: a pitch drop makes a kick, noise a hat.
// Times are seconds (decays are time constants), frequencies Hz, levels linear.
struct Instrument {
    Wave wave = Wave::Saw;
    int unison = 1;           // 1..4 oscillators of `wave`
    double detuneCents = 0.0; // total spread of the unison stack
    double duty = 0.5;
    double oscLevel = 1.0;
    Wave wave2 = Wave::Sine;
    double level2 = 0.0;     // level of the second oscillator (0 = off)
    double interval2 = 0.0;  // its pitch above the note, semitones
    double noise = 0.0;      // white noise level
    double noiseDecay = 0.0; // noise fades with this time constant (0 = it lasts the note)

    double attack = 0.005;
    double decay = 0.2;
    double sustain = 1.0;
    double release = 0.1;

    double cutoff = 20000.0;
    double cutoffEnv = 0.0;   // octaves above `cutoff` at the note's start
    double cutoffDecay = 0.1; // time constant of that opening
    double resonance = 0.0;
    double highPass = 0.0; // 0 = off

    double pitchDrop = 0.0; // semitones above the note at its start, falling away
    double pitchDropTime = 0.05;
    double vibratoDepth = 0.0; // semitones
    double vibratoRate = 5.0;
    double vibratoDelay = 0.25;

    double drive = 0.0;
    double gain = 1.0;
};

// A step sequencer that renders one seamless loop. Time is counted in steps of a fixed tempo;
// notes that ring past the end of the loop wrap around into its start, and the delay and reverb
// are run as if the loop had already been playing, so the last sample flows into the first.
class Sequencer {
public:
    // Throws std::invalid_argument unless one step is a whole number of samples.
    Sequencer(int bpm, int beats, int stepsPerBeat);

    // Adds a track playing `instrument`; answers its index. `pan` -1 (left) .. 1 (right);
    // the sends feed the shared echo and room.
    int AddTrack(
        const Instrument& instrument, double gain, double pan, double delaySend, double reverbSend);

    // `pitch` is a MIDI note number; `panOffset` moves this note from the track's pan.
    void AddNote(int track, int step, int lengthSteps, double pitch, double velocity = 1.0,
        double panOffset = 0.0);

    // Adds notes written as tracker text from `startStep` on, one token per step: a note name
    // ("C4", "F#3", "Bb5") starts a note, "." holds the previous one, "-" rests, "x" and "o"
    // strike `drumPitch` hard and soft; "|" marks bars for the reader and takes no step.
    // Answers the number of steps read. Throws std::invalid_argument on a bad token.
    int AddPattern(int track, int startStep, const std::string& text, double velocity = 1.0,
        double drumPitch = 60.0);

    // Ping-pong echo: time in beats, feedback 0..1, damping 0..1 of the repeats' highs.
    void SetDelay(double beats, double feedback, double damping);
    void SetReverb(double roomSize, double damping, double level);

    int Frames() const { return frames; }
    int StepSamples() const { return stepSamples; }

    // Renders the loop as interleaved stereo with its peak at `peakDb` dBFS; noise and the
    // unison phases come from a generator seeded with `seed`.
    std::vector<double> Render(uint32_t seed, double peakDb) const;

private:
    struct Track {
        Instrument instrument;
        double gain;
        double pan;
        double delaySend;
        double reverbSend;
    };
    struct Note {
        int track;
        int step;
        int length;
        double pitch;
        double velocity;
        double panOffset;
    };

    int stepSamples;
    int frames;
    int beatSamples;
    std::vector<Track> tracks;
    std::vector<Note> notes;
    double delayBeats = 0.75;
    double delayFeedback = 0.0;
    double delayDamping = 0.3;
    double reverbRoom = 0.5;
    double reverbDamping = 0.5;
    double reverbLevel = 0.0;
};

} // namespace sound
