#pragma once

// Plays the real Game as a player would: through the main loop, pass by pass, under a scripted
// millisecond counter, with key events pushed into SDL's queue and the recording sound engine.

#include "app/MainLoop.h"
#include "base/Clock.h"
#include "base/Timer.h"
#include "modes/Game.h"
#include "modes/GameMode.h"
#include "modes/MenuMode.h"

#include "support/RecordingSoundEngine.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

class GameDriver {
public:
    // `seed` is the counter's first reading, which also seeds the game's generator.
    explicit GameDriver(uint32_t seed = 1)
        : counter(seed)
    {
        ResetClock();
        DestroyAllTimers();
        loop = std::make_unique<MainLoop>(
            [this] {
                auto engine = std::make_unique<RecordingSoundEngine>();
                sound = engine.get();
                game = new Game("Skarvold", std::move(engine));
                return game;
            },
            LoopPlatform { [this] { return counter; }, [] { } });
        // Whatever earlier tests left in SDL's queue is not this game's input.
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }

    ~GameDriver()
    {
        loop->Finish();
        ResetClock();
    }

    GameDriver(const GameDriver&) = delete;
    GameDriver& operator=(const GameDriver&) = delete;

    // Lets `ms` pass on the counter, then runs one pass of the main loop. Answers the frame's
    // answer (false: the program would end).
    bool Frame(uint32_t ms = 16)
    {
        counter += ms;
        running = loop->Pass();
        return running;
    }

    // Frames of `frameMs` until at least `ms` have passed on the counter, or the game ends.
    bool RunFor(uint32_t ms, uint32_t frameMs = 16)
    {
        uint32_t passed = 0;
        while (passed < ms && running) {
            Frame(frameMs);
            passed += frameMs;
        }
        return running;
    }

    static void Push(uint32_t type, SDL_Scancode scancode)
    {
        SDL_Event event {};
        event.type = type;
        event.key.type = type;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.scancode = scancode;
        event.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    }
    static void KeyDown(SDL_Scancode scancode) { Push(SDL_KEYDOWN, scancode); }
    static void KeyUp(SDL_Scancode scancode) { Push(SDL_KEYUP, scancode); }
    // A key pressed and released before the next frame reads the queue.
    static void Tap(SDL_Scancode scancode)
    {
        KeyDown(scancode);
        KeyUp(scancode);
    }
    // The window's close button.
    static void CloseWindow()
    {
        SDL_Event event {};
        event.type = SDL_QUIT;
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    }

    // The current screen, or null when it is the other one.
    GameMode* Play() const { return dynamic_cast<GameMode*>(game->mode.get()); }
    MenuMode* Menu() const { return dynamic_cast<MenuMode*>(game->mode.get()); }

    uint32_t counter;
    bool running = true;
    Game* game = nullptr;
    RecordingSoundEngine* sound = nullptr;
    std::unique_ptr<MainLoop> loop;
};
