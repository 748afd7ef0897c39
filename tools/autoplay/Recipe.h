#pragma once

#include "autoplay/GameRun.h"
#include "autoplay/RunWatch.h"

#include <cstdint>
#include <string>
#include <vector>

class Replay;

// How a committed replay is made and what it is there to show, written in its note:
//
//   # recipe: --player skilled --seed 1 --frames 32-32 --longest-play 180000
//   # shows: plays 1, survives 180000, leaves-from-prompt
//
// The recipe is the autoplayer's command for one game (--player, --seed, --frames, --stalls,
// --stall-length, --longest-play, --reaction), and may end in a scenario played over it:
// "--escape-as-play-ends" presses Escape in the very frame in which the first play's
// game-over screen hands back to the menu (found by playing the game once before), then
// waits five frames of 100 ms and chooses "QUIT". The properties are listed in Properties().
class Recipe {
public:
    struct Property {
        const char* name = nullptr;
        bool takesNumber = false;
        const char* meaning = nullptr;
    };
    // Every property a replay can be there to show.
    static const std::vector<Property>& Properties();

    // Reads the recipe and the properties from a replay's note. False, with the reason, when
    // the note has none or names an option or a property this reader does not know.
    static bool FromNotes(
        const std::vector<std::string>& notes, Recipe& recipe, std::string& error);

    // Plays the recipe's game: `facts` tells what it did.
    GameRun::Result Make(const GameRun::Options& run, RunWatch::Facts& facts) const;

    // One line per property that `facts` do not show, naming it and what was seen instead;
    // "" when the run shows every one.
    std::string Missing(const RunWatch::Facts& facts) const;

    // The recipe's words, as its note writes them.
    std::string Text() const;
    // Plays another seed from now on; the note's recipe line in `notes` says so too.
    void UseSeed(uint32_t newSeed, std::vector<std::string>& notes);

    std::vector<std::string> options;    // the autoplayer's words, as written
    std::vector<std::string> properties; // "plays 2", "ship-lost", ...

    // The option values, once read.
    bool skilled = false;
    uint32_t seed = 0;
    bool escapeAsPlayEnds = false;
    uint32_t shortestFrame = 0, longestFrame = 0; // 0: the player's own
    uint32_t stallsPerThousand = 3, shortestStall = 1000, longestStall = 10000;
    uint32_t longestPlay = 0; // 0: the player's own
    uint32_t reactionMs = 150;
};
