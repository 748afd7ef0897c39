#include "sound/MixerSoundEngine.h"

#include "base/HostSystem.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <cstdio>
#include <system_error>
#include <utility>

namespace {

constexpr int kFrequency = 44100;
// 1024 frames is about 23 ms at 44.1 kHz: quick enough for shots, and enough slack that a
// busy two-core machine does not starve the mixer into crackling.
constexpr int kChunkFrames = 1024;

// Silence is worth one line per run, not one per engine.
bool reportedNoAudio = false;

void ReportNoAudio()
{
    if (reportedNoAudio)
        return;
    reportedNoAudio = true;
    std::fprintf(stderr, "Sound is off: no audio device could be opened (%s)\n", SDL_GetError());
}

// How far the audio start came.
enum class AudioStart { failed, subsystemOnly, open };

// Starts SDL's audio and opens the device; short of open, SDL's reason is left in its error.
AudioStart OpenAudio()
{
    // alsa-lib writes several lines for a machine without a sound card; the engine says what
    // matters in its own single line.
    const HostSystem::QuietStderr quiet;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return AudioStart::failed;
    if (Mix_OpenAudio(kFrequency, AUDIO_S16SYS, 2, kChunkFrames) != 0)
        return AudioStart::subsystemOnly;
    return AudioStart::open;
}

// The most a single file may take once decoded: six minutes of the mixer's stereo. A damaged
// or hostile header (a rate of 1 Hz, say) would otherwise have a small file decode to
// gigabytes, and stall the game while it does.
constexpr uint64_t kMostDecodedBytes = 64ull << 20;

uint32_t LittleEndian(const unsigned char* bytes, int count)
{
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

// What the WAV file at `path` would take decoded at the mixer's format, from its header alone;
// 0 when the header cannot be read this far, in which case the decoder judges the file.
uint64_t DecodedBytes(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return 0;
    unsigned char riff[12];
    uint32_t rate = 0;
    uint32_t byteRate = 0;
    uint32_t blockAlign = 0;
    uint64_t result = 0;
    if (std::fread(riff, 1, sizeof riff, file) == sizeof riff && std::memcmp(riff, "RIFF", 4) == 0
        && std::memcmp(riff + 8, "WAVE", 4) == 0) {
        // Walks the chunks up to the data: the format chunk comes before it.
        unsigned char head[8];
        while (std::fread(head, 1, sizeof head, file) == sizeof head) {
            const uint32_t size = LittleEndian(head + 4, 4);
            if (std::memcmp(head, "fmt ", 4) == 0 && size >= 14) {
                unsigned char format[14];
                if (std::fread(format, 1, sizeof format, file) != sizeof format)
                    break;
                rate = LittleEndian(format + 4, 4);
                byteRate = LittleEndian(format + 8, 4);
                blockAlign = LittleEndian(format + 12, 2);
                if (std::fseek(file, static_cast<long>(size + (size & 1u)) - 14, SEEK_CUR) != 0)
                    break;
            } else if (std::memcmp(head, "data", 4) == 0) {
                if (rate == 0 || byteRate == 0 || blockAlign == 0)
                    break;
                // Seconds by both the byte rate and the frame count, whichever is longer: a
                // header may state them at odds.
                const double bySize = static_cast<double>(size) / byteRate;
                const double byFrames = static_cast<double>(size / blockAlign) / rate;
                const double seconds = bySize > byFrames ? bySize : byFrames;
                result = static_cast<uint64_t>(seconds * kFrequency * 4.0) + 1;
                break;
            } else if (std::fseek(file, static_cast<long>(size) + (size & 1u), SEEK_CUR) != 0) {
                break;
            }
        }
    }
    std::fclose(file);
    return result;
}

float Clamp01(float value)
{
    // Written so that NaN comes out as 0.
    if (!(value > 0.0f))
        return 0.0f;
    return value < 1.0f ? value : 1.0f;
}

// Bytes of one sample frame in the device's format: the least a chunk must hold to sound.
Uint32 FrameBytes()
{
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&frequency, &format, &channels) == 0)
        return 1;
    return static_cast<Uint32>(SDL_AUDIO_BITSIZE(format) / 8 * channels);
}

int MixerVolume(float volume)
{
    return static_cast<int>(std::lround(Clamp01(volume) * static_cast<float>(MIX_MAX_VOLUME)));
}

} // namespace

void MixerSoundEngine::ChunkDeleter::operator()(Mix_Chunk* chunk) const
{
    Mix_FreeChunk(chunk);
}

MixerSoundEngine::MixerSoundEngine()
{
    const AudioStart start = OpenAudio();
    // Without a device the subsystem is still let go only with the engine: stopping it waits
    // for SDL's device watcher, a tenth of a second at start-up for nothing.
    audioStarted_ = start != AudioStart::failed;
    if (start != AudioStart::open) {
        ReportNoAudio();
        return;
    }
    audioOpen_ = true;
    // The mixer stamps a pause with SDL's tick count, and a pause stamped 0 reads as no pause:
    // music started in the first millisecond after SDL started would never be held.
    while (SDL_GetTicks() == 0)
        SDL_Delay(1);
    Mix_AllocateChannels(kMusicChannels);
    // Music takes the low channels by number; effects asking for any free channel never get them.
    Mix_ReserveChannels(kMusicChannels);
    GrowEffectChannels();
    SetMasterVolume(1.0f);
}

MixerSoundEngine::~MixerSoundEngine()
{
    // The worker ends after the file it is decoding; the mixer must still be open for that.
    stopDecoding_ = true;
    if (decoder_.joinable())
        decoder_.join();
    if (audioOpen_) {
        Mix_HaltChannel(-1);
        chunks_.clear();
        Mix_CloseAudio();
    }
    if (audioStarted_)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void MixerSoundEngine::SetMasterVolume(float volume)
{
    masterVolume_ = Clamp01(volume);
    if (!audioOpen_)
        return;
    const int effectVolume = MixerVolume(masterVolume_);
    for (int i = kMusicChannels; i < kMusicChannels + effectChannels_; ++i)
        Mix_Volume(i, effectVolume);
    for (const auto& music : music_) {
        if (music->live)
            ApplyMusicVolume(*music);
    }
}

void MixerSoundEngine::PlayEffect(const std::string& path)
{
    if (!audioOpen_)
        return;
    Mix_Chunk* chunk = Chunk(path);
    if (chunk == nullptr)
        return;
    // Every channel busy: the pool grows rather than dropping this effect or cutting another,
    // up to its limit.
    if (Mix_PlayChannel(-1, chunk, 0) < 0 && effectChannels_ < kMostEffectChannels) {
        GrowEffectChannels();
        Mix_PlayChannel(-1, chunk, 0);
    }
}

MusicHandle* MixerSoundEngine::PlayMusic(const std::string& path)
{
    if (!audioOpen_)
        return nullptr;
    Mix_Chunk* chunk = Chunk(path);
    if (!chunk)
        return nullptr;
    const int channel = FreeMusicChannel();
    if (channel < 0)
        return nullptr;
    // Silent until paused, so the audio thread cannot sound the first samples in between.
    Mix_Volume(channel, 0);
    if (Mix_PlayChannel(channel, chunk, -1) < 0)
        return nullptr;
    Mix_Pause(channel);
    // A new handle every time: one that was stopped must never stand for this music.
    auto music = std::make_unique<MusicHandle>();
    music->channel = channel;
    music->live = true;
    music->paused = true;
    music->volume = 1.0f;
    ApplyMusicVolume(*music);
    music_.push_back(std::move(music));
    return music_.back().get();
}

void MixerSoundEngine::SetMusicPaused(MusicHandle* music, bool paused)
{
    if (!IsLive(music))
        return;
    music->paused = paused;
    if (paused)
        Mix_Pause(music->channel);
    else
        Mix_Resume(music->channel);
}

void MixerSoundEngine::SetMusicVolume(MusicHandle* music, float volume)
{
    if (!IsLive(music))
        return;
    music->volume = Clamp01(volume);
    ApplyMusicVolume(*music);
}

void MixerSoundEngine::StopMusic(MusicHandle* music)
{
    if (!IsLive(music))
        return;
    Mix_HaltChannel(music->channel);
    music->live = false;
}

void MixerSoundEngine::DecodeAhead(const std::vector<std::string>& paths)
{
    if (!audioOpen_ || decoder_.joinable())
        return;
    const auto decodeAll = [this, paths] {
        for (const std::string& path : paths) {
            if (stopDecoding_)
                return;
            const std::lock_guard lock(decodeMutex_);
            if (chunks_.find(path) == chunks_.end())
                chunks_.emplace(path, Decode(path));
        }
    };
    // Without a thread to spare, every file is decoded when first played, as it would be anyway.
    try {
        decoder_ = std::thread([decodeAll] {
            decodeAll();
            // SDL frees the error buffer of a thread it did not start only when asked.
            SDL_TLSCleanup();
        });
    } catch (const std::system_error&) {
    }
}

Mix_Chunk* MixerSoundEngine::Chunk(const std::string& path)
{
    const std::lock_guard lock(decodeMutex_);
    auto found = chunks_.find(path);
    if (found != chunks_.end())
        return found->second.get();
    // A file that cannot be read is remembered as null, so it is probed only once.
    return chunks_.emplace(path, Decode(path)).first->second.get();
}

MixerSoundEngine::ChunkPtr MixerSoundEngine::Decode(const std::string& path) const
{
    if (DecodedBytes(path) > kMostDecodedBytes)
        return nullptr;
    ChunkPtr chunk(Mix_LoadWAV(path.c_str()));
    // A WAV with a header but no whole sample decodes to an empty chunk, which the mixer
    // refuses to play; taken for a lack of channels, every try would grow the effects' pool.
    if (chunk != nullptr && chunk->alen < FrameBytes())
        chunk.reset();
    return chunk;
}

void MixerSoundEngine::ApplyMusicVolume(MusicHandle& music)
{
    Mix_Volume(music.channel, MixerVolume(music.volume * masterVolume_));
}

bool MixerSoundEngine::IsLive(const MusicHandle* music) const
{
    if (!music || !audioOpen_)
        return false;
    for (const auto& own : music_) {
        if (own.get() == music)
            return own->live;
    }
    return false;
}

int MixerSoundEngine::FreeMusicChannel() const
{
    for (int channel = 0; channel < kMusicChannels; ++channel) {
        bool taken = false;
        for (const auto& music : music_)
            taken = taken || (music->live && music->channel == channel);
        if (!taken)
            return channel;
    }
    return -1;
}

void MixerSoundEngine::GrowEffectChannels()
{
    const int first = kMusicChannels + effectChannels_;
    effectChannels_ += kEffectChannels;
    Mix_AllocateChannels(kMusicChannels + effectChannels_);
    const int effectVolume = MixerVolume(masterVolume_);
    for (int i = first; i < kMusicChannels + effectChannels_; ++i)
        Mix_Volume(i, effectVolume);
}
