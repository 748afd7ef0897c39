#pragma once

#include "datagen/images/Canvas.h"
#include "datagen/images/Paint.h"

#include <cstdint>

// The look of one nebula: its colours, how bright it gets and where its band lies.
struct NebulaStyle {
    uint32_t seed = 1;
    Colour spaceTop;
    Colour spaceBottom;
    Colour cloudA;    // the main, larger clouds
    Colour cloudB;    // the second family of clouds, woven through the first
    Colour highlight; // hot cores of the densest clouds
    double strength = 1.0;
    double scale = 160.0; // pixels per noise cell of the largest features
    Point bandFrom;       // the band of clouds runs along this line...
    Point bandTo;
    double bandWidth = 250; // ...and fades out this far from it
};

// Fills the whole canvas with sky and clouds (opaque).
void PaintNebula(Canvas& canvas, const NebulaStyle& style);

// Scatters stars over the canvas: many faint ones, fewer bright ones with a glow and a few
// with a cross-shaped flare. `brightness` scales them all.
void PaintStars(Canvas& canvas, uint32_t seed, int count, double brightness);

// A far-off spiral galaxy, a faint smudge of light: `radius` in pixels, seen at a slant of
// `flatten` (1 face-on) and turned by `angle` radians.
void PaintGalaxy(
    Canvas& canvas, Point centre, double radius, double flatten, double angle, uint32_t seed);

// The play field: calm, dark enough that every ship and shot reads on it.
Canvas PaintGameBackground();

// Lies over the play field at game over: a translucent, dark red vignette.
Canvas PaintGameOverBackground();

// Opaque black; the game sets its opacity.
Canvas PaintBlackOverlay();
