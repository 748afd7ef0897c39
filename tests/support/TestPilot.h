#pragma once

// Runs the whole program as main() does, through RunMainLoop to its exit code, with a script
// in place of the operating system's millisecond counter: before every pass the script sees
// the game as the last frame left it, may push events into SDL's queue, and says how many
// milliseconds the pass lets pass. TestPilot is such a script: it plays whole games as a
// player would, from the menu to the end and back, and finally chooses "QUIT".

#include "app/MainLoop.h"
#include "base/Clock.h"
#include "base/Random.h"
#include "base/Timer.h"
#include "modes/Game.h"
#include "modes/GameMode.h"
#include "modes/MenuMode.h"
#include "render/Sprite.h"
#include "world/Enemy.h"
#include "world/Player.h"
#include "world/World.h"

#include "support/GameDriver.h"
#include "support/HeldKeys.h"
#include "support/RecordingSoundEngine.h"

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <memory>

// `game` is null for the reading taken before the game is made.
using PassScript = std::function<uint32_t(Game* game)>;

// Makes the game's sound engine; one that answers null leaves the game its own SDL_mixer
// engine (on SDL's audio driver).
using EngineMaker = std::function<std::unique_ptr<ISoundEngine>()>;

inline std::unique_ptr<ISoundEngine> RecordingEngine()
{
    return std::make_unique<RecordingSoundEngine>();
}

inline std::unique_ptr<ISoundEngine> RealEngine()
{
    return nullptr;
}

// The program's run under `script`, from the counter's first reading; answers the exit code.
inline int RunProgram(
    uint32_t firstReading, const EngineMaker& makeEngine, const PassScript& script)
{
    ResetClock();
    DestroyAllTimers();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    Game* game = nullptr;
    uint32_t counter = firstReading;
    bool first = true;
    const int code = RunMainLoop(
        [&] {
            game = new Game("Skarvold", makeEngine());
            return game;
        },
        LoopPlatform { [&] {
                          if (!first)
                              counter += script(game);
                          first = false;
                          return counter;
                      },
            [] {} });
    ResetClock();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    return code;
}

inline void PushKey(uint32_t type, SDL_Scancode scancode)
{
    GameDriver::Push(type, scancode);
}

inline void TapKey(SDL_Scancode scancode)
{
    PushKey(SDL_KEYDOWN, scancode);
    PushKey(SDL_KEYUP, scancode);
}

inline void PushQuit()
{
    SDL_Event event {};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}

class TestPilot {
public:
    struct Plan {
        uint32_t seed = 1;         // the pilot's own choices; the game's generator is not touched
        int games = 2;             // then "QUIT"
        uint32_t fightMs = 6000;   // steering after an enemy and firing, from the start of play
        uint32_t rammingMs = 5000; // then flying into the nearest enemy, every other game
    };

    explicit TestPilot(const Plan& plan)
        : choices(plan.seed)
        , plan_(plan)
    {
    }

    uint32_t operator()(Game* game)
    {
        ++frames;
        if (game->mode == nullptr)
            return 16;
        if (auto* menu = dynamic_cast<MenuMode*>(game->mode.get()))
            InMenu(*menu);
        else if (auto* play = dynamic_cast<GameMode*>(game->mode.get()))
            InPlay(*game, *play);
        // Mostly ordinary frames, now and then a slow one.
        return choices.Next() % 50 == 0 ? 100 + choices.Next() % 150 : 10 + choices.Next() % 60;
    }

    int frames = 0;
    int gamesStarted = 0;
    int gamesEndedByDestruction = 0;
    int gamesLeftFromThePrompt = 0;
    int pauses = 0;
    int shotsAtEnemies = 0; // frames in which the pilot fired with an enemy in the world

private:
    void InMenu(MenuMode& menu)
    {
        keys.ReleaseAll();
        currentPlay = nullptr;
        if (menu.overlay->visible) {
            TapKey(SDL_SCANCODE_SPACE);
        } else if (gamesStarted < plan_.games) {
            ++gamesStarted;
            TapKey(SDL_SCANCODE_LCTRL);
        } else {
            TapKey(SDL_SCANCODE_DOWN);
            TapKey(SDL_SCANCODE_DOWN);
            TapKey(SDL_SCANCODE_LCTRL);
        }
    }

    void InPlay(Game& game, GameMode& play)
    {
        if (&play != currentPlay) {
            currentPlay = &play;
            playStart = gameTime;
            destroyed = false;
            leaving = false;
            pauseFrames = 0;
        }
        if (gamePaused) {
            if (leaving) {
                TapKey(SDL_SCANCODE_SPACE);
                ++gamesLeftFromThePrompt;
            } else if (--pauseFrames <= 0) {
                TapKey(SDL_SCANCODE_ESCAPE);
            }
            return;
        }
        if (play.player == nullptr) {
            if (!destroyed)
                ++gamesEndedByDestruction;
            destroyed = true;
            keys.ReleaseAll();
            return;
        }
        if (choices.Next() % 400 == 0) {
            ++pauses;
            pauseFrames = 1 + choices.Next() % 20;
            TapKey(SDL_SCANCODE_ESCAPE);
            return;
        }
        const uint32_t elapsed = gameTime - playStart;
        const bool ramming = gamesStarted % 2 == 1;
        const Enemy* target = NearestEnemy(*game.world, play.player->position);
        const Vec2 at = play.player->position;
        if (elapsed < plan_.fightMs) {
            keys.Steer(target != nullptr ? target->position.x - at.x : 0.0f, 0.0f);
            keys.Hold(SDL_SCANCODE_LCTRL, true);
            shotsAtEnemies += target != nullptr;
        } else if (ramming && elapsed < plan_.fightMs + plan_.rammingMs) {
            keys.Hold(SDL_SCANCODE_LCTRL, false);
            if (target != nullptr)
                keys.Steer(target->position.x - at.x, target->position.y - at.y);
        } else {
            // Nothing hit the ship, or this game ends the other way: leave from the prompt.
            keys.ReleaseAll();
            leaving = true;
            TapKey(SDL_SCANCODE_ESCAPE);
        }
    }

    Random choices;
    Plan plan_;
    const GameMode* currentPlay = nullptr;
    uint32_t playStart = 0;
    bool destroyed = false;
    bool leaving = false;
    int pauseFrames = 0;
    HeldKeys keys;
};
