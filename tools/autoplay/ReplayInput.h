#pragma once

#include "autoplay/InputSource.h"
#include "autoplay/Replay.h"

#include <cstddef>

// Plays a replay's frames back, in order, whatever the game shows.
class ReplayInput : public InputSource {
public:
    explicit ReplayInput(const Replay& source)
        : replay(source)
    {
    }

    bool Next(const Game&, Replay::Frame& frame) override
    {
        if (next >= replay.frames.size())
            return false;
        frame = replay.frames[next++];
        return true;
    }

private:
    const Replay& replay;
    size_t next = 0;
};
