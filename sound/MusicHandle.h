#pragma once

// One piece of music started by an engine's PlayMusic. Callers treat it as opaque and only
// pass its address back; the fields are the engine's own bookkeeping.
class MusicHandle {
public:
    // The engine's slot for this music (for the mixer engine, its reserved mixer channel).
    int channel = -1;
    // The music's own volume, 0 to 1, before the master volume is applied.
    float volume = 1.0f;
    bool paused = true;
    // Cleared by StopMusic; calls on a stopped handle are ignored.
    bool live = false;
};
