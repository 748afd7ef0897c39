#pragma once

#include <functional>

class GameBase;

// The main loop of the browser build (emscripten): the browser calls one pass of MainLoop for
// each of its animation frames, where the desktop passes as fast as presentation allows.
// Everything inside a pass (the clock, the fixed steps, the interpolation, the timers) is the
// desktop's. The page (web/index.html) hears through Module.onGameState when the first picture
// is shown and when the game has ended, and starts it again with Module._skarvold_start().
//
// Starts the game and returns at once; the browser runs the loop from then on.
void StartWebMainLoop(const std::function<GameBase*()>& createGame);
