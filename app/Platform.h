#pragma once

#include <cstdint>

// The few operating-system services the main loop needs.
class Platform {
public:
    // A monotonic millisecond counter that wraps around after 2^32 ms.
    static uint32_t Milliseconds();

    // Gives the rest of the time slice to other ready threads, without a minimum sleep.
    static void YieldProcessor();
};
