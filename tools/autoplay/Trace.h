#pragma once

#include <cstdint>
#include <vector>

class Game;

// The fingerprint of a game, step by step: after every world step a hash of everything the
// step decides (the clock, every object's kind, state and position bit for bit, the score and
// the shields), folded into one running hash; and the final score of every play. Two runs
// that agree here played the same game.
class Trace {
public:
    // Hashes `game` as its last world step left it and folds the hash in.
    void RecordStep(const Game& game);
    // A play has ended with `score`.
    void RecordScore(uint32_t score) { scores.push_back(score); }

    // The hash of the world and the play screen as they stand.
    static uint64_t HashOf(const Game& game);

    uint64_t steps = 0;
    uint64_t hash = 0xcbf29ce484222325ull; // FNV-1a over the step hashes
    std::vector<uint32_t> scores;
    // Every step's own hash and the frame it ran in, kept only when asked for (to find the
    // first step two runs part). `frame` is the frame being played, counted from 1.
    bool keepSteps = false;
    uint64_t frame = 0;
    std::vector<uint64_t> stepHashes;
    std::vector<uint64_t> stepFrames;
};
