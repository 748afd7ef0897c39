#pragma once

#include "autoplay/SkilledPlayer.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

class Game;

// Gathers what the autoplayer reports of skilled games and of frame times: each game's
// survival, score, cause of the ship's end and largest scene, and the spread over all games
// (10th, 50th and 90th percentile); each game's frame times in play (median, 99th percentile,
// worst and the scene at the worst frame).
class SkillReport {
public:
    // What a scene holds: enemies, enemy shots, all objects.
    struct Scene {
        size_t enemies = 0;
        size_t enemyShots = 0;
        size_t objects = 0;
    };

    static Scene SceneOf(const Game& game);
    // The value below which `share` (0 to 1) of `values` lie, by the nearest rank; 0 if empty.
    static double Percentile(std::vector<double> values, double share);

    // One pass of the main loop: the figures are of its processor time, the clock's worst
    // beside them. Only passes of play count, the first of each play left out.
    void Frame(const Game& game, double wallSeconds, double cpuSeconds);
    void Game(const SkilledPlayer::Record& record);
    // The line's end for the game just played: its skill figures and frame times.
    std::string LastGame(bool skilled) const;
    void EndOfGame();
    // The closing figures over every game.
    std::string Totals(bool skilled) const;

private:
    struct Times {
        std::vector<double> seconds; // processor time of each pass
        double worst = 0.0;
        Scene atWorst;
        double worstWall = 0.0;
        void Add(const ::Game& game, double wallSeconds, double cpuSeconds);
        std::string Describe() const;
    };
    const void* lastMode = nullptr;
    Times thisGame;
    Times allGames;
    std::vector<SkilledPlayer::Record> games;
};
