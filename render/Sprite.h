#pragma once

#include "base/Vec2.h"

#include <cstdint>

struct Animation;

// An animated image on one of the renderer's layers. The owner writes the fields and ends
// the sprite by setting `dead`; the renderer frees it at its next frame.
struct Sprite {
    float frameTime = 0.0f; // ms gathered toward the next frame step
    Vec2 position;          // centre of the image, window pixels
    bool dead = false;
    uint32_t frameIndex = 0;
    Animation* animation = nullptr; // shared through the renderer's cache
    bool visible = true;
    bool playing = false;
    bool looping = false;
    int layer = 0;
    bool reverse = false;
    float angle = 0.0f;          // degrees, clockwise about the centre
    float frameDuration = 33.3f; // ms each frame is shown
    int opacity = 255;           // 0 (not drawn) to 255
};
