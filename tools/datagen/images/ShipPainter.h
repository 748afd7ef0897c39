#pragma once

#include "datagen/images/Canvas.h"

#include <vector>

// The four ships. Each Draw function paints its ship around the origin of the canvas's
// current transform, in pixels of the sprite at full size, so the menu art can reuse them
// larger; `glowScale` widens the glows to match. The player points up, enemies point down.
void DrawPlayerShip(Canvas& canvas, double flameLength, double flicker, double glowScale);
void DrawSmallEnemy(Canvas& canvas, double phase, double glowScale);
void DrawMediumEnemy(Canvas& canvas, double muzzleFlash, double glowScale);
void DrawBigEnemy(Canvas& canvas, double glowScale);

// The sprites themselves.
std::vector<Canvas> PaintPlayer();      // loops: the engine flames flicker
std::vector<Canvas> PaintSmallEnemy();  // loops: spinning blades, pulsing core
std::vector<Canvas> PaintMediumEnemy(); // idle, muzzle flash, idle again
Canvas PaintBigEnemy();                 // still
