#pragma once

#include "autoplay/Replay.h"

class Game;

// Where a run's input comes from, frame by frame: the autoplayer's own choices, a replay file,
// or a test's script.
class InputSource {
public:
    virtual ~InputSource() = default;

    // Fills `frame` with the next frame's length and the events to push before it, having
    // looked at `game` as the previous frame left it. False when there is no frame left.
    virtual bool Next(const Game& game, Replay::Frame& frame) = 0;
};
