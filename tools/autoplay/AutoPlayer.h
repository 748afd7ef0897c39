#pragma once

#include "autoplay/GameRun.h"
#include "autoplay/RandomPlayer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// Plays many whole games in one process, each from its own seed (the counter's first reading,
// which also seeds the player's own choices, unless a test or tool brings its own input), checks
// the invariants after every frame and the heap between games, and stops at the first failure with
// the seed that reproduces it.
class AutoPlayer {
public:
    struct Options {
        uint32_t firstSeed = 1; // games use firstSeed, firstSeed + 1, ...
        uint64_t games = 1;
        RandomPlayer::FrameLengths frameLengths;
        GameRun::Options run;
        // Where the replay of a failing game goes; "" writes none.
        std::string failingReplayPath;
        // A folder that receives every game's replay as "<seed>.replay"; "" writes none.
        std::string replayFolder;
        // From the end of this game on, the heap between games may not grow by more than
        // memoryToleranceBytes; 0 checks nothing.
        uint64_t memoryBaselineGame = 10;
        uint64_t memoryToleranceBytes = 1u << 20;
        // Makes the input of the game of `seed`; empty: a RandomPlayer with frameLengths.
        std::function<std::unique_ptr<InputSource>(uint32_t seed)> makeInput;
        // Told after every game.
        std::function<void(uint32_t seed, const GameRun::Result&)> afterGame;
    };

    struct Summary {
        bool ok = true;
        uint32_t failingSeed = 0;
        std::string failure; // "" when every game passed
        uint64_t games = 0;  // games played, the failing one included
        uint64_t plays = 0;  // plays begun from the menu, in all games
        uint64_t frames = 0;
        uint64_t steps = 0;
        uint64_t heapAtBaseline = 0; // bytes in use after the baseline game
        uint64_t heapAtEnd = 0;      // bytes in use after the last game
        uint64_t peakResidentKiB = 0;
    };

    explicit AutoPlayer(const Options& playerOptions);

    // Plays the games in order and answers at the first failure or after the last game.
    Summary Run() const;

    // The game that Run plays for `seed`.
    GameRun::Result PlayOne(uint32_t seed) const;

private:
    Options options;
};
