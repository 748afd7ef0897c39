#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

struct SDL_Surface;

// Reads the numbered PNG frames of image paths into surfaces, on worker threads, so that the
// files are read and decoded while the main thread starts the window and the renderer. The
// renderer takes each path's surfaces when the path is first asked for and makes the textures
// there, on the main thread; the frames are exactly those a direct read would give.
class FrameDecoder {
public:
    // Reads P/0000.png, P/0001.png, ... of `path` until the first number that is missing or
    // cannot be decoded, frame 0 first. The caller owns the surfaces.
    static std::vector<SDL_Surface*> ReadFrames(const std::string& path);

    // Decodes one PNG file, or answers null when it is not a PNG at most `maxSide` pixels on
    // either side. The size is read from the header before anything is decoded, and only the
    // PNG decoder is used: any other format SDL_image recognises would be decoded too, whatever
    // the file's name, and a header of a few bytes in some of them asks for gigabytes. The
    // caller owns the surface.
    static SDL_Surface* ReadPng(const std::string& file, uint32_t maxSide);

    // Worker threads worth starting on this machine: one core is left to the main thread.
    static unsigned DefaultWorkers();

    // Starts reading the frames of `paths`, in the order given (a path given twice is read
    // once), on `workers` threads (at least one).
    explicit FrameDecoder(
        const std::vector<std::string>& paths, unsigned workers = DefaultWorkers());
    // Stops the workers after the frame each is reading and frees every surface not taken.
    ~FrameDecoder();
    FrameDecoder(const FrameDecoder&) = delete;
    FrameDecoder& operator=(const FrameDecoder&) = delete;

    // Whether `path` was given and its frames have not been taken yet.
    bool Holds(const std::string& path) const;

    // How many of the paths given have not been taken yet.
    size_t Waiting() const;

    // The frames of a path given and not yet taken, as ReadFrames answers them; the caller
    // owns them. Waits for a worker that is reading them, or reads them on the calling thread
    // when no worker has begun. Empty for any other path.
    std::vector<SDL_Surface*> Take(const std::string& path);

private:
    struct Entry {
        std::string path {};
        std::atomic<bool> claimed = false; // a thread has begun reading it
        bool read = false;                 // frames hold the result; guarded by the mutex
        bool taken = false;                // handed over; guarded by the mutex
        std::vector<SDL_Surface*> frames {};
    };

    // Claims the next unclaimed entry from `nextHint` on; answers entries.size() when none is left.
    size_t ClaimNext();
    // Reads the claimed entry `index` and publishes its frames.
    void Read(size_t index);
    void Work();

    std::vector<Entry> entries {};
    std::unordered_map<std::string, size_t> indexOf {};
    std::atomic<size_t> nextHint = 0;
    size_t untaken = 0; // guarded by the mutex
    std::atomic<bool> stopping = false;
    mutable std::mutex mutex {};
    std::condition_variable readSignal {};
    std::vector<std::thread> workers {};
};
