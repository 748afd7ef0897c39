#pragma once

#include <string>

// A looping piece of music started by PlayMusic; owned by the engine until StopMusic.
class MusicHandle;

// What the game asks of its sound back end. All calls come from the game thread.
class ISoundEngine {
public:
    virtual ~ISoundEngine() = default;

    // Sets the volume every sound is mixed at, 0 to 1.
    virtual void SetMasterVolume(float volume) = 0;

    // Plays the WAV file at `path` once, at once, on a free channel. A missing file is silence.
    virtual void PlayEffect(const std::string& path) = 0;

    // Starts the WAV file at `path` looping and paused, and answers its handle (null when it
    // cannot be played). The caller unpauses it and sets its volume.
    virtual MusicHandle* PlayMusic(const std::string& path) = 0;

    // Pauses or resumes the music. A null handle is ignored by all music operations.
    virtual void SetMusicPaused(MusicHandle* music, bool paused) = 0;

    // Sets the music's own volume, 0 to 1, applied under the master volume.
    virtual void SetMusicVolume(MusicHandle* music, float volume) = 0;

    // Stops the music and releases the handle, which must not be used afterwards.
    virtual void StopMusic(MusicHandle* music) = 0;
};
