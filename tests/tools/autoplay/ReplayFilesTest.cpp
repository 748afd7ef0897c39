// The committed replays play the very games they recorded: the same trace of every step and
// the same scores, in every build, and each still shows what its note says it is there to
// show. A change to the game's rules shows here as a changed trace; when the change is meant,
// "skarvold_autoplay --remake FILE..." makes the replays again from their recipes
// (docs/replays.md). Beside each replay its ".steps" file holds every step's hash, so that a
// failure names the first step that went another way.
#include "autoplay/GameRun.h"
#include "autoplay/Recipe.h"
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
        const std::string name = file.filename().string();
        SCOPED_TRACE(name);
        Replay replay;
        std::string error;
        ASSERT_TRUE(Replay::Load(file.string(), replay, error)) << name << ": " << error;
        Recipe recipe;
        EXPECT_TRUE(Recipe::FromNotes(replay.notes, recipe, error))
            << name << " cannot be made again: " << error;
        ASSERT_TRUE(replay.expect.present) << name << " holds no \"expect\" line";
        std::vector<uint64_t> steps;
        ASSERT_TRUE(ReplayCheck::LoadSteps(ReplayCheck::StepsPath(file.string()), steps))
            << name << " has no readable step hashes beside it";
        ReplayInput input(replay);
        RunWatch watch(input);
        GameRun::Options options;
        options.keepStepHashes = true;
        const GameRun::Result result = GameRun::Play(replay.seed, watch, options);
        EXPECT_TRUE(result.ok) << name << ": the game failed: " << result.failure;
        EXPECT_TRUE(result.ended) << name << ": its frames ran out before the game ended (by QUIT "
                                  << "or the window's close button)";
        EXPECT_EQ(ReplayCheck::Differences(replay.expect, result.replay.expect)
                + ReplayCheck::FirstDifferentStep(
                    steps, result.trace.stepHashes, result.trace.stepFrames),
            "")
            << name << " no longer plays its recorded game";
        EXPECT_EQ(recipe.Missing(watch.Finish(result)), "") << name;
    }
}

} // namespace
