#pragma once

#include "autoplay/Replay.h"
#include "autoplay/Trace.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class Game;
class InputSource;
class ISoundEngine;

// One whole run of the real game, start to exit, headless, through the real main loop under a
// counter that only the input moves, with every frame's events pushed into SDL's queue: what
// a player's run of the program would be, with the invariants checked after every frame.
class GameRun {
public:
    struct Options {
        // Where the run works from, so that "Data/..." is read there; "" keeps the current one.
        std::string workingDirectory;
        // Checks the invariants after every frame.
        bool checkInvariants = true;
        // Keeps every step's own hash in the trace.
        bool keepStepHashes = false;
        // A run that has not ended after this many frames fails.
        uint64_t maxFrames = 5'000'000;
        // Makes the sound engine; empty: the game's own (SDL_mixer).
        std::function<std::unique_ptr<ISoundEngine>()> makeSoundEngine;
        // False plays the same game without copying a pixel (Renderer::copyPixels).
        bool drawPictures = true;
        // Told after every pass of the main loop, with how long the pass took in seconds: by the
        // clock, and in processor time of the game's thread (which a busy machine leaves alone).
        std::function<void(const Game&, double wallSeconds, double cpuSeconds)> afterFrame;
    };

    struct Result {
        bool ok = false;
        std::string failure; // what went wrong, "" when ok
        int exitCode = 0;    // what the program would have answered
        bool ended = false;  // the game itself asked to end (rather than the input running out)
        uint64_t frames = 0;
        Replay replay; // the run as played: the seed and every frame, with its trace expected
        Trace trace;
    };

    // Plays the game whose counter first reads `seed`, taking frames from `input` until the
    // game ends, the input runs out, or an invariant breaks.
    static Result Play(uint32_t seed, InputSource& input, const Options& options);

    // The processor time the calling thread has used, in seconds: what a piece of work costs,
    // whatever else the machine runs.
    static double ThreadSeconds();
};
