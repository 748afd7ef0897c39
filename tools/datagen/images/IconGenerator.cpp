// Draws the game's icon: the installed desktop icon at every size desktops use, and the
// window's own icon in the data set.
#include "datagen/DataGen.h"

#include "datagen/images/Canvas.h"
#include "datagen/images/IconPainter.h"

#include <cstdio>

namespace {
void WriteIconPng(const std::filesystem::path& file, int size)
{
    std::filesystem::create_directories(file.parent_path());
    Canvas canvas(size, size);
    DrawIcon(canvas);
    canvas.WritePng(file);
}
} // namespace

void GenerateIcons(const std::filesystem::path& iconDir)
{
    for (const int size : iconSizes)
        WriteIconPng(iconDir / IconPngPath(size), size);
    const std::filesystem::path svg = iconDir / IconSvgPath();
    std::filesystem::create_directories(svg.parent_path());
    {
        Canvas page = Canvas::SvgFile(svg, iconSvgSize, iconSvgSize);
        DrawIcon(page);
    } // the file is complete once the page is gone
    std::printf("skarvold_datagen: icon at %zu sizes and as SVG\n", std::size(iconSizes));
}

void GenerateWindowIcon(const std::filesystem::path& dataDir)
{
    WriteIconPng(dataDir / BelowDataFolder(windowIconPath), windowIconSize);
}
