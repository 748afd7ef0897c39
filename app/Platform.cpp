#include "app/Platform.h"

#include <chrono>
#include <thread>

uint32_t Platform::Milliseconds()
{
    using namespace std::chrono;
    const auto sinceEpoch = duration_cast<milliseconds>(steady_clock::now().time_since_epoch());
    // Truncation to 32 bits is the wrap-around the clock arithmetic expects.
    return static_cast<uint32_t>(sinceEpoch.count());
}

void Platform::YieldProcessor()
{
    std::this_thread::yield();
}
