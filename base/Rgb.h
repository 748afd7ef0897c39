#pragma once

#include <cstdint>

// A colour; only the low eight bits of each channel are used when drawing.
struct Rgb {
    int32_t red = 0;
    int32_t green = 0;
    int32_t blue = 0;
};
