#pragma once

#include "autoplay/GameRun.h"
#include "autoplay/InputSource.h"

#include <cstdint>
#include <string>
#include <vector>

// Passes another input through unchanged and follows what the run does with it, frame by
// frame, as far as a committed replay's properties ask: how each play ended, how long its ship
// lived, whether it entered the hiscore table, and how the run ended.
class RunWatch : public InputSource {
public:
    struct Play {
        uint32_t score = 0;
        bool shipLost = false;        // the game-over screen handed back to the menu
        bool leftFromPrompt = false;  // left from the pause prompt, the ship alive
        bool escapeAsItEnded = false; // Escape pushed in the very frame that handed back
        bool pausedAfter = false;     // the menu it handed back to was paused
        bool enteredTable = false;    // the hiscore table changed when it ended
        uint32_t survivedMs = 0;      // gameTime from the start of play to the ship's end
        uint64_t endFrame = 0;        // the frame that handed back, numbered from 1
    };
    struct Facts {
        std::vector<Play> plays;
        bool ended = false;    // the game itself ended, not the input
        bool byWindow = false; // ended by the window's close button
        bool inMenu = false;   // ended while the menu was shown
    };

    explicit RunWatch(InputSource& watched);

    bool Next(const Game& game, Replay::Frame& frame) override;

    // What the run did, once GameRun::Play has answered `result`.
    Facts Finish(const GameRun::Result& result);

private:
    struct Seen {
        enum class Screen { None, Menu, Play };
        Screen screen = Screen::None;
        bool paused = false;
        bool shipAlive = false;
        uint32_t time = 0;
        std::string table; // the hiscore table's names and scores, to see it change
    };
    static Seen Look(const Game& game);
    void Between(const Seen& before, const Seen& after);

    InputSource& input;
    Facts facts;
    bool looked = false;
    Seen last;
    std::vector<Replay::Event> lastEvents;
    uint64_t frames = 0;
    uint32_t playStart = 0;
    bool playing = false;
    bool shipEnded = false;
    uint32_t survived = 0;
};
