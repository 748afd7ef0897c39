#pragma once

#include "datagen/images/Canvas.h"

#include <filesystem>
#include <string>
#include <vector>

// Writes animations as the game reads them: "<data>/<path>/0000.png", "0001.png" and so on.
class FrameWriter {
public:
    explicit FrameWriter(std::filesystem::path dataDir);

    // Replaces the frames of the animation at `path` ("Player/Shield", below the data folder).
    // Old PNG frames of that one folder go first, so a shorter sequence cannot inherit stale
    // frames; sounds and sub-folders beside them stay. All frames must share one size.
    void Write(const std::string& path, const std::vector<Canvas>& frames);
    void Write(const std::string& path, const Canvas& still);

    // Copies the frames already written at `from` to `to`.
    void CopyAnimation(const std::string& from, const std::string& to);

    int Animations() const { return animations; }
    int Frames() const { return frames; }

private:
    std::filesystem::path PrepareFolder(const std::string& path) const;

    std::filesystem::path dataDir;
    int animations = 0;
    int frames = 0;
};
