#pragma once

#include "datagen/images/Canvas.h"

// The desktop icon: the player's ship climbing out of a disc of deep space. Draws on the whole
// of a square canvas, a page of pixels or a vector page alike; the disc keeps the ship readable
// on light and dark desktops.
void DrawIcon(Canvas& canvas);
