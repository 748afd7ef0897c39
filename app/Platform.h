#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

// The few operating-system services the program needs, and what differs on Windows:
// - the clock: on Windows the multimedia timer's millisecond counter, made fine to the
//   millisecond for the whole run (FineTimer), so that the 32 ms fixed step and the shake's
//   10 ms rule see every millisecond; on Linux the steady clock, which always is;
// - where the program lies: /proc/self/exe on Linux, the module's own file on Windows;
// - how a failure to start reaches the player: one line on stderr, and on Windows, where a
//   double-clicked game has no terminal, also a message box holding that line.
class Platform {
public:
    // A monotonic millisecond counter that wraps around after 2^32 ms.
    static uint32_t Milliseconds();

    // Gives the rest of the time slice to other ready threads, without a minimum sleep.
    static void YieldProcessor();

    // While one lives, Windows' timers tick every millisecond (timeBeginPeriod(1)), as the
    // game's clock needs; on Linux it does nothing.
    class FineTimer {
    public:
        FineTimer();
        ~FineTimer();
        FineTimer(const FineTimer&) = delete;
        FineTimer& operator=(const FineTimer&) = delete;
    };

    // The running program's own file, as the system tells it; empty when it does not.
    static std::filesystem::path ProgramFile();

    // Tells the player why the game cannot start: `line` on stderr and, on Windows, in a
    // message box titled "Skarvold" that waits until it is dismissed.
    static void ShowStartFailure(const std::string& line);
};
