#include "base/HostSystem.h"

#include <cstdio>

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace HostSystem {

#if defined(_WIN32)

void LowerThisThreadPriority(int)
{
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
}

QuietStderr::QuietStderr() = default;

QuietStderr::~QuietStderr() = default;

#else

void LowerThisThreadPriority(int niceness)
{
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), niceness);
}

QuietStderr::QuietStderr()
{
    std::fflush(stderr);
    saved = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved >= 0 && null >= 0)
        dup2(null, STDERR_FILENO);
    if (null >= 0)
        close(null);
}

QuietStderr::~QuietStderr()
{
    std::fflush(stderr);
    if (saved < 0)
        return;
    dup2(saved, STDERR_FILENO);
    close(saved);
}

#endif

} // namespace HostSystem
