#pragma once

#include "datagen/images/Canvas.h"

// The four kinds of shot: small, bright, and each told apart by colour and shape at a
// glance. The two that always fly straight are long bolts; the two that fly at an angle
// are round, since sprites of shots are never turned.
Canvas PaintPlayerShot(); // cyan bolt, upwards
Canvas PaintMediumShot(); // orange-yellow bolt, downwards
Canvas PaintSmallShot();  // magenta orb
Canvas PaintBigShot();    // red-orange plasma orb with a white-hot core
