#pragma once

#include <cstdint>
#include <functional>

class GameBase;

// What the main loop needs of the operating system; tests drive the loop with their own.
struct LoopPlatform {
    std::function<uint32_t()> milliseconds; // monotonic, wrapping unsigned 32-bit counter
    std::function<void()> yield;            // gives up the time slice, no minimum sleep
};

// Runs the whole program: seeds the game's generator and the clock from one reading of the
// counter, creates the game, advances gameTime and calls frame() until it answers false,
// then deletes the game and every timer left. Answers the process exit code: 0, or 1 when
// the game could not start.
int RunMainLoop(const std::function<GameBase*()>& createGame, const LoopPlatform& platform);
