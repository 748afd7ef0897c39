#include "autoplay/ReplayCheck.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

TEST(ReplayCheck, NamesEachFigureThatDiffersWithBothValues)
{
    const Replay::Expectation want { true, 865, 1731, 0xd3b5e300fe6aba66ull, { 11, 4 } };
    struct Case {
        Replay::Expectation got;
        std::string says;
    };
    Replay::Expectation frames = want, steps = want, trace = want, scores = want;
    frames.frames = 866;
    steps.steps = 1730;
    trace.trace = 0x1ull;
    scores.scores = { 11 };
    for (const Case& c : { Case { want, "" }, Case { frames, "frames: expected 865, got 866\n" },
             Case { steps, "steps: expected 1731, got 1730\n" },
             Case { trace, "trace: expected d3b5e300fe6aba66, got 0000000000000001\n" },
             Case { scores, "scores: expected 11 4, got 11\n" } })
        EXPECT_EQ(ReplayCheck::Differences(want, c.got), c.says);
}

TEST(ReplayCheck, NamesTheFirstStepThatDiffersAndItsFrame)
{
    const std::vector<uint64_t> want { 1, 2, 3, 4 };
    const std::vector<uint64_t> frames { 1, 1, 2, 3, 3 };
    struct Case {
        std::vector<uint64_t> got;
        std::string says;
    };
    for (const Case& c : {
             Case { { 1, 2, 3, 4 }, "" },
             Case { { 1, 2, 9, 8 },
                 "step 3 (frame 2) differs first: expected hash 0000000000000003, got "
                 "0000000000000009\n" },
             Case { { 1, 2 }, "the run ends after step 2, expected 4 steps\n" },
             Case { { 1, 2, 3, 4, 5 }, "step 5 (frame 3) is one more than the 4 expected\n" },
         })
        EXPECT_EQ(ReplayCheck::FirstDifferentStep(want, c.got, frames), c.says);
}

TEST(ReplayCheck, StepFilesKeepEveryHashAndRefuseAnythingElse)
{
    const std::string path
        = (std::filesystem::temp_directory_path() / "skarvold-replay-check.steps").string();
    EXPECT_EQ(ReplayCheck::StepsPath("tests/a.replay"), "tests/a.steps");
    const std::vector<uint64_t> hashes { 0, 0xffffffffffffffffull, 0x0123456789abcdefull };
    ASSERT_TRUE(ReplayCheck::SaveSteps(path, hashes));
    std::vector<uint64_t> read;
    ASSERT_TRUE(ReplayCheck::LoadSteps(path, read));
    EXPECT_EQ(read, hashes);
    {
        std::ofstream broken(path);
        broken << "0123456789abcdeg\n";
    }
    EXPECT_FALSE(ReplayCheck::LoadSteps(path, read));
    std::filesystem::remove(path);
    EXPECT_FALSE(ReplayCheck::LoadSteps(path, read));
}

} // namespace
