#include "render/FrameDecoder.h"

#include "base/HostSystem.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <system_error>

namespace {
// Lower than the game's other threads (0), within what any user may set.
constexpr int workerNiceness = 10;
// The largest frame side the game decodes, in pixels. A frame is at most as wide as the
// window; a larger one is damaged data, and decoding it would cost its full size in memory
// twice over (the surface, then the software renderer's copy): 400 MB each for a PNG of
// 10000 x 10000 that packs into a few hundred kilobytes. Beyond this size an accelerated
// renderer may refuse the texture anyway.
constexpr uint32_t maxFrameSide = 4096;

uint32_t BigEndian32(const unsigned char* bytes)
{
    return (uint32_t { bytes[0] } << 24) | (uint32_t { bytes[1] } << 16)
        | (uint32_t { bytes[2] } << 8) | uint32_t { bytes[3] };
}

} // namespace

SDL_Surface* FrameDecoder::ReadPng(const std::string& file, uint32_t maxSide)
{
    SDL_RWops* source = SDL_RWFromFile(file.c_str(), "rb");
    if (source == nullptr)
        return nullptr;
    // The signature, then the first chunk, which must be the header with the size.
    static constexpr unsigned char signature[] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n' };
    unsigned char head[24] = {};
    SDL_Surface* surface = nullptr;
    if (SDL_RWread(source, head, sizeof head, 1) == 1
        && std::equal(std::begin(signature), std::end(signature), head)
        && std::equal(head + 12, head + 16, "IHDR") && BigEndian32(head + 16) <= maxSide
        && BigEndian32(head + 20) <= maxSide && SDL_RWseek(source, 0, RW_SEEK_SET) == 0)
        surface = IMG_LoadPNG_RW(source);
    SDL_RWclose(source);
    return surface;
}

namespace {

// An opaque PNG decodes to three bytes a pixel, a layout no renderer takes as it is, so making
// its texture would convert it first, on the main thread. Converted here to four bytes a pixel
// without alpha (the layout a renderer picks for it), the texture is made by a plain copy and
// shows the same pixels.
SDL_Surface* InTextureLayout(SDL_Surface* surface)
{
    const Uint32 format = surface->format->format;
    if (format != SDL_PIXELFORMAT_RGB24 && format != SDL_PIXELFORMAT_BGR24)
        return surface;
    if (SDL_HasColorKey(surface))
        return surface;
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_RGB888, 0);
    if (converted == nullptr)
        return surface;
    SDL_FreeSurface(surface);
    return converted;
}

// The frames of `path` until the first that cannot be read, or until `stop` is set.
std::vector<SDL_Surface*> ReadFramesUntil(const std::string& path, const std::atomic<bool>* stop)
{
    std::vector<SDL_Surface*> frames;
    while (stop == nullptr || !stop->load()) {
        char name[32];
        std::snprintf(name, sizeof name, "/%04zu.png", frames.size());
        SDL_Surface* surface = FrameDecoder::ReadPng(path + name, maxFrameSide);
        if (surface == nullptr)
            break;
        frames.push_back(InTextureLayout(surface));
    }
    return frames;
}
} // namespace

std::vector<SDL_Surface*> FrameDecoder::ReadFrames(const std::string& path)
{
    return ReadFramesUntil(path, nullptr);
}

unsigned FrameDecoder::DefaultWorkers()
{
    // Decoding is bound by the processor; more threads than cores only take turns.
    const unsigned cores = std::thread::hardware_concurrency();
    return std::clamp(cores > 1 ? cores - 1 : 1u, 1u, 4u);
}

FrameDecoder::FrameDecoder(const std::vector<std::string>& paths, unsigned workerCount)
{
    std::vector<std::string> unique;
    for (const std::string& path : paths) {
        if (indexOf.emplace(path, unique.size()).second)
            unique.push_back(path);
    }
    entries = std::vector<Entry>(unique.size());
    untaken = entries.size();
    for (size_t i = 0; i < unique.size(); ++i)
        entries[i].path = unique[i];

    // Sets up SDL_image's PNG support once, here: its first load would otherwise do it on
    // whichever threads come first, at the same time.
    IMG_Init(IMG_INIT_PNG);
    const size_t count = std::min<size_t>(std::max(workerCount, 1u), entries.size());
    for (size_t i = 0; i < count; ++i) {
        // A system out of threads gets fewer workers, or none: Take then reads on the caller's
        // thread whatever no worker has begun.
        try {
            workers.emplace_back([this] {
                Work();
                // SDL keeps an error buffer for each thread that sets an error, and frees it
                // by itself only on threads it started.
                SDL_TLSCleanup();
            });
        } catch (const std::system_error&) {
            break;
        }
    }
}

FrameDecoder::~FrameDecoder()
{
    stopping = true;
    for (std::thread& worker : workers)
        worker.join();
    for (Entry& entry : entries) {
        for (SDL_Surface* surface : entry.frames)
            SDL_FreeSurface(surface);
    }
}

bool FrameDecoder::Holds(const std::string& path) const
{
    const auto found = indexOf.find(path);
    if (found == indexOf.end())
        return false;
    const std::lock_guard lock(mutex);
    return !entries[found->second].taken;
}

size_t FrameDecoder::Waiting() const
{
    const std::lock_guard lock(mutex);
    return untaken;
}

std::vector<SDL_Surface*> FrameDecoder::Take(const std::string& path)
{
    const auto found = indexOf.find(path);
    if (found == indexOf.end())
        return {};
    const size_t index = found->second;
    Entry& entry = entries[index];
    // Nobody has begun on it: reading it here beats waiting for a worker to come to it.
    if (!entry.claimed.exchange(true))
        Read(index);

    std::unique_lock lock(mutex);
    readSignal.wait(lock, [&entry] { return entry.read; });
    if (entry.taken)
        return {};
    entry.taken = true;
    --untaken;
    std::vector<SDL_Surface*> frames;
    frames.swap(entry.frames);
    return frames;
}

size_t FrameDecoder::ClaimNext()
{
    for (size_t index = nextHint.load(); index < entries.size(); ++index) {
        if (!entries[index].claimed.exchange(true)) {
            nextHint = index + 1;
            return index;
        }
    }
    return entries.size();
}

void FrameDecoder::Read(size_t index)
{
    std::vector<SDL_Surface*> frames = ReadFramesUntil(entries[index].path, &stopping);
    {
        const std::lock_guard lock(mutex);
        entries[index].frames = std::move(frames);
        entries[index].read = true;
    }
    readSignal.notify_all();
}

void FrameDecoder::Work()
{
    // Reading ahead only fills the gaps: the thread that starts the display and the renderer,
    // and the display server itself, are what the player waits for.
    HostSystem::LowerThisThreadPriority(workerNiceness);
    while (!stopping) {
        const size_t index = ClaimNext();
        if (index == entries.size())
            return;
        Read(index);
    }
}
