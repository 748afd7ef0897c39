#pragma once

// The few services below the game whose calls differ between the Linux desktop and Windows.
// Everything else of the game is the same source on both; app/Platform holds the rest of what
// differs (the clock, where the program lies, how a failure to start is shown).
namespace HostSystem {

// Lowers the calling thread's scheduling priority below that of the game's main thread:
// on Linux to the niceness given, on Windows one step below normal.
void LowerThisThreadPriority(int niceness);

// While one lives, what the process writes to its standard error goes nowhere: the system's
// audio libraries print several lines while probing a machine without a sound card (alsa-lib
// does), where the game says what matters in one line of its own. A Windows game has no
// terminal and its audio libraries print nothing, so there it does nothing.
class QuietStderr {
public:
    QuietStderr();
    ~QuietStderr();
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int saved = -1; // the standard error put aside, or -1
};

} // namespace HostSystem
