#pragma once

// A sound engine for tests: it plays nothing and records every call with the gameTime at
// which it came, so a test can ask which sounds played and when, and whether the music that
// was started was also stopped.

#include "base/Clock.h"
#include "sound/ISoundEngine.h"
#include "sound/MusicHandle.h"

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

class RecordingSoundEngine : public ISoundEngine {
public:
    enum class Kind { MasterVolume, Effect, PlayMusic, MusicPaused, MusicVolume, StopMusic };

    struct Call {
        Kind kind;
        // The effect's or music's path; for calls on a handle, the path the handle was started
        // with (empty for a null or unknown handle).
        std::string path;
        // The volume, or 1 for paused and 0 for resumed.
        float value;
        uint32_t time;
        MusicHandle* music;
    };

    // Every call in the order it was made.
    std::vector<Call> calls;
    float masterVolume = 1.0f;
    // Calls on a handle that was already stopped or never handed out; right code makes none.
    int staleCalls = 0;

    // Makes PlayMusic answer null for `path`, as a real engine does for a file it cannot read.
    void FailMusic(const std::string& path) { failingMusic_.insert(path); }

    void SetMasterVolume(float volume) override
    {
        masterVolume = volume;
        Record(Kind::MasterVolume, "", volume, nullptr);
    }

    void PlayEffect(const std::string& path) override { Record(Kind::Effect, path, 1.0f, nullptr); }

    MusicHandle* PlayMusic(const std::string& path) override
    {
        MusicHandle* handle = nullptr;
        if (!failingMusic_.contains(path)) {
            // Handles are never freed or reused while the engine lives, so a stale handle is
            // still recognised as stale.
            music_.push_back(std::make_unique<Music>());
            Music& music = *music_.back();
            music.path = path;
            music.handle.channel = static_cast<int>(music_.size()) - 1;
            music.handle.live = true;
            handle = &music.handle;
        }
        Record(Kind::PlayMusic, path, 1.0f, handle);
        return handle;
    }

    void SetMusicPaused(MusicHandle* handle, bool paused) override
    {
        if (Music* music = Live(handle, Kind::MusicPaused, paused ? 1.0f : 0.0f))
            music->handle.paused = paused;
    }

    void SetMusicVolume(MusicHandle* handle, float volume) override
    {
        if (Music* music = Live(handle, Kind::MusicVolume, volume))
            music->handle.volume = volume;
    }

    void StopMusic(MusicHandle* handle) override
    {
        if (Music* music = Live(handle, Kind::StopMusic, 0.0f))
            music->handle.live = false;
    }

    // How many times the effect at `path` was played.
    int Played(const std::string& path) const
    {
        int count = 0;
        for (const Call& call : calls)
            count += call.kind == Kind::Effect && call.path == path;
        return count;
    }

    // The effects played at gameTime `time`, in order.
    std::vector<std::string> EffectsAt(uint32_t time) const
    {
        std::vector<std::string> paths;
        for (const Call& call : calls) {
            if (call.kind == Kind::Effect && call.time == time)
                paths.push_back(call.path);
        }
        return paths;
    }

    // The gameTimes at which the effect at `path` was played, in order.
    std::vector<uint32_t> TimesPlayed(const std::string& path) const
    {
        std::vector<uint32_t> times;
        for (const Call& call : calls) {
            if (call.kind == Kind::Effect && call.path == path)
                times.push_back(call.time);
        }
        return times;
    }

    // Handles started and not yet stopped, oldest first.
    std::vector<MusicHandle*> LiveMusic() const
    {
        std::vector<MusicHandle*> live;
        for (const auto& music : music_) {
            if (music->handle.live)
                live.push_back(&music->handle);
        }
        return live;
    }

    // The path `handle` was started with, or empty for a handle this engine never gave out.
    std::string PathOf(const MusicHandle* handle) const
    {
        const Music* music = Find(handle);
        return music ? music->path : std::string();
    }

    int Count(Kind kind) const
    {
        int count = 0;
        for (const Call& call : calls)
            count += call.kind == kind;
        return count;
    }

private:
    struct Music {
        MusicHandle handle;
        std::string path;
    };

    void Record(Kind kind, const std::string& path, float value, MusicHandle* handle)
    {
        calls.push_back(Call { kind, path, value, gameTime, handle });
    }

    Music* Find(const MusicHandle* handle) const
    {
        for (const auto& music : music_) {
            if (&music->handle == handle)
                return music.get();
        }
        return nullptr;
    }

    // Records a call on a handle and answers its music when the handle is live. Null handles
    // are ignored, as the interface allows; other bad handles count as stale.
    Music* Live(MusicHandle* handle, Kind kind, float value)
    {
        Music* music = Find(handle);
        Record(kind, music ? music->path : std::string(), value, handle);
        if (!handle)
            return nullptr;
        if (!music || !music->handle.live) {
            ++staleCalls;
            return nullptr;
        }
        return music;
    }

    std::vector<std::unique_ptr<Music>> music_;
    std::set<std::string> failingMusic_;
};
