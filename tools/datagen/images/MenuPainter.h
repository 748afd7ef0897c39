#pragma once

#include "datagen/images/Canvas.h"

// The menu's backdrop: a nebula, a ringed planet and the player's ship on the left and right,
// and a darker middle where the title, the choices and the credits stand.
Canvas PaintMenuBackground();
