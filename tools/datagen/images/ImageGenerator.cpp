// Draws every image of the game into the data folder.
#include "datagen/DataGen.h"

#include "base/AssetPaths.h"

#include "datagen/images/DebrisPainter.h"
#include "datagen/images/ExplosionPainter.h"
#include "datagen/images/FrameWriter.h"
#include "datagen/images/MenuPainter.h"
#include "datagen/images/ShieldPainter.h"
#include "datagen/images/ShipPainter.h"
#include "datagen/images/ShotPainter.h"
#include "datagen/images/SpacePainter.h"

#include <cstdio>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

// The hull colours of each ship, shared by its debris.
struct HullColours {
    Colour light;
    Colour dark;
    Colour accent;
};

const HullColours playerSilver = { Rgb(225, 232, 245), Rgb(80, 92, 120), Rgb(40, 120, 255) };
const HullColours playerWing = { Rgb(95, 145, 215), Rgb(22, 40, 88), Rgb(90, 220, 255) };
const HullColours playerPod = { Rgb(170, 180, 200), Rgb(55, 62, 85), Rgb(140, 235, 255) };
const HullColours bigCrimson = { Rgb(220, 60, 70), Rgb(70, 10, 24), Rgb(255, 130, 40) };
const HullColours bigArmour = { Rgb(190, 60, 75), Rgb(50, 8, 20), Rgb(255, 60, 170) };
const HullColours bigMetal = { Rgb(175, 160, 168), Rgb(50, 38, 45), Rgb(255, 60, 50) };
const HullColours smallMagenta = { Rgb(245, 95, 150), Rgb(95, 10, 50), Rgb(255, 150, 210) };

Canvas DebrisFrame(uint32_t seed, int frame, double radius, const HullColours& colours,
    double stretch, bool hotEdge)
{
    DebrisStyle style;
    style.seed = seed;
    style.frame = frame;
    style.radius = radius;
    style.stretch = stretch;
    style.light = colours.light;
    style.dark = colours.dark;
    style.accent = colours.accent;
    style.hotEdge = hotEdge;
    return PaintDebris(style);
}

ExplosionStyle ExplosionLook(uint32_t seed, int size, int frames, int fire, int smoke, int sparks,
    int blasts, const Colour& sparkColour)
{
    ExplosionStyle style;
    style.seed = seed;
    style.size = size;
    style.frames = frames;
    style.fireBlobs = fire;
    style.smokeBlobs = smoke;
    style.sparks = sparks;
    style.blasts = blasts;
    style.sparkColour = sparkColour;
    return style;
}

// How the picture of one row of the game's image table is made: painted, or copied from the
// picture of another row.
struct Painter {
    std::function<std::vector<Canvas>()> paint;
    std::string_view sameAs {};
    uint32_t seed = 0; // 0: the painting draws no random numbers of its own
};

// A painter of one still picture or of a sequence of frames.
template <class Paint> Painter Painted(Paint paint)
{
    return Painter { [paint] {
        if constexpr (std::is_same_v<decltype(paint()), Canvas>) {
            std::vector<Canvas> frames;
            frames.push_back(paint());
            return frames;
        } else {
            return paint();
        }
    } };
}

Painter Debris(uint32_t seed, int frame, double radius, const HullColours& colours,
    double stretch = 1.0, bool hotEdge = true)
{
    Painter painter
        = Painted([=] { return DebrisFrame(seed, frame, radius, colours, stretch, hotEdge); });
    painter.seed = seed;
    return painter;
}

Painter Explosion(uint32_t seed, int size, int frames, int fire, int smoke, int sparks, int blasts,
    const Colour& sparkColour)
{
    Painter painter = Painted([=] {
        return PaintExplosion(
            ExplosionLook(seed, size, frames, fire, smoke, sparks, blasts, sparkColour));
    });
    painter.seed = seed;
    return painter;
}

// The painter of every image of the game, by its path in the game's image table.
std::map<std::string_view, Painter> Painters()
{
    return {
        { "Data/Gui/GameBackground", Painted(PaintGameBackground) },
        { "Data/Gui/GameOverBackground", Painted(PaintGameOverBackground) },
        { "Data/Gui/BlackOverlay", Painted(PaintBlackOverlay) },
        { "Data/Gui/MenuBackground", Painted(PaintMenuBackground) },
        // No screen shows it, but the menu preloads it: it gets the same picture, so every
        // preloaded path holds an image.
        { "Data/MenuBackground", Painter { {}, "Data/Gui/MenuBackground" } },
        { "Data/Gui/ShieldIcon", Painted(PaintShieldIcon) },

        { "Data/Player", Painted(PaintPlayer) },
        { "Data/Player/Shield", Painted(PaintPlayerShield) },
        { "Data/Player/Projectile", Painted(PaintPlayerShot) },
        { "Data/Player/Explosion",
            Explosion(0xe1000001u, 128, 20, 22, 12, 26, 1, Rgb(255, 200, 90)) },
        { "Data/Player/Debris/Large/1", Debris(0xd1000001u, 34, 14.0, playerSilver, 0.7) },
        { "Data/Player/Debris/Large/2", Debris(0xd1000002u, 34, 14.0, playerWing) },
        { "Data/Player/Debris/Medium/1", Debris(0xd1000003u, 24, 9.0, playerWing, 0.8) },
        { "Data/Player/Debris/Medium/2", Debris(0xd1000004u, 24, 9.0, playerSilver) },
        { "Data/Player/Debris/Medium/3", Debris(0xd1000005u, 24, 9.0, playerPod, 0.6) },
        { "Data/Player/Debris/Small/1", Debris(0xd1000010u, 14, 5.0, playerSilver, 1.0, true) },
        { "Data/Player/Debris/Small/2", Debris(0xd1000011u, 14, 5.0, playerWing, 0.7, false) },
        { "Data/Player/Debris/Small/3", Debris(0xd1000012u, 14, 5.0, playerPod, 1.0, false) },
        { "Data/Player/Debris/Small/4", Debris(0xd1000013u, 14, 5.0, playerSilver, 0.7, true) },
        { "Data/Player/Debris/Small/5", Debris(0xd1000014u, 14, 5.0, playerWing, 1.0, false) },
        { "Data/Player/Debris/Small/6", Debris(0xd1000015u, 14, 5.0, playerSilver, 0.7, false) },
        { "Data/Player/Debris/Small/7", Debris(0xd1000016u, 14, 5.0, playerPod, 1.0, true) },
        { "Data/Player/Debris/Tiny/1", Debris(0xd1000020u, 6, 2.2, playerSilver, 1.0, false) },

        { "Data/Enemies/Small", Painted(PaintSmallEnemy) },
        { "Data/Enemies/Small/Projectile", Painted(PaintSmallShot) },
        { "Data/Enemies/Small/Explosion",
            Explosion(0xe2000001u, 96, 16, 24, 9, 22, 1, Rgb(255, 90, 180)) },
        { "Data/Enemies/Small/Debris/1", Debris(0xd2000001u, 16, 6.0, smallMagenta) },
        { "Data/Enemies/Small/Debris/2", Debris(0xd2000002u, 10, 3.6, smallMagenta, 0.8, false) },

        { "Data/Enemies/Medium", Painted(PaintMediumEnemy) },
        { "Data/Enemies/Medium/Projectile", Painted(PaintMediumShot) },

        { "Data/Enemies/Big", Painted(PaintBigEnemy) },
        { "Data/Enemies/Big/Projectile", Painted(PaintBigShot) },
        { "Data/Enemies/Big/Explosion",
            Explosion(0xe3000001u, 192, 24, 32, 16, 40, 3, Rgb(255, 140, 60)) },
        { "Data/Enemies/Big/Debris/1", Debris(0xd3000001u, 46, 20.0, bigCrimson, 0.75) },
        { "Data/Enemies/Big/Debris/2", Debris(0xd3000002u, 36, 15.0, bigArmour) },
        { "Data/Enemies/Big/Debris/3", Debris(0xd3000003u, 28, 11.0, bigMetal, 0.7) },
        { "Data/Enemies/Big/Debris/4", Debris(0xd3000004u, 18, 6.5, bigCrimson) },
        { "Data/Enemies/Big/Debris/5", Debris(0xd3000005u, 8, 3.0, bigArmour, 1.0, false) },

        { "Data/ShieldPickup", Painted(PaintShieldPickup) },
    };
}

} // namespace

void GenerateImages(const std::filesystem::path& dataDir)
{
    std::map<std::string_view, Painter> painters = Painters();
    std::vector<SeededAsset> seeds;
    for (const auto& [path, painter] : painters)
        seeds.push_back({ path, painter.seed });
    CheckSeedsDiffer(seeds);
    FrameWriter writer(dataDir);
    // Copies are made once every painted picture is written.
    std::vector<std::pair<std::string_view, std::string_view>> copies;
    for (const ImageAsset& image : imageAssets) {
        const auto found = painters.find(image.path);
        if (found == painters.end())
            throw std::runtime_error(std::string(image.path) + ": no painter for this image");
        const Painter& painter = found->second;
        if (painter.paint)
            writer.Write(BelowDataFolder(image.path), painter.paint());
        else
            copies.emplace_back(painter.sameAs, image.path);
        painters.erase(found);
    }
    // A painter without a row would draw a picture the game never asks for.
    if (!painters.empty())
        throw std::runtime_error(
            std::string(painters.begin()->first) + ": painted but not in the image table");
    for (const auto& [from, to] : copies)
        writer.CopyAnimation(BelowDataFolder(from), BelowDataFolder(to));

    std::printf(
        "skarvold_datagen: %d animations, %d image frames\n", writer.Animations(), writer.Frames());
}
