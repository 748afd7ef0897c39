#include "autoplay/GameRun.h"

#include "app/MainLoop.h"
#include "autoplay/InputSource.h"
#include "autoplay/InvariantChecker.h"
#include "base/Clock.h"
#include "base/Timer.h"
#include "modes/Game.h"
#include "modes/GameMode.h"
#include "render/Renderer.h"
#include "sound/ISoundEngine.h"

#include <SDL.h>

#include <chrono>
#include <filesystem>
#include <system_error>

#include <time.h>

namespace {
// Works from another folder for as long as it lives.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::string& folder)
    {
        if (folder.empty())
            return;
        std::error_code error;
        previous = std::filesystem::current_path(error);
        std::filesystem::current_path(folder, error);
        failed = static_cast<bool>(error);
        if (failed)
            reason = folder + ": " + error.message();
    }
    ~WorkingDirectory()
    {
        if (!previous.empty()) {
            std::error_code error;
            std::filesystem::current_path(previous, error);
        }
    }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

    bool failed = false;
    std::string reason;

private:
    std::filesystem::path previous;
};

bool PushEvent(const Replay::Event& event)
{
    SDL_Event sdlEvent {};
    if (event.kind == Replay::Event::Kind::Quit) {
        sdlEvent.type = SDL_QUIT;
    } else {
        const bool down = event.kind == Replay::Event::Kind::KeyDown;
        const auto scancode = static_cast<SDL_Scancode>(event.scancode);
        sdlEvent.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        sdlEvent.key.type = sdlEvent.type;
        sdlEvent.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        sdlEvent.key.keysym.scancode = scancode;
        sdlEvent.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
    }
    return SDL_PushEvent(&sdlEvent) == 1;
}

// Follows the play screens so that each play's final score is known when it ends: the score
// only changes inside world steps, so the one seen after a play's last frame is its last.
class ScoreWatch {
public:
    void AfterFrame(const Game& game, Trace& trace)
    {
        const auto* play = dynamic_cast<const GameMode*>(game.mode.get());
        if (play == nullptr) {
            End(trace);
            return;
        }
        inPlay = true;
        lastScore = play->score;
    }
    void End(Trace& trace)
    {
        if (inPlay)
            trace.RecordScore(lastScore);
        inPlay = false;
    }

private:
    bool inPlay = false;
    uint32_t lastScore = 0;
};
} // namespace

double GameRun::ThreadSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

GameRun::Result GameRun::Play(uint32_t seed, InputSource& input, const Options& options)
{
    Result result;
    result.replay.seed = seed;
    result.trace.keepSteps = options.keepStepHashes;

    WorkingDirectory folder(options.workingDirectory);
    if (folder.failed) {
        result.failure = "cannot work from " + folder.reason;
        result.exitCode = 1;
        return result;
    }

    // The program starts with a stopped clock and no timers.
    ResetClock();
    DestroyAllTimers();

    uint32_t counter = seed;
    Game* game = nullptr;
    Trace& trace = result.trace;
    MainLoop loop(
        [&] {
            game = new Game(
                "Skarvold", options.makeSoundEngine ? options.makeSoundEngine() : nullptr);
            game->afterStep = [&trace, &game] { trace.RecordStep(*game); };
            if (game->renderer != nullptr)
                game->renderer->copyPixels = options.drawPictures;
            return game;
        },
        LoopPlatform { [&counter] { return counter; }, [] {} });

    if (!loop.Started()) {
        result.failure = "the game did not start";
    } else {
        // Anything left from an earlier run is not this run's input.
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        InvariantChecker checker;
        ScoreWatch scores;
        for (;;) {
            if (result.frames >= options.maxFrames) {
                result.failure = "the game did not end within " + std::to_string(options.maxFrames)
                    + " frames";
                break;
            }
            Replay::Frame frame;
            if (!input.Next(*game, frame))
                break;
            result.replay.frames.push_back(frame);
            for (const Replay::Event& event : frame.events) {
                if (!PushEvent(event)) {
                    result.failure = std::string("SDL refused an event: ") + SDL_GetError();
                    break;
                }
            }
            if (!result.failure.empty())
                break;
            counter += frame.ms;
            trace.frame = result.frames + 1;
            const auto passStart = std::chrono::steady_clock::now();
            const double cpuStart = ThreadSeconds();
            const bool running = loop.Pass();
            ++result.frames;
            if (options.afterFrame && running) {
                const std::chrono::duration<double> took
                    = std::chrono::steady_clock::now() - passStart;
                options.afterFrame(*game, took.count(), ThreadSeconds() - cpuStart);
            }
            if (!running) {
                result.ended = true;
                break;
            }
            scores.AfterFrame(*game, trace);
            if (options.checkInvariants) {
                if (std::string broken = checker.Check(*game); !broken.empty()) {
                    result.failure = "frame " + std::to_string(result.frames) + " (gameTime "
                        + std::to_string(gameTime) + "): " + broken;
                    break;
                }
            }
        }
        scores.End(trace);
    }

    result.exitCode = loop.Finish();
    ResetClock();
    if (result.failure.empty() && result.exitCode != 0)
        result.failure = "the program would exit with " + std::to_string(result.exitCode);
    result.ok = result.failure.empty();

    Replay::Expectation& expect = result.replay.expect;
    expect.present = true;
    expect.frames = result.frames;
    expect.steps = trace.steps;
    expect.trace = trace.hash;
    expect.scores = trace.scores;
    return result;
}
