// The play loop: drives. Four-on-the-floor drums, a pumping filtered bass, a plucked arpeggio,
// pads and a square lead. D minor, 135 BPM, 32 bars in four sections of eight:
// groove, lead, second lead, everything with a fill that runs back into the top.
#include "base/Random.h"
#include "datagen/sound/MusicTempo.h"
#include "datagen/sound/Sequencer.h"
#include "datagen/sound/SoundSet.h"

#include <array>
#include <string>

namespace sound {

namespace {

    constexpr int stepsPerBar = 16;
    constexpr int bars = 32;

    struct Chord {
        int bass;
        std::array<int, 3> triad;
    };

    // Dm, Bb, F, C, Dm, Bb, C, A: one bar each, four times round.
    constexpr std::array<Chord, 8> progression = { {
        { 38, { 62, 65, 69 } },
        { 34, { 58, 62, 65 } },
        { 41, { 57, 60, 65 } },
        { 36, { 55, 60, 64 } },
        { 38, { 62, 65, 69 } },
        { 34, { 58, 62, 65 } },
        { 36, { 55, 60, 64 } },
        { 33, { 57, 61, 64 } },
    } };

    const char* const leadA = "D5 . . . F5 . A5 . . . G5 . F5 . E5 . |"
                              "D5 . . . . . Bb4 . . . C5 . D5 . F5 . |"
                              "C5 . . . A4 . C5 . F5 . . . E5 . C5 . |"
                              "E5 . . . . . . . G5 . . . E5 . C5 . |"
                              "D5 . . . F5 . A5 . . . D6 . C6 . A5 . |"
                              "Bb5 . . . A5 . F5 . . . D5 . F5 . G5 . |"
                              "G5 . . . E5 . C5 . . . E5 . G5 . C6 . |"
                              "C#6 . . . . . . . A5 . . . E5 . . .";

    const char* const leadB = "A5 . D6 . A5 . F5 . A5 . D6 . E6 . F6 . |"
                              "F6 . . . D6 . . . Bb5 . . . D6 . . . |"
                              "C6 . A5 . F5 . A5 . C6 . F6 . E6 . C6 . |"
                              "E6 . . . D6 . . . C6 . . . G5 . . . |"
                              "A5 . D6 . A5 . F5 . A5 . D6 . E6 . F6 . |"
                              "G6 . . . F6 . . . D6 . . . Bb5 . . . |"
                              "C6 . . . E6 . . . G6 . . . E6 . . . |"
                              "E6 . . . . . . . C#6 . . . A5 . . .";

    Instrument Kick()
    {
        Instrument kick;
        kick.wave = Wave::Sine;
        kick.pitchDrop = 36.0;
        kick.pitchDropTime = 0.022;
        kick.noise = 0.35;
        kick.noiseDecay = 0.004;
        kick.attack = 0.001;
        kick.decay = 0.16;
        kick.sustain = 0.0;
        kick.release = 0.06;
        kick.drive = 0.6;
        kick.cutoff = 5000.0; // keeps the click a knock rather than a tick
        return kick;
    }

    Instrument Snare()
    {
        Instrument snare;
        snare.wave = Wave::Triangle;
        snare.oscLevel = 0.6;
        snare.pitchDrop = 7.0;
        snare.pitchDropTime = 0.03;
        snare.noise = 0.9;
        snare.noiseDecay = 0.11;
        snare.attack = 0.001;
        snare.decay = 0.12;
        snare.sustain = 0.0;
        snare.release = 0.08;
        snare.cutoff = 8000.0;
        snare.highPass = 160.0;
        return snare;
    }

    Instrument Hat(double decay)
    {
        Instrument hat;
        hat.oscLevel = 0.0;
        hat.noise = 1.0;
        hat.highPass = 7000.0;
        hat.cutoff = 13000.0;
        hat.attack = 0.001;
        hat.decay = decay;
        hat.sustain = 0.0;
        hat.release = decay;
        return hat;
    }

    Instrument Crash()
    {
        Instrument crash = Hat(0.45);
        crash.highPass = 3500.0;
        crash.cutoff = 11000.0;
        crash.resonance = 0.2;
        crash.release = 0.5;
        return crash;
    }

    Instrument Bass()
    {
        Instrument bass;
        bass.wave = Wave::Saw;
        bass.unison = 2;
        bass.detuneCents = 10.0;
        bass.wave2 = Wave::Square;
        bass.level2 = 0.45;
        bass.interval2 = -12.0;
        bass.cutoff = 260.0;
        bass.cutoffEnv = 3.0;
        bass.cutoffDecay = 0.07;
        bass.resonance = 0.35;
        bass.attack = 0.003;
        bass.decay = 0.15;
        bass.sustain = 0.6;
        bass.release = 0.04;
        bass.drive = 0.5;
        return bass;
    }

    Instrument Lead()
    {
        Instrument lead;
        lead.wave = Wave::Square;
        lead.unison = 2;
        lead.detuneCents = 10.0;
        lead.wave2 = Wave::Saw;
        lead.level2 = 0.35;
        lead.cutoff = 2200.0;
        lead.cutoffEnv = 1.5;
        lead.cutoffDecay = 0.2;
        lead.resonance = 0.2;
        lead.attack = 0.006;
        lead.decay = 0.3;
        lead.sustain = 0.7;
        lead.release = 0.12;
        lead.vibratoDepth = 0.15;
        lead.vibratoRate = 5.5;
        lead.vibratoDelay = 0.18;
        return lead;
    }

    Instrument Pluck()
    {
        Instrument pluck;
        pluck.wave = Wave::Saw;
        pluck.cutoff = 900.0;
        pluck.cutoffEnv = 2.5;
        pluck.cutoffDecay = 0.06;
        pluck.resonance = 0.3;
        pluck.attack = 0.002;
        pluck.decay = 0.12;
        pluck.sustain = 0.0;
        pluck.release = 0.05;
        return pluck;
    }

    Instrument Pad()
    {
        Instrument pad;
        pad.wave = Wave::Saw;
        pad.unison = 3;
        pad.detuneCents = 18.0;
        pad.cutoff = 900.0;
        pad.attack = 0.3;
        pad.decay = 1.0;
        pad.sustain = 0.8;
        pad.release = 0.5;
        return pad;
    }

    double Jitter(Random& random, double spread)
    {
        return 1.0 - spread + spread * static_cast<double>(random.Next() % 1000) / 1000.0;
    }

} // namespace

std::vector<double> RenderGameMusic(uint32_t seed)
{
    Sequencer seq(gameTempo.bpm, gameTempo.beats, 4);
    Random humanise(3001);
    const int kick = seq.AddTrack(Kick(), 0.9, 0.0, 0.0, 0.0);
    const int snare = seq.AddTrack(Snare(), 0.5, 0.05, 0.0, 0.25);
    const int hat = seq.AddTrack(Hat(0.03), 0.2, 0.25, 0.0, 0.0);
    const int openHat = seq.AddTrack(Hat(0.14), 0.12, 0.25, 0.0, 0.05);
    const int crash = seq.AddTrack(Crash(), 0.16, -0.3, 0.0, 0.2);
    const int bass = seq.AddTrack(Bass(), 0.42, 0.0, 0.0, 0.0);
    const int lead = seq.AddTrack(Lead(), 0.2, 0.1, 0.3, 0.3);
    const int pluck = seq.AddTrack(Pluck(), 0.16, 0.0, 0.35, 0.2);
    const int pad = seq.AddTrack(Pad(), 0.1, 0.0, 0.0, 0.5);
    seq.SetDelay(0.75, 0.35, 0.5);
    seq.SetReverb(0.55, 0.6, 0.8);

    for (int bar = 0; bar < bars; ++bar) {
        const Chord& chord = progression[static_cast<size_t>(bar % 8)];
        const int start = bar * stepsPerBar;
        const int section = bar / 8;
        const bool fillBar = bar % 8 == 7;

        for (int beat = 0; beat < 4; ++beat)
            seq.AddNote(kick, start + 4 * beat, 2, 31, 1.0);
        if (bar % 8 == 0)
            seq.AddNote(crash, start, 8, 60, 1.0);

        // Snare on two and four from the fourth bar; a roll in each section's last bar, a long
        // rising one before the loop starts over.
        if (bar >= 4) {
            if (bar == bars - 1) {
                seq.AddNote(snare, start + 4, 2, 54, 1.0);
                for (int s = 8; s < 16; ++s)
                    seq.AddNote(snare, start + s, 1, 54, 0.45 + 0.07 * (s - 8));
            } else {
                seq.AddNote(snare, start + 4, 2, 54, 1.0);
                seq.AddNote(snare, start + 12, 2, 54, 1.0);
                if (fillBar) {
                    seq.AddNote(snare, start + 14, 1, 54, 0.6);
                    seq.AddNote(snare, start + 15, 1, 54, 0.8);
                }
            }
        }

        // Hats: offbeat eighths in the groove, sixteenths once the lead is in.
        for (int s = 0; s < 16; ++s) {
            if (s == 14 && bar % 2 == 1) {
                seq.AddNote(openHat, start + s, 2, 60, 1.0);
                continue;
            }
            if (s % 4 == 2)
                seq.AddNote(hat, start + s, 1, 60, Jitter(humanise, 0.15));
            else if (section > 0 && s % 2 == 1)
                seq.AddNote(hat, start + s, 1, 60, 0.45 * Jitter(humanise, 0.3));
        }

        // Bass: eighths jumping to the octave; sixteenths in the third section.
        static constexpr std::array<int, 8> eighths = { 0, 0, 12, 0, 0, 12, 0, 12 };
        static constexpr std::array<int, 16> sixteenths
            = { 0, 0, 12, 0, 0, 0, 12, 0, 0, 0, 12, 0, 0, 12, 0, 12 };
        if (section == 2) {
            for (int s = 0; s < 16; ++s)
                seq.AddNote(bass, start + s, 1, chord.bass + sixteenths[static_cast<size_t>(s)],
                    s % 2 == 0 ? 1.0 : 0.7);
        } else {
            for (int e = 0; e < 8; ++e)
                seq.AddNote(bass, start + 2 * e, 1, chord.bass + eighths[static_cast<size_t>(e)],
                    e % 2 == 0 ? 1.0 : 0.8);
        }

        // Pad: the triad held through the bar.
        for (const int note : chord.triad)
            seq.AddNote(pad, start, stepsPerBar, note, 1.0);

        // Pluck arpeggio from the fifth bar: up and down the triad and its octave in sixteenths,
        // a six-note figure against the four-step beat.
        if (bar >= 4) {
            static constexpr std::array<int, 6> figure = { 0, 1, 2, 3, 2, 1 };
            for (int s = 0; s < 16; ++s) {
                const int index = figure[static_cast<size_t>((bar * 16 + s) % 6)];
                const int pitch = index < 3 ? chord.triad[static_cast<size_t>(index)] + 12
                                            : chord.triad[0] + 24;
                seq.AddNote(
                    pluck, start + s, 1, pitch, Jitter(humanise, 0.25), s % 2 == 0 ? -0.4 : 0.4);
            }
        }
    }

    // The leads: the tune in the second section, a second tune in the third, the tune again
    // over the full band in the last.
    seq.AddPattern(lead, 8 * stepsPerBar, leadA);
    seq.AddPattern(lead, 16 * stepsPerBar, leadB, 0.9);
    seq.AddPattern(lead, 24 * stepsPerBar, leadA, 0.85);

    return seq.Render(seed, -3.0);
}

} // namespace sound
