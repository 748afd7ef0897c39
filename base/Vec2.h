#pragma once

// A point or a direction in window pixels; y grows downwards.
struct Vec2 {
    float x = 0.0f;
    float y = 0.0f;
};
