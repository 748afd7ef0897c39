// Draws the installed game's desktop icon at every size desktops use.
#include "datagen/DataGen.h"

#include "datagen/images/Canvas.h"
#include "datagen/images/IconPainter.h"

#include <cstdio>

void GenerateIcons(const std::filesystem::path& iconDir)
{
    for (const int size : iconSizes) {
        const std::filesystem::path file = iconDir / IconPngPath(size);
        std::filesystem::create_directories(file.parent_path());
        Canvas canvas(size, size);
        DrawIcon(canvas);
        canvas.WritePng(file);
    }
    const std::filesystem::path svg = iconDir / IconSvgPath();
    std::filesystem::create_directories(svg.parent_path());
    {
        Canvas page = Canvas::SvgFile(svg, iconSvgSize, iconSvgSize);
        DrawIcon(page);
    } // the file is complete once the page is gone
    std::printf("skarvold_datagen: icon at %zu sizes and as SVG\n", std::size(iconSizes));
}
