#include "app/Platform.h"

#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <system_error>
#include <thread>

#if defined(_WIN32)
#include <windows.h>
#include <mmsystem.h>
#include <vector>
// windows.h names a processor hint YieldProcessor; the game's own comes first here.
#undef YieldProcessor
#endif

#if defined(_WIN32)

uint32_t Platform::Milliseconds()
{
    // Wraps after 2^32 ms, as the clock arithmetic expects.
    return timeGetTime();
}

void Platform::YieldProcessor()
{
    Sleep(0);
}

Platform::FineTimer::FineTimer()
{
    timeBeginPeriod(1);
}

Platform::FineTimer::~FineTimer()
{
    timeEndPeriod(1);
}

std::filesystem::path Platform::ProgramFile()
{
    // Wide characters, so that a folder named in any language is found.
    std::vector<wchar_t> name(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0)
            return {};
        if (length < name.size())
            return std::filesystem::path(std::wstring(name.data(), length));
        name.resize(name.size() * 2);
    }
}

#else

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

Platform::FineTimer::FineTimer() = default;

Platform::FineTimer::~FineTimer() = default;

std::filesystem::path Platform::ProgramFile()
{
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program;
}

#endif

void Platform::ShowStartFailure(const std::string& line)
{
    std::fprintf(stderr, "%s\n", line.c_str());
#if defined(_WIN32)
    // SDL's message box needs no video system, so it shows even when that failed to start;
    // it takes UTF-8, as the line is.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Skarvold", line.c_str(), nullptr);
#endif
}
