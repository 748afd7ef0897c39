#pragma once

#include "modes/Mode.h"

class MusicHandle;
struct Sprite;

// The screen shown until the menu exists: the menu's background and music, with every image
// loaded up front as the menu will; closing the window ends the program.
class StandInMode : public Mode {
public:
    explicit StandInMode(Game* owner);
    ~StandInMode() override;

    bool Update() override;

    Sprite* background = nullptr;
    MusicHandle* music = nullptr;
};
