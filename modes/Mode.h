#pragma once

class Game;

// A screen of the game. Exactly one exists at a time, owned by the Game.
class Mode {
public:
    explicit Mode(Game* owner)
        : game(owner)
    {
    }
    Mode(const Mode&) = delete;
    Mode& operator=(const Mode&) = delete;

    // Called once per frame before timers, steps and drawing: reads this frame's input and
    // drives the screen. Answers false to end the program. A mode that switches modes from
    // here has been destroyed by the switch and must return at once touching no member.
    virtual bool Update() = 0;

    // Withdraws the mode's draw items and timers and stops its music.
    virtual ~Mode() = default;

    Game* game = nullptr;
};
