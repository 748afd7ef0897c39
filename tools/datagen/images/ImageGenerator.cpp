// Draws every image of the game into the data folder.
#include "datagen/DataGen.h"

#include "datagen/images/DebrisPainter.h"
#include "datagen/images/ExplosionPainter.h"
#include "datagen/images/FrameWriter.h"
#include "datagen/images/MenuPainter.h"
#include "datagen/images/ShieldPainter.h"
#include "datagen/images/ShipPainter.h"
#include "datagen/images/ShotPainter.h"
#include "datagen/images/SpacePainter.h"

#include <cstdio>
#include <string>

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

Canvas Debris(uint32_t seed, int frame, double radius, const HullColours& colours,
    double stretch = 1.0, bool hotEdge = true)
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

ExplosionStyle Explosion(uint32_t seed, int size, int frames, int fire, int smoke, int sparks,
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

} // namespace

void GenerateImages(const std::filesystem::path& dataDir)
{
    FrameWriter writer(dataDir);

    writer.Write("Gui/GameBackground", PaintGameBackground());
    writer.Write("Gui/GameOverBackground", PaintGameOverBackground());
    writer.Write("Gui/BlackOverlay", PaintBlackOverlay());
    writer.Write("Gui/MenuBackground", PaintMenuBackground());
    // No screen shows "Data/MenuBackground", but the menu preloads it: it gets the same
    // picture, so every preloaded path holds an image.
    writer.CopyAnimation("Gui/MenuBackground", "MenuBackground");
    writer.Write("Gui/ShieldIcon", PaintShieldIcon());

    writer.Write("Player", PaintPlayer());
    writer.Write("Player/Shield", PaintPlayerShield());
    writer.Write("Player/Projectile", PaintPlayerShot());
    writer.Write("Player/Explosion",
        PaintExplosion(Explosion(0xe1000001u, 128, 20, 22, 12, 26, 1, Rgb(255, 200, 90))));
    writer.Write("Player/Debris/Large/1", Debris(0xd1000001u, 34, 14.0, playerSilver, 0.7));
    writer.Write("Player/Debris/Large/2", Debris(0xd1000002u, 34, 14.0, playerWing));
    writer.Write("Player/Debris/Medium/1", Debris(0xd1000003u, 24, 9.0, playerWing, 0.8));
    writer.Write("Player/Debris/Medium/2", Debris(0xd1000004u, 24, 9.0, playerSilver));
    writer.Write("Player/Debris/Medium/3", Debris(0xd1000005u, 24, 9.0, playerPod, 0.6));
    const HullColours* smallLooks[] = { &playerSilver, &playerWing, &playerPod, &playerSilver,
        &playerWing, &playerSilver, &playerPod };
    for (int i = 0; i < 7; ++i)
        writer.Write("Player/Debris/Small/" + std::to_string(i + 1),
            Debris(0xd1000010u + static_cast<uint32_t>(i), 14, 5.0, *smallLooks[i],
                i % 2 == 0 ? 1.0 : 0.7, i % 3 == 0));
    writer.Write("Player/Debris/Tiny/1", Debris(0xd1000020u, 6, 2.2, playerSilver, 1.0, false));

    writer.Write("Enemies/Small", PaintSmallEnemy());
    writer.Write("Enemies/Small/Projectile", PaintSmallShot());
    writer.Write("Enemies/Small/Explosion",
        PaintExplosion(Explosion(0xe2000001u, 96, 16, 24, 9, 22, 1, Rgb(255, 90, 180))));
    writer.Write("Enemies/Small/Debris/1", Debris(0xd2000001u, 16, 6.0, smallMagenta));
    writer.Write("Enemies/Small/Debris/2", Debris(0xd2000002u, 10, 3.6, smallMagenta, 0.8, false));

    writer.Write("Enemies/Medium", PaintMediumEnemy());
    writer.Write("Enemies/Medium/Projectile", PaintMediumShot());

    writer.Write("Enemies/Big", PaintBigEnemy());
    writer.Write("Enemies/Big/Projectile", PaintBigShot());
    writer.Write("Enemies/Big/Explosion",
        PaintExplosion(Explosion(0xe3000001u, 192, 24, 32, 16, 40, 3, Rgb(255, 140, 60))));
    writer.Write("Enemies/Big/Debris/1", Debris(0xd3000001u, 46, 20.0, bigCrimson, 0.75));
    writer.Write("Enemies/Big/Debris/2", Debris(0xd3000002u, 36, 15.0, bigArmour));
    writer.Write("Enemies/Big/Debris/3", Debris(0xd3000003u, 28, 11.0, bigMetal, 0.7));
    writer.Write("Enemies/Big/Debris/4", Debris(0xd3000004u, 18, 6.5, bigCrimson));
    writer.Write("Enemies/Big/Debris/5", Debris(0xd3000005u, 8, 3.0, bigArmour, 1.0, false));

    writer.Write("ShieldPickup", PaintShieldPickup());

    std::printf(
        "skarvold_datagen: %d animations, %d image frames\n", writer.Animations(), writer.Frames());
}
