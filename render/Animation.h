#pragma once

#include <vector>

struct SDL_Texture;

// The frames of one image path, loaded once and shared by every sprite that shows it.
// A path without frames has zero size and no frames; its sprites are never drawn.
struct Animation {
    int width = 0; // of frame 0; every frame is drawn at this size
    int height = 0;
    int halfWidth = 0; // width / 2, rounded toward zero
    int halfHeight = 0;
    std::vector<SDL_Texture*> frames; // owned by the SDL renderer, released with it
};
