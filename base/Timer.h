#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// A scheduled call of its owner, once or repeatedly, when gameTime reaches `fireTime`.
// Owners create their timers once, keep plain pointers, stop one by clearing `active`
// and end one by setting `dead`; the global list owns and frees the records.
struct Timer {
    // Arms the timer to call `newCallback` in `intervalMs` of gameTime, and then every
    // `intervalMs` if `repeatFiring`. Does nothing while the timer is already active.
    void Start(std::function<void()> newCallback, uint32_t intervalMs, bool repeatFiring);

    std::function<void()> callback;
    uint32_t fireTime = 0;
    bool active = false;
    uint32_t interval = 0;
    bool repeat = false;
    bool dead = false;
};

// Every timer of the program, in no stable order.
extern std::vector<Timer*> timers;

// A new inactive timer, appended to `timers`.
Timer* CreateTimer();

// Fires every due timer and frees dead ones; called once at the start of every frame.
// Callbacks may create, start, stop or kill timers, their own included.
void TickTimers();

// Frees every record still in the list; for the end of the program and for tests.
void DestroyAllTimers();
