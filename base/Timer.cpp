#include "base/Timer.h"

#include "base/Clock.h"
#include "base/DeadList.h"

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
    VisitLiveRemovingDead(timers, [](Timer* timer) {
        if (!timer->active || timer->fireTime > gameTime)
            return;
        if (timer->repeat)
            timer->fireTime = gameTime + timer->interval;
        else
            timer->active = false;
        // A copy, so that the callback may replace its own timer's callback by starting it
        // again while it runs.
        const std::function<void()> call = timer->callback;
        call();
    });
}

void DestroyAllTimers()
{
    for (Timer* timer : timers)
        delete timer;
    timers.clear();
}
