// The committed replays play the very games they recorded: the same trace of every step and
// the same scores, in every build. A change to the game's rules shows here as a changed trace;
// when the change is meant, "skarvold_autoplay --replay FILE --rewrite" records the new one.
// Beside each replay its ".steps" file holds every step's hash, so that a failure names the
// first step that went another way.
#include "autoplay/GameRun.h"
#include "autoplay/Replay.h"
#include "autoplay/ReplayCheck.h"
#include "autoplay/ReplayInput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::vector<std::filesystem::path> CommittedReplays()
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(SKARVOLD_REPLAY_DIR)) {
        if (entry.path().extension() == ".replay")
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(ReplayFiles, EachPlaysItsRecordedGameAgain)
{
    const std::vector<std::filesystem::path> files = CommittedReplays();
    ASSERT_GE(files.size(), 3u);
    for (const std::filesystem::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        Replay replay;
        std::string error;
        ASSERT_TRUE(Replay::Load(file.string(), replay, error)) << error;
        ASSERT_TRUE(replay.expect.present);
        std::vector<uint64_t> steps;
        ASSERT_TRUE(ReplayCheck::LoadSteps(ReplayCheck::StepsPath(file.string()), steps));
        ReplayInput input(replay);
        GameRun::Options options;
        options.keepStepHashes = true;
        const GameRun::Result result = GameRun::Play(replay.seed, input, options);
        EXPECT_TRUE(result.ok) << result.failure;
        EXPECT_TRUE(result.ended);
        EXPECT_EQ(ReplayCheck::Differences(replay.expect, result.replay.expect)
                + ReplayCheck::FirstDifferentStep(
                    steps, result.trace.stepHashes, result.trace.stepFrames),
            "");
    }
}

} // namespace
