#pragma once

#include "sound/ISoundEngine.h"
#include "sound/MusicHandle.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

struct Mix_Chunk;

// The game's sound engine on SDL2_mixer. Every WAV file, effect or music, is decoded once into
// a chunk and kept until the engine is destroyed. Effects play on a pool of free channels that
// grows whenever every channel is busy, so no effect is ever dropped or cut; each piece of
// music loops on a channel of its own, kept out of the effects' pool, so it loops
// sample-exactly and can be paused and turned up or down on its own.
//
// Every PlayMusic answers a handle never answered before: a stopped handle stays the engine's
// (as a dead one) until the engine goes, so a caller that keeps it can never reach music
// started later.
//
// Without an audio device the engine is silent: every call does nothing and PlayMusic answers
// null. One engine at a time: it owns the process's mixer while it lives.
class MixerSoundEngine : public ISoundEngine {
public:
    // Channels kept for music, so this many pieces can play at once.
    static constexpr int kMusicChannels = 4;
    // Channels for effects to start with; the pool grows by as many again whenever an effect
    // finds every channel busy.
    static constexpr int kEffectChannels = 32;
    // The most channels effects may take: a flood of effects in one moment (ten thousand key
    // presses in one frame) would otherwise grow the pool, and the mixer's work, without end.
    // Beyond it an effect that finds every channel busy is dropped.
    static constexpr int kMostEffectChannels = 256;

    MixerSoundEngine();
    ~MixerSoundEngine() override;

    MixerSoundEngine(const MixerSoundEngine&) = delete;
    MixerSoundEngine& operator=(const MixerSoundEngine&) = delete;

    // False when no audio device could be opened and the engine is silent.
    bool HasAudio() const { return audioOpen_; }

    // Decodes the files of `paths`, in the order given, on a worker thread, so that their first
    // play finds them ready instead of reading them then. A file asked for before the worker
    // reaches it is decoded at once, as always; either way it is decoded once. Call it at most
    // once; it does nothing without audio.
    void DecodeAhead(const std::vector<std::string>& paths);

    void SetMasterVolume(float volume) override;
    void PlayEffect(const std::string& path) override;
    MusicHandle* PlayMusic(const std::string& path) override;
    void SetMusicPaused(MusicHandle* music, bool paused) override;
    void SetMusicVolume(MusicHandle* music, float volume) override;
    void StopMusic(MusicHandle* music) override;

private:
    struct ChunkDeleter {
        void operator()(Mix_Chunk* chunk) const;
    };
    using ChunkPtr = std::unique_ptr<Mix_Chunk, ChunkDeleter>;

    // The decoded file at `path`, or null when it cannot be read; either answer is cached.
    Mix_Chunk* Chunk(const std::string& path);
    // Sets the music's channel to its own volume under the master volume.
    void ApplyMusicVolume(MusicHandle& music);
    // True for a handle of this engine that is still playing.
    bool IsLive(const MusicHandle* music) const;
    // A music channel that no live music holds, or -1.
    int FreeMusicChannel() const;
    // Adds kEffectChannels channels to the effects' pool, at the master volume.
    void GrowEffectChannels();

    // The decoded file at `path` when it is not in the cache yet; the caller holds decodeMutex_.
    ChunkPtr Decode(const std::string& path) const;

    bool audioOpen_ = false;
    bool audioStarted_ = false; // SDL's audio subsystem, which may run without a device
    float masterVolume_ = 1.0f;
    int effectChannels_ = 0;
    // Guards chunks_ and is held through every decoding, so that files are decoded one at a
    // time whichever thread asks.
    std::mutex decodeMutex_;
    std::unordered_map<std::string, ChunkPtr> chunks_;
    std::thread decoder_;
    std::atomic<bool> stopDecoding_ = false;
    // Every handle this engine answered, live or stopped, oldest first.
    std::vector<std::unique_ptr<MusicHandle>> music_;
};
