#pragma once

// Sends what the mixer plays to a file of this test's own instead of a sound card: SDL's disk
// audio driver writes the mixed stream there, buffer by buffer, so that a test can read what
// would have reached the speakers. Make the capture before the sound engine: the driver is
// chosen, and the file opened, when the engine opens the audio device.
//
// Positions in the stream are sample frames from its start. The driver writes a buffer right
// after the mixer fills it, so the file's size when a test calls the engine tells where that
// call begins to be heard: within a buffer or two after that position.

#include "support/ScopedEnvironment.h"
#include "support/TestImages.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

class DiskAudioCapture {
public:
    // The format the sound engine asks for, which the disk driver takes as it is.
    static constexpr int rate = 44100;
    static constexpr int channels = 2;
    static constexpr int frameBytes = 4; // 16-bit samples, little-endian

    // `delayMs` is the driver's sleep between buffers; negative keeps a real device's pace
    // (about 23 ms per buffer of 1024 frames). A shorter sleep makes the stream run ahead of
    // the clock, for tests that do not need it to keep time.
    explicit DiskAudioCapture(int delayMs = -1)
        : path_(dir_ / "stream.raw")
    {
        environment_.Set("SDL_AUDIODRIVER", "disk");
        environment_.Set("SDL_DISKAUDIOFILE", path_.c_str());
        if (delayMs >= 0)
            environment_.Set("SDL_DISKAUDIODELAY", std::to_string(delayMs).c_str());
        else
            environment_.Set("SDL_DISKAUDIODELAY", nullptr);
    }

    DiskAudioCapture(const DiskAudioCapture&) = delete;
    DiskAudioCapture& operator=(const DiskAudioCapture&) = delete;

    // Whether the open device writes the format this capture reads. Call it while the engine
    // is alive.
    static testing::AssertionResult DeviceFormatIsReadable()
    {
        int frequency = 0;
        Uint16 format = 0;
        int deviceChannels = 0;
        if (Mix_QuerySpec(&frequency, &format, &deviceChannels) == 0)
            return testing::AssertionFailure() << "no audio device is open: " << Mix_GetError();
        if (frequency != rate || format != AUDIO_S16LSB || deviceChannels != channels)
            return testing::AssertionFailure() << "the device plays " << frequency << " Hz, format "
                                               << format << ", " << deviceChannels << " channels";
        return testing::AssertionSuccess();
    }

    // Frames written so far: 0 before a device opened the file.
    int64_t Frames() const
    {
        std::error_code error;
        const auto size = std::filesystem::file_size(path_, error);
        return error ? 0 : static_cast<int64_t>(size / frameBytes);
    }

    // Waits until the stream holds at least `frames` frames. False when it stops growing for
    // five seconds short of them: no device writes it, or its thread has stalled.
    bool WaitForFrames(int64_t frames) const
    {
        using Clock = std::chrono::steady_clock;
        int64_t seen = Frames();
        auto lastGrowth = Clock::now();
        while (seen < frames) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            const int64_t now = Frames();
            if (now > seen) {
                seen = now;
                lastGrowth = Clock::now();
            } else if (Clock::now() - lastGrowth > std::chrono::seconds(5)) {
                return false;
            }
        }
        return true;
    }

    // The whole stream, samples interleaved; empty when nothing was written.
    std::vector<int16_t> Read() const
    {
        std::ifstream in(path_, std::ios::binary);
        const std::vector<char> bytes(
            (std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<int16_t> samples(bytes.size() / 2);
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<int16_t>(static_cast<unsigned char>(bytes[2 * i])
                | (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
        return samples;
    }

    // Where the driver writes; the folder holding it takes the test's other files too.
    const TempDir& Folder() const { return dir_; }

private:
    TempDir dir_;
    std::string path_;
    ScopedEnvironment environment_;
};
