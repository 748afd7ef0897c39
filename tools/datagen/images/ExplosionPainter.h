#pragma once

#include "datagen/images/Canvas.h"
#include "datagen/images/Paint.h"

#include <cstdint>
#include <vector>

// One explosion's character. The game plays it once, 33.3 ms a frame, at a random rotation,
// so it is drawn without a light direction.
struct ExplosionStyle {
    uint32_t seed = 1;
    int size = 128; // square frame, pixels
    int frames = 20;
    int fireBlobs = 20;
    int smokeBlobs = 12;
    int sparks = 24;
    int blasts = 1; // the first at the centre, the others later and off-centre
    Colour sparkColour;
};

// Flash, shock ring, a fireball cooling from white-yellow to dark red, smoke, sparks; the
// last frame is faint, since the sprite disappears right after it.
std::vector<Canvas> PaintExplosion(const ExplosionStyle& style);
