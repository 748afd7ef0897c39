#include "base/Tween.h"

#include "base/Clock.h"

#include <algorithm>

void Tween::Start(float fromValue, float toValue, uint32_t durationMs)
{
    from = fromValue;
    to = toValue;
    startTime = gameTime;
    endTime = gameTime + durationMs;
    active = true;
}

float Tween::Value() const
{
    if (!active)
        return from;
    const float elapsed = static_cast<float>(gameTime - startTime);
    const float duration = static_cast<float>(endTime - startTime);
    // A zero duration divides to infinity or NaN; both clamp to the finished state.
    float remaining = 1.0f - elapsed / duration;
    remaining = (remaining > 0.0f) ? std::min(remaining, 1.0f) : 0.0f;
    const float s = 1.0f - remaining;
    return (1.0f - s) * from + s * to;
}
