#pragma once

#include <SDL.h>
#include <SDL_image.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// A fresh folder under the system's temp dir, removed with everything in it at the end.
class TempDir {
public:
    TempDir()
    {
        std::string pattern
            = (std::filesystem::temp_directory_path() / "skarvold-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
            path = pattern;
    }
    ~TempDir()
    {
        if (!path.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string operator/(const std::string& name) const { return path + "/" + name; }

    std::string path; // empty if the folder could not be made
};

// Writes a PNG of `width` x `height` whose pixel (x, y) is colourAt(x, y) as ARGB8888, making
// the folders on the way. Without `alpha` the file has no alpha channel (the colour's alpha
// is dropped). Answers whether the file was written.
inline bool WritePng(const std::string& file, int width, int height,
    const std::function<uint32_t(int, int)>& colourAt, bool alpha = true)
{
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ignored);
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(
        0, width, height, 32, alpha ? SDL_PIXELFORMAT_ARGB8888 : SDL_PIXELFORMAT_RGB888);
    if (surface == nullptr)
        return false;
    SDL_LockSurface(surface);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(
            static_cast<uint8_t*>(surface->pixels) + static_cast<ptrdiff_t>(y) * surface->pitch);
        for (int x = 0; x < width; ++x)
            row[x] = colourAt(x, y);
    }
    SDL_UnlockSurface(surface);
    const bool written = IMG_SavePNG(surface, file.c_str()) == 0;
    SDL_FreeSurface(surface);
    return written;
}

// A PNG of one colour.
inline bool WritePng(
    const std::string& file, int width, int height, uint32_t argb, bool alpha = true)
{
    return WritePng(
        file, width, height, [argb](int, int) { return argb; }, alpha);
}

// A picture as plain RGBA bytes, row after row.
struct RgbaImage {
    int width = 0; // zero when the file could not be read
    int height = 0;
    std::vector<uint8_t> rgba;

    const uint8_t* At(int x, int y) const
    {
        return &rgba[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x))
            * 4];
    }
};

// Reads any image SDL_image reads (a PNG, an SVG at its own size) as RGBA bytes.
inline RgbaImage LoadRgba(const std::filesystem::path& file)
{
    RgbaImage image;
    SDL_Surface* loaded = IMG_Load(file.c_str());
    if (loaded == nullptr)
        return image;
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    if (rgba == nullptr)
        return image;
    image.width = rgba->w;
    image.height = rgba->h;
    SDL_LockSurface(rgba);
    for (int y = 0; y < rgba->h; ++y) {
        const auto* row
            = static_cast<const uint8_t*>(rgba->pixels) + static_cast<ptrdiff_t>(y) * rgba->pitch;
        image.rgba.insert(image.rgba.end(), row, row + static_cast<ptrdiff_t>(rgba->w) * 4);
    }
    SDL_UnlockSurface(rgba);
    SDL_FreeSurface(rgba);
    return image;
}
