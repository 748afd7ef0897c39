// The browser build's main loop and its few ties to the page. Compiled into every build (the
// game's library takes app/ whole) but empty outside emscripten.
#ifdef __EMSCRIPTEN__

#include "app/WebMainLoop.h"

#include "app/GameBase.h"
#include "app/MainLoop.h"
#include "base/Clock.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <emscripten/emscripten.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {
// What the page hears through Module.onGameState.
enum PageState { firstPicture = 1, ended = 2, couldNotStart = 3 };

// clang-format off
EM_JS(void, TellPage, (int state), {
    if (Module.onGameState)
        Module.onGameState(state);
});
// clang-format on

std::function<GameBase*()> makeGame {};
std::unique_ptr<MainLoop> loop {};
bool pictureShown = false;

// The page's clock: performance.now(), in whole milliseconds, wrapping as the desktop's does.
uint32_t PageMilliseconds()
{
    return static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now()));
}

// The time each of the last passes took and the time between their starts, in milliseconds,
// for the page's measurements.
constexpr size_t timedPasses = 8192;
std::array<float, timedPasses> passWork {};
std::array<float, timedPasses> passInterval {};
size_t passCount = 0;
double lastPassStart = 0.0;

// The loudest sample the mixer has sent to the browser since the page last asked.
int mixPeak = 0;

void MeasureMix(void*, Uint8* stream, int length)
{
    const auto* samples = reinterpret_cast<const int16_t*>(stream);
    const int count = length / static_cast<int>(sizeof(int16_t));
    for (int i = 0; i < count; ++i)
        mixPeak = std::max(mixPeak, std::abs(static_cast<int>(samples[i])));
}

void Stop()
{
    emscripten_cancel_main_loop();
    const bool started = loop->Started();
    loop->Finish();
    loop.reset();
    TellPage(started ? ended : couldNotStart);
}

// One animation frame of the browser: one pass of the loop, as the desktop runs them.
void AnimationFrame()
{
    if (loop == nullptr)
        return;
    const double start = emscripten_get_now();
    const bool keepRunning = loop->Pass();
    const double end = emscripten_get_now();
    passWork[passCount % timedPasses] = static_cast<float>(end - start);
    passInterval[passCount % timedPasses]
        = passCount == 0 ? 0.0f : static_cast<float>(start - lastPassStart);
    ++passCount;
    lastPassStart = start;
    if (!pictureShown) {
        pictureShown = true;
        TellPage(firstPicture);
    }
    // Where the desktop would close its window the page offers to start again.
    if (!keepRunning)
        Stop();
}
} // namespace

extern "C" {
// Starts the game, the first time from main and again from the page after it has ended: the
// clock starts from zero as in a new process.
EMSCRIPTEN_KEEPALIVE void skarvold_start()
{
    if (loop != nullptr)
        return;
    ResetClock();
    pictureShown = false;
    // Keys reach the game from the canvas, which the page keeps focused; the page's own
    // controls keep theirs.
    SDL_SetHint(SDL_HINT_EMSCRIPTEN_KEYBOARD_ELEMENT, "#canvas");
    loop = std::make_unique<MainLoop>(makeGame, LoopPlatform { PageMilliseconds, [] { } });
    if (!loop->Started()) {
        Stop();
        return;
    }
    Mix_SetPostMix(MeasureMix, nullptr);
    // 0: at the browser's animation frames; false: return to the caller now.
    emscripten_set_main_loop(AnimationFrame, 0, false);
}

// The page was hidden. In play this pauses as Escape does, at once, so that no world time
// runs while the player is away; in the menu Escape does nothing. A game already paused
// stays so (a second Escape would resume it).
EMSCRIPTEN_KEEPALIVE void skarvold_page_hidden()
{
    if (loop == nullptr || gamePaused)
        return;
    SDL_Event escape {};
    escape.type = SDL_KEYDOWN;
    escape.key.state = SDL_PRESSED;
    escape.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
    escape.key.keysym.sym = SDLK_ESCAPE;
    SDL_PushEvent(&escape);
    // Hidden pages get no animation frames: this pass takes the key now, with the clock as
    // it stands when the player left.
    AnimationFrame();
}

// For the page's tests and measurements.
EMSCRIPTEN_KEEPALIVE uint32_t skarvold_game_time()
{
    return gameTime;
}

EMSCRIPTEN_KEEPALIVE int skarvold_mix_peak()
{
    const int peak = mixPeak;
    mixPeak = 0;
    return peak;
}

EMSCRIPTEN_KEEPALIVE int skarvold_timed_passes()
{
    return static_cast<int>(std::min(passCount, timedPasses));
}

EMSCRIPTEN_KEEPALIVE float skarvold_pass_work(int index)
{
    return passWork[static_cast<size_t>(index) % timedPasses];
}

EMSCRIPTEN_KEEPALIVE float skarvold_pass_interval(int index)
{
    return passInterval[static_cast<size_t>(index) % timedPasses];
}

// Forgets the passes timed so far, so that a measurement covers only what follows.
EMSCRIPTEN_KEEPALIVE void skarvold_forget_passes()
{
    passCount = 0;
}
}

void StartWebMainLoop(const std::function<GameBase*()>& createGame)
{
    makeGame = createGame;
    skarvold_start();
}

#endif
