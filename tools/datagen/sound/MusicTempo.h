#pragma once

// Tempo and length of the two music loops. Both are whole numbers of beats at a tempo whose
// beat is a whole number of samples at 44.1 kHz, so the loop point falls exactly on a beat.
// Header-only so that the data tests can check the files against the same numbers.
namespace sound {

struct MusicTempo {
    int bpm;
    int beats;

    constexpr int BeatSamples() const { return 44100 * 60 / bpm; }
    constexpr int Frames() const { return BeatSamples() * beats; }
};

// Calm menu loop: 16 bars of 4/4 at 75 BPM, 51.2 s.
constexpr MusicTempo menuTempo { 75, 64 };
// Driving play loop: 32 bars of 4/4 at 135 BPM, about 56.9 s.
constexpr MusicTempo gameTempo { 135, 128 };

static_assert(44100 * 60 % menuTempo.bpm == 0 && 44100 * 60 % gameTempo.bpm == 0,
    "a beat must be a whole number of samples");

} // namespace sound
