#pragma once

#include <cstdint>

// One running screen shake: fades linearly from `magnitude` pixels to nothing over `duration`.
struct ShakeEntry {
    uint32_t start = 0; // gameTime when it began
    float magnitude = 0.0f;
    uint32_t duration = 0; // ms
};
