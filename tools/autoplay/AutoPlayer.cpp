#include "autoplay/AutoPlayer.h"

#include "autoplay/MemoryProbe.h"

#include <filesystem>

AutoPlayer::AutoPlayer(const Options& playerOptions)
    : options(playerOptions)
{
}

GameRun::Result AutoPlayer::PlayOne(uint32_t seed) const
{
    if (options.makeInput) {
        const std::unique_ptr<InputSource> input = options.makeInput(seed);
        return GameRun::Play(seed, *input, options.run);
    }
    RandomPlayer player(seed, options.frameLengths);
    return GameRun::Play(seed, player, options.run);
}

AutoPlayer::Summary AutoPlayer::Run() const
{
    Summary summary;
    for (uint64_t game = 1; game <= options.games; ++game) {
        const auto seed = static_cast<uint32_t>(options.firstSeed + game - 1);
        std::string failure;
        {
            const GameRun::Result result = PlayOne(seed);
            ++summary.games;
            summary.plays += result.trace.scores.size();
            summary.frames += result.frames;
            summary.steps += result.trace.steps;
            if (!options.replayFolder.empty()) {
                const std::filesystem::path file = std::filesystem::path(options.replayFolder)
                    / (std::to_string(seed) + ".replay");
                result.replay.Save(file.string());
            }
            if (options.afterGame)
                options.afterGame(seed, result);
            failure = result.failure;
            if (!failure.empty() && !options.failingReplayPath.empty())
                result.replay.Save(options.failingReplayPath);
        }

        // Measured once the game's own record is gone: a long game's replay alone holds a
        // megabyte, which is not something the game left behind.
        const uint64_t heap = MemoryProbe::HeapInUse();
        summary.heapAtEnd = heap;
        if (game == options.memoryBaselineGame)
            summary.heapAtBaseline = heap;
        if (failure.empty() && options.memoryToleranceBytes != 0
            && game > options.memoryBaselineGame
            && heap > summary.heapAtBaseline + options.memoryToleranceBytes) {
            failure = "the heap grew from " + std::to_string(summary.heapAtBaseline)
                + " bytes after game " + std::to_string(options.memoryBaselineGame) + " to "
                + std::to_string(heap) + " bytes";
        }
        if (!failure.empty()) {
            summary.ok = false;
            summary.failingSeed = seed;
            summary.failure = failure;
            break;
        }
    }
    summary.peakResidentKiB = MemoryProbe::PeakResidentKiB();
    return summary;
}
