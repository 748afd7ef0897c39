#pragma once

#include <cstdint>

// How much memory the process holds, as the autoplayer watches it from game to game.
class MemoryProbe {
public:
    // Bytes handed out by the allocator and not yet freed (the sanitizer's count in a
    // sanitizer build). Measured between two games it shows whether anything is left behind.
    static uint64_t HeapInUse();
    // The most resident memory the process has held so far, in KiB.
    static uint64_t PeakResidentKiB();
};
