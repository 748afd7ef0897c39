#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

// One whole run of the game as a readable text file: the seed (the millisecond counter's first
// reading, which also seeds the game's generator), then per frame the milliseconds the counter
// moves before that frame and the input events pushed into the queue just before it. Playing the
// frames back in order gives the identical game. docs/replays.md describes the format.
class Replay {
public:
    // A key pressed or released, or the window's close button.
    struct Event {
        enum class Kind { KeyDown, KeyUp, Quit };
        Kind kind = Kind::KeyDown;
        int scancode = 0; // SDL scancode; 0 for Quit
        bool operator==(const Event&) const = default;
    };

    struct Frame {
        uint32_t ms = 0;           // counter milliseconds before this pass
        std::vector<Event> events; // pushed, in order, before this pass
        bool operator==(const Frame&) const = default;
    };

    // What a replayed run must give; written by the autoplayer, checked on replay.
    struct Expectation {
        bool present = false;
        uint64_t frames = 0;
        uint64_t steps = 0;
        uint64_t trace = 0;           // hash over every step's hash, in order
        std::vector<uint32_t> scores; // each play's final score, in order
        bool operator==(const Expectation&) const = default;
    };

    // More frames than this is a damaged file, not a game: nine hours of 16 ms frames.
    static constexpr uint64_t maxFrames = 2'000'000;
    // A replay is a player's session, never weeks long: its frames move the counter 50 days
    // at most. That keeps what a few bytes can ask of the player to some 135 million world
    // steps, where frames of 4294967295 ms repeated would keep it stepping for years.
    static constexpr uint64_t maxCounterMs = 50ull * 24 * 60 * 60 * 1000;
    // A longer file is not a replay: room for the most frames at 16 characters a line.
    static constexpr size_t maxBytes = size_t { 32 } << 20;
    // An error is one line of printable text of at most this many characters.
    static constexpr size_t maxErrorLength = 200;

    std::vector<std::string> notes; // comment lines before the seed, kept when rewritten
    uint32_t seed = 0;
    std::vector<Frame> frames;
    Expectation expect;

    // The text of the file; frames without events that repeat are folded into "ms*count".
    std::string Format() const;

    // Reads the text of a file. On a malformed line answers false and says in `error`, in one
    // short printable line, which line and why; a text of more than `maxBytes` is refused whole.
    static bool Parse(const std::string& text, Replay& replay, std::string& error);

    bool Save(const std::string& path) const;
    static bool Load(const std::string& path, Replay& replay, std::string& error);

    // "LEFT", "LCTRL"... for the keys the game reads, else the scancode's number.
    static std::string KeyName(int scancode);
    // The scancode of a name KeyName gives, or -1.
    static int KeyFromName(const std::string& name);

    bool operator==(const Replay&) const = default;
};
