#include "render/Preload.h"

#include "base/AssetPaths.h"
#include "render/Renderer.h"

std::vector<std::string_view> PreloadPaths()
{
    std::vector<std::string_view> paths;
    for (const ImageAsset& image : imageAssets) {
        if (image.preloaded)
            paths.push_back(image.path);
    }
    return paths;
}

std::vector<std::string> ImagePaths()
{
    std::vector<std::string> paths;
    for (const ImageAsset& image : imageAssets)
        paths.emplace_back(image.path);
    return paths;
}

void PreloadAnimations(Renderer& renderer)
{
    for (const std::string_view path : PreloadPaths())
        renderer.GetAnimation(std::string(path));
}
