#pragma once

#include "modes/HiscoreEntry.h"

#include <string>
#include <vector>

class Game;

// What must hold after every frame of a real game, whatever the player does: the hiscore
// table, finite positions, the score and shield display, and that every draw item and timer
// belongs to the current screen or to an object in the world, so that nothing a screen or an
// object made outlives it. Keeps what it needs between frames; one checker per run.
class InvariantChecker {
public:
    // Answers "" when everything holds after this frame, else what broke (the first thing
    // found). Call it after every frame that answered true.
    std::string Check(const Game& game);

private:
    std::string CheckHiscores(const Game& game);
    static std::string CheckPositions(const Game& game);
    static std::string CheckPlayScreen(const Game& game);
    std::string CheckMenu(const Game& game) const;
    static std::string CheckOwnership(const Game& game);

    bool tableKnown = false;
    std::vector<HiscoreEntry> firstTable; // the table as the game began, without "YOU"
    bool lastFrameInMenu = false;
};
