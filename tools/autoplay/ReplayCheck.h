#pragma once

#include "autoplay/Replay.h"

#include <cstdint>
#include <string>
#include <vector>

// Says in words how a replayed run differs from what its file expects, so that a failing replay
// names the figures that differ and the first step that went another way.
class ReplayCheck {
public:
    // One line per figure that differs (frames, steps, trace, scores), with the expected and
    // the given value; "" when the two agree.
    // The scores of a game, space-separated, or "none".
    static std::string Scores(const std::vector<uint32_t>& scores);
    static std::string Differences(const Replay::Expectation& want, const Replay::Expectation& got);

    // The first step whose hash differs, numbered from 1, with the frame it was run in and
    // both hashes; or the step where one run ends before the other. "" when they agree.
    // `gotFrames` holds the frame of every step of `got`.
    static std::string FirstDifferentStep(const std::vector<uint64_t>& want,
        const std::vector<uint64_t>& got, const std::vector<uint64_t>& gotFrames);

    // The file of every step's hash beside a replay: "game.replay" gives "game.steps".
    static std::string StepsPath(const std::string& replayPath);
    // One hash a line, 16 hex digits. Load answers false when the file cannot be read or holds
    // anything else.
    static bool LoadSteps(const std::string& path, std::vector<uint64_t>& hashes);
    static bool SaveSteps(const std::string& path, const std::vector<uint64_t>& hashes);
};
