// The autoplayer: plays whole games of the real game headless, as fast as the machine allows,
// checking the invariants after every frame; records and replays games exactly.
//
//   skarvold_autoplay [--games N] [--seed S] [--data DIR] [--frames MIN-MAX]
//                     [--stalls PER_THOUSAND] [--stall-length MIN-MAX] [--longest-play MS]
//                     [--save-failing FILE] [--save-replays DIR] [--memory-tolerance BYTES]
//                     [--quiet] [--player random|skilled] [--reaction MS] [--no-drawing]
//                     [--frame-times]
//
// Frame lengths are drawn from MIN to MAX ms (1-100), with PER_THOUSAND frames (3) a stall of
// the stall length (1000-10000 ms) instead; a play that is not left on purpose ends when the
// ship is lost or after MS of play (240000).
// The skilled player (--player skilled) plays one play a game, as well as it can, with a
// reaction delay of MS (150, at least 150), frames of MIN-MAX ms (16-33 unless given) and plays
// of at most 10 minutes unless --longest-play says otherwise; it reports each game's survival,
// score, cause of the ship's end and largest scene, then the spread over all games.
// --no-drawing plays the same games without copying pixels, --frame-times reports each game's
// frame times (median, 99th percentile, worst and the scene at the worst frame).
//   skarvold_autoplay --replay FILE [--data DIR] [--step-hashes FILE] [--rewrite]
//   skarvold_autoplay --remake FILE... [--data DIR] [--seeds N]
//
// A replay whose note holds a recipe ("# recipe: ..." and "# shows: ...", see Recipe.h) is
// checked for the properties it is there to show whenever it is played; --remake makes each
// such replay and its step hashes again from the recipe, and fails naming the replay and the
// property when the game the recipe makes no longer shows it; with --seeds N it first tries
// the next seeds, up to N in all, and writes the first that shows every property into the
// recipe.
//
// Exit code 0 when every game passed (or the replay gave its expected trace), 1 otherwise,
// 2 for a bad command line.
#include "autoplay/AutoPlayer.h"
#include "autoplay/MemoryProbe.h"
#include "autoplay/Recipe.h"
#include "autoplay/Replay.h"
#include "autoplay/ReplayCheck.h"
#include "autoplay/ReplayInput.h"
#include "autoplay/SkillReport.h"
#include "autoplay/SkilledPlayer.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {
void Usage()
{
    std::fprintf(stderr,
        "usage: skarvold_autoplay [--games N] [--seed S] [--data DIR] [--frames MIN-MAX]\n"
        "                         [--stalls PER_THOUSAND] [--stall-length MIN-MAX]\n"
        "                         [--longest-play MS] [--save-failing FILE]\n"
        "                         [--save-replays DIR] [--memory-tolerance BYTES] [--quiet]\n"
        "                         [--player random|skilled] [--reaction MS] [--no-drawing]\n"
        "                         [--frame-times]\n"
        "       skarvold_autoplay --replay FILE [--data DIR] [--step-hashes FILE] [--rewrite]\n"
        "       skarvold_autoplay --remake FILE... [--data DIR] [--seeds N]\n");
}

bool Number(const char* text, uint64_t& value)
{
    char* end = nullptr;
    value = std::strtoull(text, &end, 10);
    return end != text && *end == '\0';
}

// Reads "A-B" with A <= B into `shortest` and `longest`; false leaves them as they were.
bool Range(const char* text, uint32_t& shortest, uint32_t& longest)
{
    unsigned first = 0;
    unsigned last = 0;
    if (std::sscanf(text, "%u-%u", &first, &last) != 2 || first > last)
        return false;
    shortest = first;
    longest = last;
    return true;
}

int Replaying(const std::string& path, const GameRun::Options& runOptions,
    const std::string& stepHashesPath, bool rewrite)
{
    Replay replay;
    std::string error;
    if (!Replay::Load(path, replay, error)) {
        std::fprintf(stderr, "skarvold_autoplay: %s\n", error.c_str());
        return 1;
    }
    // The hashes of every step, when the replay has them beside it.
    const std::string expectedStepsPath = ReplayCheck::StepsPath(path);
    std::vector<uint64_t> expectedSteps;
    const bool hasSteps = ReplayCheck::LoadSteps(expectedStepsPath, expectedSteps);
    GameRun::Options options = runOptions;
    options.keepStepHashes = !stepHashesPath.empty() || hasSteps;
    ReplayInput input(replay);
    RunWatch watch(input);
    const GameRun::Result result = GameRun::Play(replay.seed, watch, options);
    const Replay::Expectation& got = result.replay.expect;
    // What the replay is there to show, when its note says.
    Recipe recipe;
    std::string unread;
    const std::string missing = Recipe::FromNotes(replay.notes, recipe, unread)
        ? recipe.Missing(watch.Finish(result))
        : "";
    std::printf("replayed %s: frames %" PRIu64 " steps %" PRIu64 " trace %016" PRIx64
                " scores %s\n",
        path.c_str(), got.frames, got.steps, got.trace, ReplayCheck::Scores(got.scores).c_str());
    if (!stepHashesPath.empty()) {
        std::ofstream hashes(stepHashesPath);
        for (uint64_t hash : result.trace.stepHashes) {
            char line[20];
            std::snprintf(line, sizeof line, "%016" PRIx64 "\n", hash);
            hashes << line;
        }
    }
    if (!result.ok)
        std::printf("the game failed: %s\n", result.failure.c_str());
    if (rewrite) {
        Replay updated = replay;
        updated.expect = got;
        if (!updated.Save(path)
            || (hasSteps && !ReplayCheck::SaveSteps(expectedStepsPath, result.trace.stepHashes))) {
            std::fprintf(stderr, "skarvold_autoplay: cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("wrote the new expectation into %s\n", path.c_str());
        if (!missing.empty())
            std::printf("WARNING: %s %s  make it again from its recipe: skarvold_autoplay "
                        "--remake %s\n",
                path.c_str(), missing.c_str(), path.c_str());
        return result.ok ? 0 : 1;
    }
    if (!replay.expect.present) {
        std::printf("the file holds no expectation to compare with\n");
        return result.ok ? 0 : 1;
    }
    const Replay::Expectation& want = replay.expect;
    const std::string steps = hasSteps ? ReplayCheck::FirstDifferentStep(
                                  expectedSteps, result.trace.stepHashes, result.trace.stepFrames)
                                       : "";
    if (!(want == got) || !steps.empty()) {
        std::printf("MISMATCH:\n%s%s", ReplayCheck::Differences(want, got).c_str(), steps.c_str());
        return 1;
    }
    if (!missing.empty()) {
        std::printf("%s %s", path.c_str(), missing.c_str());
        return 1;
    }
    std::printf("matches the expected trace\n");
    return result.ok ? 0 : 1;
}
// Makes each replay and its step hashes again from the recipe in its note; a replay whose
// recipe no longer shows a property it is there to show is named with the property and left
// as it was.
int Remaking(
    const std::vector<std::string>& paths, const GameRun::Options& runOptions, uint32_t seeds)
{
    int failed = 0;
    for (const std::string& path : paths) {
        Replay old;
        Recipe recipe;
        std::string error;
        if (!Replay::Load(path, old, error)) {
            std::printf("%s: %s\n", path.c_str(), error.c_str());
            ++failed;
            continue;
        }
        if (!Recipe::FromNotes(old.notes, recipe, error)) {
            std::printf("%s cannot be made again: %s\n", path.c_str(), error.c_str());
            ++failed;
            continue;
        }
        std::vector<std::string> notes = old.notes;
        const uint32_t firstSeed = recipe.seed;
        const std::string firstRecipe = recipe.Text();
        RunWatch::Facts facts;
        GameRun::Result result = recipe.Make(runOptions, facts);
        std::string missing = recipe.Missing(facts);
        std::string says;
        if (!result.ok)
            says += "the game failed: " + result.failure + "\n";
        says += missing;
        // The next seeds, when asked to: the first whose game shows every property.
        for (uint32_t tried = 1;
             !(result.ok && missing.empty()) && tried < seeds && firstSeed + tried > firstSeed;
             ++tried) {
            recipe.UseSeed(firstSeed + tried, notes);
            result = recipe.Make(runOptions, facts);
            missing = recipe.Missing(facts);
        }
        const auto indented = [](const std::string& lines) {
            std::string text;
            size_t start = 0;
            while (start < lines.size()) {
                const size_t end = lines.find('\n', start);
                text += "  " + lines.substr(start, end - start) + "\n";
                start = end == std::string::npos ? lines.size() : end + 1;
            }
            return text;
        };
        if (!result.ok || !missing.empty()) {
            std::string text = "FAILED: " + path + ", made again from its recipe (" + firstRecipe
                + "):\n" + indented(says);
            text += seeds > 1 ? "  nor does any of the " + std::to_string(seeds - 1)
                    + " seeds after it; it is left as it was\n"
                              : "  it is left as it was; change its recipe (the seed, the frame "
                                "lengths) until the game shows it again, or try the next seeds "
                                "with --seeds N\n";
            std::printf("%s", text.c_str());
            ++failed;
            continue;
        }
        if (recipe.seed != firstSeed)
            std::printf("%s: with seed %u\n%s  seed %u shows every property: its recipe says "
                        "--seed %u now\n",
                path.c_str(), firstSeed, indented(says).c_str(), recipe.seed, recipe.seed);
        Replay made = result.replay;
        made.notes = notes;
        const bool same = made == old;
        if (!made.Save(path)
            || !ReplayCheck::SaveSteps(ReplayCheck::StepsPath(path), result.trace.stepHashes)) {
            std::printf("%s: cannot be written\n", path.c_str());
            ++failed;
            continue;
        }
        std::string shows;
        for (const std::string& property : recipe.properties)
            shows += (shows.empty() ? "" : ", ") + property;
        std::printf("%s %s: frames %" PRIu64 " steps %" PRIu64 " scores %s; shows %s\n",
            same ? "unchanged" : "MADE ANEW", path.c_str(), made.expect.frames, made.expect.steps,
            ReplayCheck::Scores(made.expect.scores).c_str(), shows.c_str());
        std::fflush(stdout);
    }
    return failed == 0 ? 0 : 1;
}
} // namespace

int main(int argc, char** argv)
{
    // Headless unless the environment chose otherwise. A software renderer on a window would
    // otherwise borrow a GL texture as its framebuffer.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_RENDER_DRIVER", "software", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
    // Ctrl-C and kill end the autoplayer; SDL would turn them into a closed window instead,
    // which the game in play would take as its input.
    setenv("SDL_NO_SIGNAL_HANDLERS", "1", 0);

    AutoPlayer::Options options;
    options.games = 10;
    std::string replayPath, stepHashesPath;
    std::vector<std::string> remakePaths;
    uint32_t remakeSeeds = 1;
    bool rewrite = false, quiet = false, skilled = false, frameTimes = false, framesGiven = false;
    bool longestGiven = false;
    SkilledPlayer::Settings skill;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        uint64_t value = 0;
        if (arg == "--games" && hasValue && Number(argv[i + 1], value)) {
            options.games = value;
        } else if (arg == "--seed" && hasValue && Number(argv[i + 1], value)
            && value <= UINT32_MAX) {
            options.firstSeed = static_cast<uint32_t>(value);
        } else if (arg == "--data" && hasValue) {
            options.run.workingDirectory = argv[i + 1];
        } else if (arg == "--frames" && hasValue) {
            if (!Range(argv[i + 1], options.frameLengths.shortest, options.frameLengths.longest)) {
                Usage();
                return 2;
            }
            framesGiven = true;
        } else if (arg == "--stalls" && hasValue && Number(argv[i + 1], value) && value <= 1000) {
            options.frameLengths.stallsPerThousand = static_cast<uint32_t>(value);
        } else if (arg == "--stall-length" && hasValue) {
            if (!Range(argv[i + 1], options.frameLengths.shortestStall,
                    options.frameLengths.longestStall)) {
                Usage();
                return 2;
            }
        } else if (arg == "--longest-play" && hasValue && Number(argv[i + 1], value)
            && value <= UINT32_MAX) {
            options.frameLengths.longestPlay = static_cast<uint32_t>(value);
            longestGiven = true;
        } else if (arg == "--player" && hasValue
            && (argv[i + 1] == std::string("random") || argv[i + 1] == std::string("skilled"))) {
            skilled = argv[i + 1] == std::string("skilled");
        } else if (arg == "--reaction" && hasValue && Number(argv[i + 1], value) && value >= 150
            && value <= 10'000) {
            skill.reactionMs = static_cast<uint32_t>(value);
        } else if (arg == "--no-drawing") {
            options.run.drawPictures = false;
            continue;
        } else if (arg == "--frame-times") {
            frameTimes = true;
            continue;
        } else if (arg == "--save-failing" && hasValue) {
            options.failingReplayPath = argv[i + 1];
        } else if (arg == "--save-replays" && hasValue) {
            options.replayFolder = argv[i + 1];
        } else if (arg == "--memory-tolerance" && hasValue && Number(argv[i + 1], value)) {
            options.memoryToleranceBytes = value;
        } else if (arg == "--replay" && hasValue) {
            replayPath = argv[i + 1];
        } else if (arg == "--remake" && hasValue) {
            while (i + 1 < argc && std::string(argv[i + 1]).rfind("--", 0) != 0)
                remakePaths.emplace_back(argv[++i]);
            continue;
        } else if (arg == "--seeds" && hasValue && Number(argv[i + 1], value) && value >= 1
            && value <= 100'000) {
            remakeSeeds = static_cast<uint32_t>(value);
        } else if (arg == "--step-hashes" && hasValue) {
            stepHashesPath = argv[i + 1];
        } else if (arg == "--rewrite") {
            rewrite = true;
            continue;
        } else if (arg == "--quiet") {
            quiet = true;
            continue;
        } else {
            Usage();
            return 2;
        }
        ++i;
    }

    if (!remakePaths.empty())
        return Remaking(remakePaths, options.run, remakeSeeds);
    if (!replayPath.empty())
        return Replaying(replayPath, options.run, stepHashesPath, rewrite);

    SkillReport report;
    SkilledPlayer::Record record;
    if (skilled) {
        if (framesGiven) {
            skill.shortestFrame = options.frameLengths.shortest;
            skill.longestFrame = options.frameLengths.longest;
        }
        if (longestGiven)
            skill.longestPlay = options.frameLengths.longestPlay;
        options.makeInput = [&skill, &record](uint32_t seed) {
            return std::make_unique<SkilledPlayer>(seed, skill, &record);
        };
    }
    if (frameTimes)
        options.run.afterFrame = [&report](const Game& game, double wall, double cpu) {
            report.Frame(game, wall, cpu);
        };
    if (skilled || frameTimes) {
        options.afterGame
            = [&report, &record, skilled, quiet](uint32_t seed, const GameRun::Result& result) {
                  if (skilled)
                      report.Game(record);
                  if (!quiet) {
                      std::printf("game %u: %s, %" PRIu64 " frames, scores %s, heap %" PRIu64
                                  " bytes%s\n",
                          seed, result.ok ? "ok" : "FAILED", result.frames,
                          ReplayCheck::Scores(result.trace.scores).c_str(),
                          MemoryProbe::HeapInUse(), report.LastGame(skilled).c_str());
                      std::fflush(stdout);
                  }
                  report.EndOfGame();
              };
    } else if (!quiet) {
        options.afterGame = [](uint32_t seed, const GameRun::Result& result) {
            std::printf("game %u: %s, %" PRIu64 " frames, %" PRIu64
                        " steps, scores %s, heap %" PRIu64 " bytes\n",
                seed, result.ok ? "ok" : "FAILED", result.frames, result.trace.steps,
                ReplayCheck::Scores(result.trace.scores).c_str(), MemoryProbe::HeapInUse());
            std::fflush(stdout);
        };
    }
    const auto start = std::chrono::steady_clock::now();
    const AutoPlayer::Summary summary = AutoPlayer(options).Run();
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    std::printf("games %" PRIu64 ", plays %" PRIu64 ", frames %" PRIu64 ", steps %" PRIu64
                ", wall %.1f s, heap after game %" PRIu64 " %" PRIu64 " bytes, at the end %" PRIu64
                " bytes, peak resident %" PRIu64 " KiB\n",
        summary.games, summary.plays, summary.frames, summary.steps, wall.count(),
        options.memoryBaselineGame, summary.heapAtBaseline, summary.heapAtEnd,
        summary.peakResidentKiB);
    if (skilled || frameTimes)
        std::printf("%s", report.Totals(skilled).c_str());
    if (!summary.ok) {
        std::printf(
            "FAILED in the game of seed %u: %s\n", summary.failingSeed, summary.failure.c_str());
        const RandomPlayer::FrameLengths& lengths = options.frameLengths;
        if (skilled)
            std::printf("play it again with: skarvold_autoplay --player skilled --games 1 --seed %u"
                        " --frames %u-%u --reaction %u --longest-play %u",
                summary.failingSeed, skill.shortestFrame, skill.longestFrame, skill.reactionMs,
                skill.longestPlay);
        else
            std::printf("play it again with: skarvold_autoplay --games 1 --seed %u --frames %u-%u"
                        " --stalls %u --stall-length %u-%u --longest-play %u",
                summary.failingSeed, lengths.shortest, lengths.longest, lengths.stallsPerThousand,
                lengths.shortestStall, lengths.longestStall, lengths.longestPlay);
        if (!options.failingReplayPath.empty())
            std::printf("  or  skarvold_autoplay --replay %s", options.failingReplayPath.c_str());
        std::printf("\n");
        // A sanitizer that finds a leak at exit aborts the process: the figures go out first.
        std::fflush(stdout);
        return 1;
    }
    std::printf("every game passed\n");
    std::fflush(stdout);
    return 0;
}
