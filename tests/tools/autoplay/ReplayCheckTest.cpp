#include "autoplay/ReplayCheck.h"
#include "autoplay/Recipe.h"

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

// A replay's note says how it was made and what it shows; a note that cannot be read is
// refused with the reason, and each property a run no longer shows is named with what the
// run did instead.
TEST(Recipe, ReadsTheNoteAndNamesEachPropertyARunNoLongerShows)
{
    struct Refusal {
        std::vector<std::string> notes;
        const char* reason;
    };
    const Refusal refusals[] = {
        { { "A game.", "shows: plays 1" }, "no \"recipe:\" line" },
        { { "recipe: --seed 4" }, "no \"shows:\" line" },
        { { "recipe: --seed 4", "shows: plays 1, flies" }, "\"flies\", which is no property" },
        { { "recipe: --seed 4", "shows: survives" }, "\"survives\", which is no property" },
        { { "recipe: --seed 4", "shows: ship-lost 3" }, "\"ship-lost 3\", which is no property" },
        { { "recipe: --seed 4 --games 3", "shows: plays 1" }, "cannot be read at \"--games\"" },
        { { "recipe: --seed 4 --frames 9-2", "shows: plays 1" }, "cannot be read at \"--frames\"" },
        { { "recipe: --player skilled", "shows: plays 1" }, "names no --seed" },
    };
    for (const Refusal& refusal : refusals) {
        Recipe recipe;
        std::string error;
        EXPECT_FALSE(Recipe::FromNotes(refusal.notes, recipe, error)) << refusal.reason;
        EXPECT_NE(error.find(refusal.reason), std::string::npos) << error;
    }

    Recipe recipe;
    std::string error;
    ASSERT_TRUE(Recipe::FromNotes({ "Two plays.",
                                      "recipe: --player skilled --seed 7 --frames 32-32 "
                                      "--longest-play 5000",
                                      "shows: plays 1, ship-lost,leaves-from-prompt, "
                                      "enters-hiscore, escape-as-play-ends, quit-from-menu, "
                                      "window-closed-in-menu, survives 5000" },
        recipe, error))
        << error;
    EXPECT_TRUE(recipe.skilled);
    EXPECT_EQ(recipe.seed, 7u);
    EXPECT_EQ(recipe.longestFrame, 32u);
    EXPECT_EQ(recipe.longestPlay, 5000u);
    ASSERT_EQ(recipe.properties.size(), 8u);
    EXPECT_EQ(recipe.properties[2], "leaves-from-prompt");
    // Another seed is written into the note's recipe line, the rest of the note kept.
    std::vector<std::string> notes { "Two plays.", "recipe: --seed 7", "shows: plays 1" };
    Recipe other;
    ASSERT_TRUE(Recipe::FromNotes(notes, other, error)) << error;
    other.UseSeed(19, notes);
    EXPECT_EQ(other.seed, 19u);
    EXPECT_EQ(
        notes, (std::vector<std::string> { "Two plays.", "recipe: --seed 19", "shows: plays 1" }));

    // Two plays: the first lost its ship after 4 s, with Escape in the frame that handed back
    // but a menu left paused; the second was left from the prompt after 6 s, entering the
    // table. The window was closed in the menu.
    RunWatch::Facts facts;
    RunWatch::Play lost;
    lost.shipLost = true;
    lost.escapeAsItEnded = true;
    lost.pausedAfter = true;
    lost.survivedMs = 4000;
    RunWatch::Play left;
    left.leftFromPrompt = true;
    left.enteredTable = true;
    left.survivedMs = 6000;
    facts.plays = { lost, left };
    facts.ended = true;
    facts.byWindow = true;
    facts.inMenu = true;
    EXPECT_EQ(recipe.Missing(facts),
        "no longer shows \"plays 1\": 2 plays\n"
        "no longer shows \"ship-lost\": a play that did not end with its ship lost\n"
        "no longer shows \"leaves-from-prompt\": a play that was not left from the pause prompt\n"
        "no longer shows \"escape-as-play-ends\": the menu stayed paused after it\n"
        "no longer shows \"quit-from-menu\": it ended by the window's close button in the menu\n");
    facts.plays = { lost };
    facts.ended = false;
    const std::string missing = recipe.Missing(facts);
    EXPECT_NE(
        missing.find("\"enters-hiscore\": no play entered the hiscore table"), std::string::npos)
        << missing;
    EXPECT_NE(missing.find("\"window-closed-in-menu\": the frames ran out before the game ended"),
        std::string::npos)
        << missing;
    EXPECT_NE(missing.find("\"survives 5000\": the longest lived 4000 ms"), std::string::npos)
        << missing;
}

} // namespace
