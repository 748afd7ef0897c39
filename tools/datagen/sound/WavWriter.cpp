#include "datagen/sound/WavWriter.h"

#include "datagen/sound/SoundCommon.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>
#include <string>

namespace sound {

namespace {

    // RIFF is little-endian whatever the host is, so every field is written byte by byte.
    void Put16(std::vector<char>& out, uint32_t value)
    {
        out.push_back(static_cast<char>(value & 0xffu));
        out.push_back(static_cast<char>((value >> 8) & 0xffu));
    }

    void Put32(std::vector<char>& out, uint32_t value)
    {
        Put16(out, value & 0xffffu);
        Put16(out, value >> 16);
    }

    void PutTag(std::vector<char>& out, const char* tag)
    {
        out.insert(out.end(), tag, tag + 4);
    }

} // namespace

std::vector<int16_t> ToPcm16(const std::vector<double>& samples)
{
    std::vector<int16_t> pcm(samples.size());
    for (size_t i = 0; i < samples.size(); ++i) {
        const double scaled = std::clamp(samples[i], -1.0, 1.0) * 32767.0;
        pcm[i] = static_cast<int16_t>(std::lround(scaled));
    }
    return pcm;
}

void WriteWav(const std::filesystem::path& path, const std::vector<double>& samples, int channels)
{
    const std::vector<int16_t> pcm = ToPcm16(samples);
    const uint32_t dataBytes = static_cast<uint32_t>(pcm.size() * 2);
    const uint32_t blockAlign = static_cast<uint32_t>(channels) * 2;

    std::vector<char> bytes;
    bytes.reserve(44 + dataBytes);
    PutTag(bytes, "RIFF");
    Put32(bytes, 36 + dataBytes);
    PutTag(bytes, "WAVE");
    PutTag(bytes, "fmt ");
    Put32(bytes, 16);
    Put16(bytes, 1); // PCM
    Put16(bytes, static_cast<uint32_t>(channels));
    Put32(bytes, static_cast<uint32_t>(sampleRate));
    Put32(bytes, static_cast<uint32_t>(sampleRate) * blockAlign);
    Put16(bytes, blockAlign);
    Put16(bytes, 16);
    PutTag(bytes, "data");
    Put32(bytes, dataBytes);
    for (const int16_t sample : pcm)
        Put16(bytes, static_cast<uint16_t>(sample));

    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file)
        throw std::runtime_error("cannot write " + path.string());
}

} // namespace sound
