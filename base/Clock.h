#pragma once

#include <cstdint>

// Milliseconds of unpaused running time. Every time rule of the game reads this clock;
// differences are taken as unsigned 32-bit values, so the wrap costs nothing.
extern uint32_t gameTime;

// The platform counter as read at the previous pass of the main loop.
extern uint32_t lastTickTime;

// While set, gameTime stands still: timers, steps, animations and fades freeze.
extern bool gamePaused;

// One pass of the clock: adds the time since the previous pass to gameTime unless paused.
// Paused time is dropped, never caught up later.
void AdvanceClock(uint32_t now);

// Puts the clock back to its start-up state (all zero, not paused).
void ResetClock();
