#include "app/Timer.h"

#include "app/Clock.h"

#include <utility>

std::vector<Timer*> timers;

void Timer::Start(std::function<void()> newCallback, uint32_t intervalMs, bool repeatFiring)
{
    if (active)
        return;
    callback = std::move(newCallback);
    interval = intervalMs;
    fireTime = gameTime + intervalMs;
    repeat = repeatFiring;
    active = true;
}

Timer* CreateTimer()
{
    Timer* timer = new Timer();
    timers.push_back(timer);
    return timer;
}

void TickTimers()
{
    // The count is read afresh at every index: callbacks may append timers.
    for (size_t index = 0; index < timers.size();) {
        Timer* timer = timers[index];
        if (timer->dead) {
            timers[index] = timers.back();
            timers.pop_back();
            delete timer;
            continue;
        }
        if (timer->active && timer->fireTime <= gameTime) {
            if (timer->repeat)
                timer->fireTime = gameTime + timer->interval;
            else
                timer->active = false;
            // A copy, so that the callback may replace its own timer's callback by
            // starting it again while it runs.
            const std::function<void()> call = timer->callback;
            call();
        }
        ++index;
    }
}

void DestroyAllTimers()
{
    for (Timer* timer : timers)
        delete timer;
    timers.clear();
}
