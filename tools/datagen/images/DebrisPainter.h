#pragma once

#include "datagen/images/Canvas.h"
#include "datagen/images/Paint.h"

#include <cstdint>

// One torn-off piece of hull. The game spins pieces freely, so they carry no light direction
// of their own beyond a gradient across the plate.
struct DebrisStyle {
    uint32_t seed = 1;
    int frame = 16;       // square frame, pixels
    double radius = 6.0;  // the piece's outer radius, pixels
    double stretch = 1.0; // below 1 squashes the piece into a strip
    Colour light;         // the plate's lit side
    Colour dark;          // its shaded side
    Colour accent;        // a painted stripe or a lamp of the ship
    bool hotEdge = true;  // a glowing, freshly torn edge
};

Canvas PaintDebris(const DebrisStyle& style);
