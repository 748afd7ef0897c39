#pragma once

#include "modes/HiscoreEntry.h"

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

class Game;
class GameMode;

// What must hold after every frame of a real game, whatever the player does: the hiscore
// table, finite positions, the score and shield display, and that every draw item and timer
// belongs to the current screen or to an object in the world, so that nothing a screen or an
// object made outlives it. In play, also what long games call for: every live enemy was sent
// by the spawner and not yet destroyed, the spawn gap stays at 1000 ms or more, the count of
// each kind of object stays within what the spawner, the guns and the explosions can make in
// their objects' lifetimes, and the score, the flying labels and the hiscore page's "YOU" row
// stay inside the window whatever the score. Keeps what it needs between frames; one checker
// per run.
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
    std::string CheckPopulation(const Game& game);
    static std::string CheckTextInWindow(const Game& game);

    // What happened in the current play, for the population's bounds.
    struct Moment {
        uint32_t time = 0;
        uint64_t frame = 0;
    };
    size_t Recent(const std::deque<Moment>& moments, uint32_t lifetimeMs) const;

    bool tableKnown = false;
    std::vector<HiscoreEntry> firstTable; // the table as the game began, without "YOU"
    bool lastFrameInMenu = false;

    const GameMode* play = nullptr; // the play the following belong to
    uint64_t frame = 0;
    uint32_t lastTime = 0;
    uint32_t lastAccumulator = 0;
    uint32_t longestFrame = 0; // ms of gameTime, in this play
    std::unordered_set<const void*> liveEnemies;
    std::unordered_set<const void*> destroyedEnemies; // seen dead, not yet deleted
    std::unordered_set<const void*> pickups;
    uint32_t lastScore = 0;
    uint32_t lastShields = 0;
    // Whether the pickup timer and the start timer were armed after the last frame, and when
    // they were to fire.
    std::array<std::pair<bool, uint32_t>, 2> dropTimers {};
    std::deque<Moment> enemyDeaths; // one per point scored
    std::deque<Moment> pickupEnds;
};
