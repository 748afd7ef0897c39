#include "datagen/images/FrameWriter.h"

#include "base/Window.h"

#include <cstdio>
#include <stdexcept>
#include <utility>

namespace fs = std::filesystem;

namespace {

std::string FrameName(size_t index)
{
    char name[32];
    std::snprintf(name, sizeof name, "%04zu.png", index);
    return name;
}

} // namespace

FrameWriter::FrameWriter(fs::path dir)
    : dataDir(std::move(dir))
{
}

fs::path FrameWriter::PrepareFolder(const std::string& path) const
{
    const fs::path folder = dataDir / path;
    fs::create_directories(folder);
    std::vector<fs::path> stale;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().extension() == ".png")
            stale.push_back(entry.path());
    for (const fs::path& file : stale)
        fs::remove(file);
    return folder;
}

void FrameWriter::Write(const std::string& path, const std::vector<Canvas>& sequence)
{
    if (sequence.empty())
        throw std::runtime_error(path + ": an animation needs at least one frame");
    const int width = sequence.front().Width();
    const int height = sequence.front().Height();
    // The game draws every frame at frame 0's size and the window is 800x600.
    if (width > windowWidth || height > windowHeight)
        throw std::runtime_error(path + ": frames larger than the window");
    for (const Canvas& frame : sequence)
        if (frame.Width() != width || frame.Height() != height)
            throw std::runtime_error(path + ": frames of different sizes");
    const fs::path folder = PrepareFolder(path);
    for (size_t i = 0; i < sequence.size(); ++i)
        sequence[i].WritePng(folder / FrameName(i));
    ++animations;
    frames += static_cast<int>(sequence.size());
}

void FrameWriter::Write(const std::string& path, const Canvas& still)
{
    const fs::path folder = PrepareFolder(path);
    still.WritePng(folder / FrameName(0));
    ++animations;
    ++frames;
}

void FrameWriter::CopyAnimation(const std::string& from, const std::string& to)
{
    const fs::path source = dataDir / from;
    const fs::path folder = PrepareFolder(to);
    for (size_t i = 0;; ++i) {
        const fs::path file = source / FrameName(i);
        if (!fs::exists(file))
            break;
        fs::copy_file(file, folder / FrameName(i), fs::copy_options::overwrite_existing);
        ++frames;
    }
    ++animations;
}
