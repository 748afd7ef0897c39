// The heaviest moment of a long game: the committed replay of three minutes of a skilled
// player's game is played (without drawing, which leaves the game the same) to the frame
// before which the most objects live, and that moment's drawing and its world step are timed,
// once per replay. Beside the staged heavy scene of PlaySceneBench, this is a moment the game
// itself reached.
#include "PlayBench.h"
#include "autoplay/GameRun.h"
#include "autoplay/InputSource.h"
#include "autoplay/Replay.h"
#include "base/Clock.h"
#include "render/Renderer.h"

#include <functional>
#include <memory>
#include <string>

namespace {

using playbench::Census;
using playbench::SilentSoundEngine;

constexpr const char* longGame = SKARVOLD_REPLAY_DIR "/three-minutes-of-skilled-play.replay";
constexpr int replaysPerBenchmark = 3;
constexpr size_t warmFrames = 32;

// Plays a replay's frames; before frame `stopAt` (counted from 0) it hands the game, as the
// previous frame left it, to `atStop` and ends the run. `eachFrame` sees every frame's start.
class ReplayTo : public InputSource {
public:
    ReplayTo(const Replay& source, size_t stop)
        : replay(source)
        , stopAt(stop)
    {
    }

    bool Next(const Game& game, Replay::Frame& frame) override
    {
        if (eachFrame)
            eachFrame(game, next);
        // The last frames before the stop are drawn: the moment measured is a drawing among
        // drawings, with the window's surface and the textures' first uses behind it.
        if (next + warmFrames >= stopAt)
            game.renderer->copyPixels = true;
        if (next == stopAt && atStop) {
            atStop(const_cast<Game&>(game));
            return false;
        }
        if (next >= replay.frames.size())
            return false;
        frame = replay.frames[next++];
        return true;
    }

    std::function<void(const Game&, size_t)> eachFrame;
    std::function<void(Game&)> atStop;

private:
    const Replay& replay;
    size_t stopAt = 0;
    size_t next = 0;
};

GameRun::Options Quietly()
{
    playbench::UseHeadlessSoftwareSdl();
    GameRun::Options options;
    options.workingDirectory = SKARVOLD_BUILD_DIR;
    options.checkInvariants = false;
    options.drawPictures = false;
    options.makeSoundEngine = [] { return std::make_unique<SilentSoundEngine>(); };
    return options;
}

// The replay, and the frame before which the most objects live.
struct Heaviest {
    Replay replay;
    size_t frame = 0;
    std::string problem;

    Heaviest()
    {
        if (!Replay::Load(longGame, replay, problem))
            return;
        ReplayTo input(replay, SIZE_MAX - warmFrames);
        size_t most = 0;
        input.eachFrame = [&](const Game& game, size_t index) {
            if (game.world->objects.size() > most) {
                most = game.world->objects.size();
                frame = index;
            }
        };
        const GameRun::Result result = GameRun::Play(replay.seed, input, Quietly());
        if (!(result.replay.expect == replay.expect))
            problem = "the replay no longer plays its recorded game";
    }
};

const Heaviest& TheHeaviest()
{
    static const Heaviest heaviest;
    return heaviest;
}

// Replays to the heaviest moment and times `measure` there, once per iteration.
void AtTheHeaviestMoment(benchmark::State& state, const std::function<void(Game&)>& measure)
{
    const Heaviest& heaviest = TheHeaviest();
    if (!heaviest.problem.empty()) {
        state.SkipWithError(heaviest.problem.c_str());
        return;
    }
    for (auto _ : state) {
        ReplayTo input(heaviest.replay, heaviest.frame);
        bool reached = false;
        input.atStop = [&](Game& game) {
            reached = true;
            Census(game).Report(state);
            const double start = GameRun::ThreadSeconds();
            measure(game);
            // In processor time: one moment measured once per replay is too short a sample to
            // average out what else a shared machine runs.
            state.SetIterationTime(GameRun::ThreadSeconds() - start);
        };
        GameRun::Play(heaviest.replay.seed, input, Quietly());
        if (!reached) {
            state.SkipWithError("the replay ended before its heaviest moment");
            break;
        }
    }
}

// The render pass and the software renderer's drawing of the heaviest frame.
void LongGameHeaviestDraw(benchmark::State& state)
{
    AtTheHeaviestMoment(state, [](Game& game) {
        game.world->Render(0.016f, 1.0f);
        game.renderer->RenderFrame(16.0f);
    });
}
BENCHMARK(LongGameHeaviestDraw)
    ->UseManualTime()
    ->Iterations(replaysPerBenchmark)
    ->Unit(benchmark::kMillisecond);

// One world step there: every object's Update, the removal of dead ones, the contact pass.
void LongGameHeaviestStep(benchmark::State& state)
{
    AtTheHeaviestMoment(state, [](Game& game) {
        gameTime += 32;
        game.world->Update(0.032f);
    });
}
BENCHMARK(LongGameHeaviestStep)
    ->UseManualTime()
    ->Iterations(replaysPerBenchmark)
    ->Unit(benchmark::kMicrosecond);

} // namespace
