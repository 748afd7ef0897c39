// A heavy moment of play, built by the game's own code from the generated data set: a big
// enemy has just burst into its 67 pieces of debris while about 300 objects live (enemies of
// every kind, shots of both sides, earlier explosions and their debris, pickups, score and
// shield notices). Measured: the whole frame; the drawing alone, with the backdrop drawn as
// the game draws it, hidden, or copied without blending; one world step with its contact
// pass; and the step in which the big enemy is hit.
//
// Run from anywhere: the bench moves into the build folder, where Data/ was generated. It
// draws with SDL's software renderer into an off-screen window, with sound switched off.
#include "PlayBench.h"
#include "app/GameBase.h"
#include "base/Clock.h"
#include "base/Random.h"
#include "base/Timer.h"
#include "modes/Game.h"
#include "modes/GameMode.h"
#include "render/Renderer.h"
#include "render/Sprite.h"
#include "sound/ISoundEngine.h"
#include "world/Debris.h"
#include "world/EnemyBig.h"
#include "world/EnemyMedium.h"
#include "world/EnemySmall.h"
#include "world/Explosion.h"
#include "world/FlyingText.h"
#include "world/Player.h"
#include "world/Projectile.h"
#include "world/ShieldPickup.h"
#include "world/World.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

using namespace playbench;

constexpr uint32_t sceneSeed = 5;
constexpr uint32_t stageFrameMs = 32; // one step per staged frame
constexpr uint32_t playFrameMs = 16;  // a 60 Hz display's pace for the measured frames
constexpr uint32_t sweepMs = 640;     // one way of the player's sweep
constexpr uint32_t calmMs = 1120;     // longer than any shake, a whole number of steps

// A real game in play that can be brought back, identically, to the heavy moment.
class PlayScene {
public:
    PlayScene()
    {
        UseHeadlessSoftwareSdl();
        if (!EnterDataFolder())
            return;
        gameTime = 1000; // past the first text rebuild limit
        game = std::make_unique<Game>("Skarvold", std::make_unique<SilentSoundEngine>());
    }

    ~PlayScene()
    {
        game.reset();
        DestroyAllTimers();
    }

    PlayScene(const PlayScene&) = delete;
    PlayScene& operator=(const PlayScene&) = delete;

    // Why the scene cannot run, or "" when it can.
    std::string Problem() const
    {
        if (game == nullptr)
            return "no Data/ folder: build the skarvold_data target";
        if (!game->Started())
            return "the game could not open its window";
        SDL_RendererInfo info {};
        SDL_GetRendererInfo(game->renderer->sdlRenderer, &info);
        if (std::string(info.name) != "software")
            return std::string("renderer is ") + info.name + ", not software";
        return "";
    }

    // Starts a fresh game and plays it, frame by frame through the whole game, up to the step
    // before the big enemy's end. Every staging from the same seed gives the same scene.
    void StageEve()
    {
        // First a calm second in the menu: the shakes of the scene before run out (each one
        // running would take a random draw per frame), its leftovers are freed, and the next
        // step falls on the same phase of the clock. Every staging then replays the same game.
        if (play != nullptr)
            game->ReturnToMenu();
        Frame(calmMs - game->accumulator);
        game->StartGame();
        play = static_cast<GameMode*>(game->mode.get());
        rng::srand(sceneSeed);
        sweepRight = true;
        play->fireHeld = true; // left Control held all along

        // Two pickups hover in the lower middle; the player collects others on the way, as
        // a lucky player would, so that it keeps firing through the whole scene.
        play->SpawnPickup();
        play->SpawnPickup();
        KeepShielded();

        // The big enemy whose end is measured enters at the left edge, far from the player's
        // fire. Others come in two waves; those the player's fire does not get are destroyed
        // on the way as if it had, leaving their explosions and debris behind.
        doomed = Spawn<EnemyBig>();
        SpawnWave(1, 2, 3);
        Sweep(1280);
        SpawnWave(1, 2, 2);
        Sweep(1920);
    }

    // The eve, then the big enemy's Die() and one frame: its explosion's debris fly, and the
    // new score notice has its text rendered.
    void Stage()
    {
        StageEve();
        if (DoomedAlive())
            doomed->Die();
        Frame(stageFrameMs);
    }

    // One whole frame of the game, gameTime moved on by `ms` as the main loop would.
    void Frame(uint32_t ms)
    {
        gameTime += ms;
        game->frame();
    }

    template <class T> T* Create() { return game->world->Create<T>(game->world); }

    // As the play mode's spawner makes an enemy.
    template <class T> T* Spawn()
    {
        T* enemy = Create<T>();
        enemy->SetGameMode(play);
        return enemy;
    }

    void SpawnWave(int big, int small, int medium)
    {
        for (int ship = 0; ship < big; ++ship)
            Spawn<EnemyBig>();
        for (int ship = 0; ship < small; ++ship)
            Spawn<EnemySmall>();
        for (int ship = 0; ship < medium; ++ship)
            Spawn<EnemyMedium>();
    }

    // `ms` of play with the player sweeping under the enemies, right and left by turns.
    void Sweep(uint32_t ms)
    {
        for (uint32_t played = 0; played < ms; played += sweepMs) {
            play->rightHeld = sweepRight;
            play->leftHeld = !sweepRight;
            sweepRight = !sweepRight;
            for (uint32_t frame = 0; frame < sweepMs; frame += stageFrameMs) {
                Frame(stageFrameMs);
                KeepShielded();
            }
        }
        play->rightHeld = false;
        play->leftHeld = false;
    }

    // Puts a pickup on the player for every shield it lacks; the next step collects them.
    void KeepShielded()
    {
        const Player* player = play->player;
        if (player == nullptr)
            return;
        for (uint32_t shields = player->shields; shields < Player::maxShields; ++shields)
            Create<ShieldPickup>()->SetPosition(player->position);
    }

    // Whether the measured big enemy is still there to be hit: it enters at the left edge at
    // 25 px/s, out of the player's reach, so nothing else ends it.
    bool DoomedAlive() const
    {
        const auto& objects = game->world->objects;
        return std::find(objects.begin(), objects.end(), doomed) != objects.end() && !doomed->dead;
    }

    std::unique_ptr<Game> game;
    GameMode* play = nullptr;
    EnemyBig* doomed = nullptr;
    bool sweepRight = true;
};

bool Prepare(benchmark::State& state, PlayScene& scene)
{
    const std::string problem = scene.Problem();
    if (!problem.empty()) {
        state.SkipWithError(problem.c_str());
        return false;
    }
    return true;
}

// Each staging is followed by half a second of play, 32 frames of 16 ms or 16 steps of 32 ms,
// while all 67 pieces of the big enemy's debris still fly at full opacity (none starts to fade
// before a second has passed). A run of frames measures ten stagings; a step being short, a
// run of steps measures forty.
constexpr int framesPerStaging = 32;
constexpr int stepsPerStaging = 16;
constexpr int framesPerRun = framesPerStaging * 10;
constexpr int stepsPerRun = stepsPerStaging * 40;
constexpr int explosionStagings = 10;

// Runs `measure` once per iteration, staging the scene afresh (untimed) every `perStaging`
// iterations; `after` adjusts each new staging.
template <class Measure, class After>
void RunStaged(
    benchmark::State& state, PlayScene& scene, int perStaging, Measure measure, After after)
{
    int done = 0;
    for (auto _ : state) {
        if (done++ % perStaging == 0) {
            state.PauseTiming();
            scene.Stage();
            after();
            if (done == 1)
                Census(*scene.game).Report(state);
            state.ResumeTiming();
        }
        measure();
    }
}

// The whole frame as the player gets it: input, timers, the steps its 16 ms of game time
// cover (one every other frame), the render pass and the software renderer's drawing.
void PlaySceneFrame(benchmark::State& state)
{
    PlayScene scene;
    if (!Prepare(state, scene))
        return;
    RunStaged(
        state, scene, framesPerStaging, [&] { scene.Frame(playFrameMs); }, [] {});
}
BENCHMARK(PlaySceneFrame)->Iterations(framesPerRun)->Unit(benchmark::kMillisecond);

// How the backdrop (one 800x600 image without an alpha channel, on layer 0) is drawn.
enum Backdrop : int64_t {
    backdropHidden = 0,  // its share of the frame is the difference to the next
    backdropBlended = 1, // as the game draws it
    // Copied without blending: the same pixels, since an image without an alpha channel
    // drawn at full opacity covers what lies below it whatever the blend mode.
    backdropCopied = 2,
};

// The drawing alone: the world's render pass and RenderFrame, without input, timers or steps.
void PlaySceneDraw(benchmark::State& state)
{
    PlayScene scene;
    if (!Prepare(state, scene))
        return;
    const int64_t backdrop = state.range(0);
    Game& game = *scene.game;
    float alpha = 0.0f;
    RunStaged(
        state, scene, framesPerStaging,
        [&] {
            gameTime += playFrameMs;
            alpha = alpha == 0.5f ? 1.0f : 0.5f;
            game.world->Render(static_cast<float>(playFrameMs) / 1000.0f, alpha);
            game.renderer->RenderFrame(static_cast<float>(playFrameMs));
        },
        [&] {
            Sprite* sprite = scene.play->background;
            sprite->visible = backdrop != backdropHidden;
            SDL_SetTextureBlendMode(sprite->animation->frames[0],
                backdrop == backdropCopied ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
        });
}
BENCHMARK(PlaySceneDraw)
    ->ArgName("backdrop")
    ->Arg(backdropBlended)
    ->Arg(backdropHidden)
    ->Arg(backdropCopied)
    ->Iterations(framesPerRun)
    ->Unit(benchmark::kMillisecond);

// One fixed step of the scene: every object's Update, the removal of dead ones and the
// all-pairs contact pass. Game time moves on by the step's 32 ms, so enemies keep firing.
void PlaySceneStep(benchmark::State& state)
{
    PlayScene scene;
    if (!Prepare(state, scene))
        return;
    World& world = *scene.game->world;
    RunStaged(
        state, scene, stepsPerStaging,
        [&] {
            gameTime += stageFrameMs;
            world.Update(static_cast<float>(stageFrameMs) / 1000.0f);
        },
        [] {});
}
BENCHMARK(PlaySceneStep)->Iterations(stepsPerRun)->Unit(benchmark::kMicrosecond);

// The step in which a player shot meets the big enemy: its contact pass calls Die(), which
// makes the score notice, the explosion and the 67 pieces of debris with their sprites and
// timers. Timed by hand around that one step, one staging each.
void PlaySceneExplosionStep(benchmark::State& state)
{
    PlayScene scene;
    if (!Prepare(state, scene))
        return;
    World& world = *scene.game->world;
    for (auto _ : state) {
        scene.StageEve();
        if (!scene.DoomedAlive()) {
            state.SkipWithError("the big enemy did not live to the hit");
            break;
        }
        Projectile::Launch(world, "Data/Player/Projectile", 800.0f, TypeEnemy, Vec2 { 0.0f, -1.0f },
            scene.doomed->position);
        gameTime += stageFrameMs;
        const auto start = std::chrono::steady_clock::now();
        world.Update(static_cast<float>(stageFrameMs) / 1000.0f);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        if (!scene.doomed->dead) {
            state.SkipWithError("the shot missed the big enemy");
            break;
        }
    }
}
BENCHMARK(PlaySceneExplosionStep)
    ->UseManualTime()
    ->Iterations(explosionStagings)
    ->Unit(benchmark::kMicrosecond);

} // namespace
