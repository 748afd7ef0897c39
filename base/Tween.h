#pragma once

#include <cstdint>

// A linear change of one value between two moments of gameTime (opacities, music volume).
// Reading never deactivates it: a finished tween keeps answering `to`.
struct Tween {
    uint32_t startTime = 0;
    uint32_t endTime = 0;
    float from = 0.0f;
    float to = 0.0f;
    bool active = false;

    // Starts now and runs for durationMs of gameTime.
    void Start(float fromValue, float toValue, uint32_t durationMs);

    // `from` while inactive; otherwise the value at the current gameTime.
    float Value() const;
};
