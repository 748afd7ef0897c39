#pragma once

#include "datagen/images/Canvas.h"

#include <vector>

// The player's shield bubble: first and last frames show it at rest, the frames between a
// hit flashing across it and dying away.
std::vector<Canvas> PaintPlayerShield();

// The display's shield icon: frame 0 is empty, the last frame the whole icon, and the frames
// between grow it in (the game plays them backwards to take a shield away).
std::vector<Canvas> PaintShieldIcon();

// The collectable shield: a looping, pulsing emblem in a ring.
std::vector<Canvas> PaintShieldPickup();
