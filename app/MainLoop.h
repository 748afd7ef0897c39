#pragma once

#include <cstdint>
#include <functional>

class GameBase;

// What the main loop needs of the operating system; tests drive the loop with their own.
struct LoopPlatform {
    std::function<uint32_t()> milliseconds; // monotonic, wrapping unsigned 32-bit counter
    std::function<void()> yield;            // gives up the time slice, no minimum sleep
};

// The program's main loop, pass by pass, so that tests and tools can play a real game under
// a scripted clock and look at it between passes. RunMainLoop runs it to the end.
class MainLoop {
public:
    // Seeds the game's generator and the clock from one reading of the counter, then creates
    // the game.
    MainLoop(const std::function<GameBase*()>& createGame, const LoopPlatform& loopPlatform);
    // Finishes the loop if Finish was not called.
    ~MainLoop();
    MainLoop(const MainLoop&) = delete;
    MainLoop& operator=(const MainLoop&) = delete;

    // Whether the game opened its window and renderer.
    bool Started() const;

    // One pass: advances gameTime by the counter, runs the game's frame and yields. Answers
    // the frame's answer; false means the program is to end.
    bool Pass();

    // Deletes the game and every timer left; answers the exit code: 0, or 1 when the game
    // could not start.
    int Finish();

    GameBase* game = nullptr; // null after Finish

private:
    LoopPlatform platform;
    bool started = false;
};

// Runs the whole program: creates the game and passes until a frame answers false, then
// finishes. Answers the process exit code.
int RunMainLoop(const std::function<GameBase*()>& createGame, const LoopPlatform& platform);
