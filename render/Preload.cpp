#include "render/Preload.h"

#include "base/AssetPaths.h"
#include "render/Renderer.h"

#include <string>

std::vector<std::string_view> PreloadPaths()
{
    std::vector<std::string_view> paths;
    for (const ImageAsset& image : imageAssets) {
        if (image.preloaded)
            paths.push_back(image.path);
    }
    return paths;
}

void PreloadAnimations(Renderer& renderer)
{
    for (const std::string_view path : PreloadPaths())
        renderer.GetAnimation(std::string(path));
}
