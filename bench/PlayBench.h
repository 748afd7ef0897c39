#pragma once

// What the benchmarks that play the real game share: headless SDL on the software renderer,
// the generated data set, silence, and a census of the world at a moment.
#include "modes/Game.h"
#include "render/Renderer.h"
#include "sound/ISoundEngine.h"
#include "world/Debris.h"
#include "world/Enemy.h"
#include "world/Explosion.h"
#include "world/FlyingText.h"
#include "world/Player.h"
#include "world/Projectile.h"
#include "world/ShieldPickup.h"
#include "world/World.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace playbench {

// Plays nothing: the mixer thread would otherwise compete with the measured thread.
class SilentSoundEngine final : public ISoundEngine {
public:
    void SetMasterVolume(float) override { }
    void PlayEffect(const std::string&) override { }
    MusicHandle* PlayMusic(const std::string&) override { return nullptr; }
    void SetMusicPaused(MusicHandle*, bool) override { }
    void SetMusicVolume(MusicHandle*, float) override { }
    void StopMusic(MusicHandle*) override { }
};

// Headless SDL with the software renderer; settings already in the environment win.
inline void UseHeadlessSoftwareSdl()
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_RENDER_DRIVER", "software", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
}

// The game reads Data/ relative to the working directory.
inline bool EnterDataFolder()
{
    if (!std::filesystem::exists("Data/Gui/GameBackground/0000.png")
        && chdir(SKARVOLD_BUILD_DIR) != 0)
        return false;
    return std::filesystem::exists("Data/Gui/GameBackground/0000.png");
}

// What lives in the world at a moment, by kind.
struct Census {
    int objects = 0;
    int enemies = 0;
    int playerShots = 0;
    int enemyShots = 0;
    int debris = 0;
    int explosions = 0;
    int pickups = 0;
    int notices = 0;
    int sprites = 0;
    int player = 0;

    explicit Census(const Game& game)
    {
        for (const Object* object : game.world->objects) {
            ++objects;
            if (dynamic_cast<const Enemy*>(object) != nullptr)
                ++enemies;
            else if (const auto* shot = dynamic_cast<const Projectile*>(object))
                ++(shot->collisionMask == TypeEnemy ? playerShots : enemyShots);
            else if (dynamic_cast<const Debris*>(object) != nullptr)
                ++debris;
            else if (dynamic_cast<const Explosion*>(object) != nullptr)
                ++explosions;
            else if (dynamic_cast<const ShieldPickup*>(object) != nullptr)
                ++pickups;
            else if (dynamic_cast<const FlyingText*>(object) != nullptr)
                ++notices;
            else if (dynamic_cast<const Player*>(object) != nullptr)
                player = 1;
        }
        for (const auto& layer : game.renderer->spriteLayers)
            sprites += static_cast<int>(layer.size());
    }

    void Report(benchmark::State& state) const
    {
        state.counters["objects"] = objects;
        state.counters["enemies"] = enemies;
        state.counters["shotsP"] = playerShots;
        state.counters["shotsE"] = enemyShots;
        state.counters["debris"] = debris;
        state.counters["notices"] = notices;
        state.counters["sprites"] = sprites;
        state.counters["player"] = player;
        state.counters["pickups"] = pickups;
        state.counters["explosions"] = explosions;
    }
};

} // namespace playbench
