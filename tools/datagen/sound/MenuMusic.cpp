// The menu's loop: calm. Slow pads over a soft bass, a gentle arpeggio through echo and room,
// and in the second half a sparse bell melody. A minor, 75 BPM, 16 bars.
#include "base/Random.h"
#include "datagen/sound/MusicTempo.h"
#include "datagen/sound/Sequencer.h"
#include "datagen/sound/SoundSet.h"

#include <array>

namespace sound {

namespace {

    constexpr int stepsPerBar = 16;
    constexpr int barsPerChord = 2;

    struct Chord {
        int bass;
        std::array<int, 4> pad;
    };

    // Am(add9), Fmaj7, C(add9), G6, Am7, F(add9), Dm7, E: two bars each.
    constexpr std::array<Chord, 8> progression = { {
        { 45, { 57, 60, 64, 71 } },
        { 41, { 53, 57, 60, 64 } },
        { 48, { 55, 60, 62, 64 } },
        { 43, { 55, 59, 62, 64 } },
        { 45, { 57, 60, 64, 67 } },
        { 41, { 53, 57, 60, 67 } },
        { 38, { 57, 60, 62, 65 } },
        { 40, { 56, 59, 64, 68 } },
    } };

    Instrument Pad()
    {
        Instrument pad;
        pad.wave = Wave::Saw;
        pad.unison = 3;
        pad.detuneCents = 16.0;
        pad.cutoff = 1700.0;
        pad.resonance = 0.2;
        pad.attack = 1.6;
        pad.decay = 2.0;
        pad.sustain = 0.8;
        pad.release = 2.4;
        return pad;
    }

    Instrument Bass()
    {
        Instrument bass;
        bass.wave = Wave::Triangle;
        bass.wave2 = Wave::Sine;
        bass.level2 = 0.6;
        bass.interval2 = -12.0;
        bass.cutoff = 500.0;
        bass.attack = 0.4;
        bass.decay = 1.5;
        bass.sustain = 0.7;
        bass.release = 1.2;
        return bass;
    }

    Instrument Arp()
    {
        Instrument arp;
        arp.wave = Wave::Triangle;
        arp.wave2 = Wave::Sine;
        arp.level2 = 0.25;
        arp.interval2 = 12.0;
        arp.cutoff = 5000.0;
        arp.attack = 0.004;
        arp.decay = 0.3;
        arp.sustain = 0.0;
        arp.release = 0.35;
        return arp;
    }

    // A soft glass bell: a sine with a faint partial a twelfth above.
    Instrument Bell()
    {
        Instrument bell;
        bell.wave = Wave::Sine;
        bell.wave2 = Wave::Sine;
        bell.level2 = 0.18;
        bell.interval2 = 19.0;
        bell.attack = 0.006;
        bell.decay = 0.9;
        bell.sustain = 0.0;
        bell.release = 1.2;
        bell.vibratoDepth = 0.06;
        bell.vibratoRate = 4.5;
        bell.vibratoDelay = 0.3;
        return bell;
    }

    // Distant wind: filtered noise swelling slowly.
    Instrument Wind()
    {
        Instrument wind;
        wind.oscLevel = 0.0;
        wind.noise = 1.0;
        wind.cutoff = 600.0;
        wind.cutoffEnv = 0.8;
        wind.cutoffDecay = 4.0;
        wind.resonance = 0.4;
        wind.attack = 3.0;
        wind.decay = 3.0;
        wind.sustain = 0.5;
        wind.release = 3.0;
        return wind;
    }

} // namespace

std::vector<double> RenderMenuMusic(uint32_t seed)
{
    Sequencer seq(menuTempo.bpm, menuTempo.beats, 4);
    Random humanise(2001);
    const int pad = seq.AddTrack(Pad(), 0.22, 0.0, 0.0, 0.7);
    const int bass = seq.AddTrack(Bass(), 0.5, 0.0, 0.0, 0.1);
    const int arp = seq.AddTrack(Arp(), 0.24, 0.0, 0.5, 0.5);
    const int bell = seq.AddTrack(Bell(), 0.3, 0.15, 0.35, 0.8);
    const int wind = seq.AddTrack(Wind(), 0.05, 0.0, 0.0, 0.4);
    seq.SetDelay(0.75, 0.42, 0.45);
    seq.SetReverb(0.8, 0.5, 1.0);

    const int chordSteps = barsPerChord * stepsPerBar;
    for (int c = 0; c < static_cast<int>(progression.size()); ++c) {
        const Chord& chord = progression[static_cast<size_t>(c)];
        const int start = c * chordSteps;
        for (const int note : chord.pad)
            seq.AddNote(pad, start, chordSteps, note, 1.0);
        seq.AddNote(bass, start, chordSteps, chord.bass, 1.0);

        // Arpeggio over the chord an octave up: quarter notes in the first half of the loop,
        // eighths in the second, rising and falling and swaying between the speakers.
        static constexpr std::array<int, 16> order
            = { 0, 1, 2, 3, 4, 3, 2, 1, 0, 2, 1, 3, 2, 4, 3, 1 };
        const bool eighths = c >= 4;
        const int stride = eighths ? 2 : 4;
        for (int k = 0; k * stride < chordSteps; ++k) {
            const int index = order[static_cast<size_t>(k % 16)];
            const int pitch
                = index < 4 ? chord.pad[static_cast<size_t>(index)] + 12 : chord.pad[0] + 24;
            const double velocity = 0.8 + 0.2 * static_cast<double>(humanise.Next() % 100) / 100.0;
            seq.AddNote(arp, start + k * stride, 1, pitch, velocity, k % 2 == 0 ? -0.45 : 0.45);
        }
    }

    // Wind swells every four bars, alternating sides.
    for (int bar = 0; bar < 16; bar += 4)
        seq.AddNote(wind, bar * stepsPerBar, 3 * stepsPerBar, 60, 1.0, bar % 8 == 0 ? -0.5 : 0.5);

    // The bell melody over the second half: Am, F, Dm, E.
    seq.AddPattern(bell, 8 * stepsPerBar,
        "E5 . . . . . . . B5 . . . A5 . . . | C6 . . . . . . . B5 . . . G5 . . . |"
        "A5 . . . . . . . . . . . C6 . . . | E5 . . . . . . . - - - - - - - - |"
        "F5 . . . . . . . A5 . . . D6 . . . | C6 . . . . . . . A5 . . . . . . . |"
        "G#5 . . . . . . . B5 . . . E5 . . . | E5 . . . . . . . - - - - - - - -");

    return seq.Render(seed, -3.0);
}

} // namespace sound
