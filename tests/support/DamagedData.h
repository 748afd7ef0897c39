#pragma once

// A copy of the game's data set in a temp folder, made of links to the generated files, in
// which a test replaces files by damaged ones: missing, empty, cut short, random bytes, a
// folder, a PNG of a silly size, a WAV in another format. Damaging a file first removes its
// link, so the generated data set itself is never written.

#include "base/AssetPaths.h"
#include "base/Random.h"

#include "support/FileContents.h"
#include "support/TestImages.h"

#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace damaged {

namespace fs = std::filesystem;

// The generated data set the copies are made from.
inline fs::path SourceData()
{
    return fs::path(SKARVOLD_DATA_DIR);
}

// Every file the game reads, by the relative path the game opens: the frames of every image
// as the generated set has them, the window's icon, the two fonts and every sound.
inline std::vector<std::string> ImageFiles()
{
    std::vector<std::string> files;
    for (const ImageAsset& image : imageAssets) {
        for (int index = 0;; ++index) {
            char name[16];
            std::snprintf(name, sizeof name, "/%04d.png", index);
            const std::string file = std::string(image.path) + name;
            if (!fs::exists(SourceData().parent_path() / file))
                break;
            files.push_back(file);
        }
    }
    return files;
}

inline std::vector<std::string> FontFiles()
{
    return { "Data/Fonts/OpenSans-Bold.ttf", "Data/Fonts/OpenSans-Regular.ttf" };
}

inline std::vector<std::string> SoundFiles()
{
    std::vector<std::string> files;
    for (const SoundAsset& sound : soundAssets)
        files.emplace_back(sound.path);
    return files;
}

inline std::vector<std::string> EveryFile()
{
    std::vector<std::string> files = ImageFiles();
    files.emplace_back(windowIconPath);
    for (const auto& list : { FontFiles(), SoundFiles() })
        files.insert(files.end(), list.begin(), list.end());
    return files;
}

inline std::vector<char> ReadBytes(const fs::path& file)
{
    const std::string contents = FileContents(file);
    return std::vector<char>(contents.begin(), contents.end());
}

inline bool WriteBytes(const fs::path& file, const void* bytes, size_t size)
{
    std::error_code ignored;
    fs::create_directories(file.parent_path(), ignored);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    return static_cast<bool>(out);
}

// A PNG of `width` x `height` transparent black pixels, written without decoding anything:
// its zlib stream is a run of zero bytes coded as repeated matches, so even 10000 x 10000
// (400 MB of pixels) takes 2.5 MB on disk and a moment to write. A decoder that trusts the
// header would spend the full size.
inline bool WriteBlankPng(const fs::path& file, uint32_t width, uint32_t height)
{
    std::array<uint32_t, 256> crcTable {};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
        crcTable[n] = c;
    }
    std::vector<uint8_t> png = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n' };
    const auto put32 = [](std::vector<uint8_t>& out, uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8)
            out.push_back(static_cast<uint8_t>(value >> shift));
    };
    const auto chunk = [&](const char* type, const std::vector<uint8_t>& data) {
        put32(png, static_cast<uint32_t>(data.size()));
        const size_t start = png.size();
        png.insert(png.end(), type, type + 4);
        png.insert(png.end(), data.begin(), data.end());
        uint32_t crc = 0xffffffffu;
        for (size_t i = start; i < png.size(); ++i)
            crc = crcTable[(crc ^ png[i]) & 0xff] ^ (crc >> 8);
        put32(png, crc ^ 0xffffffffu);
    };

    std::vector<uint8_t> header;
    put32(header, width);
    put32(header, height);
    header.insert(header.end(), { 8, 6, 0, 0, 0 }); // 8 bits, RGBA, no interlace

    // Every row is a filter byte and its pixels, all zero.
    const uint64_t total = uint64_t { height } * (1 + uint64_t { width } * 4);
    std::vector<uint8_t> zlib = { 0x78, 0x01 };
    uint64_t bits = 0;
    int bitCount = 0;
    const auto putBits = [&](uint32_t value, int count) {
        bits |= uint64_t { value } << bitCount;
        bitCount += count;
        while (bitCount >= 8) {
            zlib.push_back(static_cast<uint8_t>(bits));
            bits >>= 8;
            bitCount -= 8;
        }
    };
    // Fixed Huffman codes go out most significant bit first.
    const auto putCode = [&](uint32_t code, int length) {
        uint32_t reversed = 0;
        for (int i = 0; i < length; ++i)
            reversed |= ((code >> i) & 1u) << (length - 1 - i);
        putBits(reversed, length);
    };
    putBits(1, 1); // the last block
    putBits(1, 2); // fixed codes
    uint64_t left = total;
    putCode(0x30, 8); // literal 0
    --left;
    for (; left >= 258; left -= 258) {
        putCode(0xc5, 8); // length 258
        putCode(0, 5);    // distance 1
    }
    for (; left > 0; --left)
        putCode(0x30, 8);
    putCode(0, 7); // end of block
    if (bitCount > 0)
        putBits(0, 8 - bitCount);
    // Adler-32 of zeros: the sum stays 1, the sum of sums grows by 1 per byte.
    put32(zlib, static_cast<uint32_t>((total % 65521) << 16 | 1));

    chunk("IHDR", header);
    chunk("IDAT", zlib);
    chunk("IEND", {});
    return WriteBytes(file, png.data(), png.size());
}

// A WAV of a quiet tone in any PCM layout the format allows: 8-bit unsigned, 16-bit signed
// or 32-bit float samples, any rate and channel count; `frames` 0 gives a header without
// samples.
struct WavFormat {
    uint32_t rate = 44100;
    uint16_t channels = 2;
    uint16_t bits = 16; // 8, 16, or 32 for float
    bool floating = false;
};

inline bool WriteWav(const fs::path& file, const WavFormat& format, uint32_t frames)
{
    std::vector<uint8_t> out;
    const auto put = [&out](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    };
    const uint32_t frameBytes = format.channels * format.bits / 8u;
    const uint32_t dataBytes = frames * frameBytes;
    out.insert(out.end(), { 'R', 'I', 'F', 'F' });
    put(36 + dataBytes, 4);
    out.insert(out.end(), { 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ' });
    put(16, 4);
    put(format.floating ? 3 : 1, 2);
    put(format.channels, 2);
    put(format.rate, 4);
    put(format.rate * frameBytes, 4);
    put(frameBytes, 2);
    put(format.bits, 2);
    out.insert(out.end(), { 'd', 'a', 't', 'a' });
    put(dataBytes, 4);
    for (uint32_t i = 0; i < frames; ++i) {
        const float level = (i / 40) % 2 ? 0.2f : -0.2f;
        for (uint16_t channel = 0; channel < format.channels; ++channel) {
            if (format.floating) {
                uint32_t word = 0;
                std::memcpy(&word, &level, sizeof word);
                put(word, 4);
            } else if (format.bits == 8) {
                put(static_cast<uint32_t>(128 + level * 127), 1);
            } else {
                put(static_cast<uint32_t>(static_cast<int32_t>(level * 32767)), 2);
            }
        }
    }
    return WriteBytes(file, out.data(), out.size());
}

// The ways a file is damaged.
enum class Damage { Missing, Empty, Truncated, RandomBytes, Folder };

inline const char* NameOf(Damage damage)
{
    switch (damage) {
    case Damage::Missing:
        return "missing";
    case Damage::Empty:
        return "empty";
    case Damage::Truncated:
        return "truncated";
    case Damage::RandomBytes:
        return "random bytes";
    case Damage::Folder:
        return "a folder";
    }
    return "?";
}

// The data set under <temp>/Data, each file a link to the generated one until damaged.
class DataSetCopy {
public:
    DataSetCopy()
    {
        const fs::path source = SourceData();
        for (const auto& entry : fs::recursive_directory_iterator(source)) {
            const fs::path target = Data() / fs::relative(entry.path(), source);
            if (entry.is_directory())
                fs::create_directories(target);
            else
                fs::create_symlink(entry.path(), target);
        }
    }

    // The folder to run the game in: it holds Data/.
    const std::string& Root() const { return dir.path; }
    fs::path Data() const { return fs::path(dir.path) / "Data"; }
    // `relative` is a path as the game opens it, "Data/...".
    fs::path At(const std::string& relative) const { return fs::path(dir.path) / relative; }

    // The number of frames the generated data set has for the image at `path`.
    static size_t FrameCount(const std::string& path)
    {
        size_t count = 0;
        for (const std::string& file : ImageFiles())
            count += file.starts_with(path + "/") && file.size() == path.size() + 9;
        return count;
    }

    // The generated bytes of a file, whatever was done to the copy.
    static std::vector<char> Original(const std::string& relative)
    {
        return ReadBytes(SourceData().parent_path() / relative);
    }

    void Remove(const std::string& relative) const
    {
        std::error_code ignored;
        fs::remove_all(At(relative), ignored);
    }

    // Damages one file; `seed` picks the random bytes.
    void Apply(Damage damage, const std::string& relative, uint32_t seed = 1) const
    {
        std::vector<char> bytes = Original(relative);
        Remove(relative);
        switch (damage) {
        case Damage::Missing:
            break;
        case Damage::Empty:
            WriteBytes(At(relative), "", 0);
            break;
        case Damage::Truncated:
            WriteBytes(At(relative), bytes.data(), bytes.size() / 2);
            break;
        case Damage::RandomBytes: {
            Random random(seed);
            for (char& byte : bytes)
                byte = static_cast<char>(random.Next() & 0xff);
            WriteBytes(At(relative), bytes.data(), bytes.size());
            break;
        }
        case Damage::Folder:
            fs::create_directories(At(relative) / "inside");
            break;
        }
    }

    void Apply(Damage damage, const std::vector<std::string>& files) const
    {
        uint32_t seed = 1;
        for (const std::string& file : files)
            Apply(damage, file, seed++);
    }

private:
    TempDir dir;
};

// Runs the rest of the scope in another working directory, as the game reads "Data/..."
// relative to it.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::string& path)
        : saved(fs::current_path())
    {
        fs::current_path(path);
    }
    ~WorkingDirectory()
    {
        std::error_code ignored;
        fs::current_path(saved, ignored);
    }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    fs::path saved;
};

} // namespace damaged
