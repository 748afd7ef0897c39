#pragma once

#include "modes/Mode.h"

// The screen shown until the menu exists: an empty window that ends the program when it
// is closed.
class StandInMode : public Mode {
public:
    explicit StandInMode(Game* owner);

    bool Update() override;
};
