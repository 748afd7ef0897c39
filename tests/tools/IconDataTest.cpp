// Checks the desktop icon the generator draws: one square picture per size, the same picture at
// every size and in the window's icon of the data set, a scalable SVG that is drawing rather
// than one big bitmap, and the same pictures from every run.
#include "datagen/DataGen.h"
#include "support/FileContents.h"
#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string Bytes(const fs::path& file)
{
    return FileContents(file);
}

// The large picture shrunk to `size` by averaging the pixels that fall in each small one, each
// weighted by its opacity, with the mean opacity.
RgbaImage Shrunk(const RgbaImage& large, int size)
{
    RgbaImage small;
    small.width = size;
    small.height = size;
    const double step = static_cast<double>(large.width) / size;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double sum[4] = {};
            int count = 0;
            for (int sy = static_cast<int>(y * step); sy < static_cast<int>((y + 1) * step); ++sy)
                for (int sx = static_cast<int>(x * step); sx < static_cast<int>((x + 1) * step);
                     ++sx) {
                    const uint8_t* p = large.At(sx, sy);
                    for (int c = 0; c < 3; ++c)
                        sum[c] += p[c] * p[3] / 255.0;
                    sum[3] += p[3];
                    ++count;
                }
            const double alpha = sum[3] / count;
            for (int c = 0; c < 3; ++c)
                small.rgba.push_back(
                    static_cast<uint8_t>(alpha > 0.0 ? sum[c] / count * 255.0 / alpha : 0.0));
            small.rgba.push_back(static_cast<uint8_t>(alpha));
        }
    return small;
}

// Mean difference per channel, colours weighted by opacity, 0 to 255.
double MeanDifference(const RgbaImage& a, const RgbaImage& b)
{
    double total = 0.0;
    for (int y = 0; y < a.width; ++y)
        for (int x = 0; x < a.width; ++x) {
            const uint8_t* p = a.At(x, y);
            const uint8_t* q = b.At(x, y);
            for (int c = 0; c < 3; ++c)
                total += std::abs(p[c] * p[3] / 255.0 - q[c] * q[3] / 255.0);
            total += std::abs(p[3] - q[3]);
        }
    return total / (a.width * a.width * 4.0);
}

const fs::path iconDir = SKARVOLD_ICON_DIR;

TEST(Icon, EverySizeIsASquareBadgeOfTheSamePicture)
{
    const RgbaImage largest = LoadRgba(iconDir / IconPngPath(256));
    ASSERT_EQ(largest.width, 256);
    for (const int size : iconSizes) {
        SCOPED_TRACE(size);
        const RgbaImage icon = LoadRgba(iconDir / IconPngPath(size));
        ASSERT_EQ(icon.width, size);
        ASSERT_EQ(icon.height, size);
        // A round badge: the corners are clear, the middle (the ship) is solid.
        for (const int corner : { 0, size - 1 }) {
            EXPECT_EQ(icon.At(corner, 0)[3], 0);
            EXPECT_EQ(icon.At(corner, size - 1)[3], 0);
        }
        EXPECT_EQ(icon.At(size / 2, size / 2)[3], 255);
        // Each size is the same picture drawn smaller, not moved, cut off or left empty.
        // The smallest keep a whole pixel of rim and go without stars, so they differ more.
        EXPECT_LT(MeanDifference(icon, Shrunk(largest, size)), size < 32 ? 20.0 : 8.0);
    }
}

TEST(Icon, TheWindowInTheDataSetCarriesTheMenuEntrysPicture)
{
    // The same pixels in the task bar as in the menu: the theme's picture of that size.
    ASSERT_NE(
        std::find(std::begin(iconSizes), std::end(iconSizes), windowIconSize), std::end(iconSizes));
    const std::string windowIcon
        = Bytes(fs::path(SKARVOLD_DATA_DIR) / BelowDataFolder(windowIconPath));
    ASSERT_FALSE(windowIcon.empty());
    EXPECT_TRUE(windowIcon == Bytes(iconDir / IconPngPath(windowIconSize)));
}

TEST(Icon, TheSvgIsDrawingOfTheNamedSize)
{
    const std::string svg = Bytes(iconDir / IconSvgPath());
    ASSERT_FALSE(svg.empty());
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    const std::string side = std::to_string(iconSvgSize);
    EXPECT_NE(svg.find("width=\"" + side + "px\" height=\"" + side + "px\""), std::string::npos);
    EXPECT_NE(svg.find("</svg>"), std::string::npos) << "the file was not finished";
    // Hull and badge as paths and gradients; a page that cairo could not draw as vectors
    // becomes one big bitmap with no path at all.
    size_t paths = 0;
    for (size_t at = svg.find("<path"); at != std::string::npos; at = svg.find("<path", at + 1))
        ++paths;
    EXPECT_GT(paths, 10u);
    EXPECT_NE(svg.find("<linearGradient"), std::string::npos);
}

TEST(Icon, AnotherRunDrawsTheSameBytes)
{
    TempDir again;
    ASSERT_FALSE(again.path.empty());
    GenerateIcons(again.path);
    for (const int size : iconSizes)
        EXPECT_TRUE(
            Bytes(fs::path(again.path) / IconPngPath(size)) == Bytes(iconDir / IconPngPath(size)))
            << size;
}

} // namespace
