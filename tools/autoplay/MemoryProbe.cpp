#include "autoplay/MemoryProbe.h"

#include <malloc.h>
#include <sys/resource.h>

#if defined(__SANITIZE_ADDRESS__)
#define SKARVOLD_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SKARVOLD_ASAN 1
#endif
#endif

#ifdef SKARVOLD_ASAN
#include <cstddef>
// The sanitizer runtime's own count; declared here since not every compiler ships its header.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

uint64_t MemoryProbe::HeapInUse()
{
#ifdef SKARVOLD_ASAN
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

uint64_t MemoryProbe::PeakResidentKiB()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<uint64_t>(usage.ru_maxrss);
}
