#pragma once

#include "base/AssetPaths.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// How seeds are given out. Every image and sound that draws random numbers draws them from a
// seed of its own, written in its table row, so that no two of them look or sound alike and
// retouching one never changes another. Families, by the ship they belong to (1 the player,
// 2 the small enemy, 3 the big one, then the next kind of ship 4, and so on):
//   debris images     0xd<ship>0000<nn>, nn counting up within the ship
//   explosion images  0xe<ship>0000<nn>
//   sound effects     101 upwards, in the order of the effect table
//   music             2002 (menu), 3002 (play)
// The space backdrops (0x5eed00<nn>) and the menu art (0x3e1000<nn>) keep theirs inside their
// painters. A new asset takes the next free number of its family; the generator refuses to run
// when two rows of a table share a seed.
struct SeededAsset {
    std::string_view path {};
    uint32_t seed = 0; // 0: the asset draws no random numbers
};

// Throws, naming both paths, when two assets share a seed other than 0.
inline void CheckSeedsDiffer(const std::vector<SeededAsset>& assets)
{
    std::map<uint32_t, std::string_view> owners;
    for (const SeededAsset& asset : assets) {
        if (asset.seed == 0)
            continue;
        const auto [owner, fresh] = owners.emplace(asset.seed, asset.path);
        if (!fresh)
            throw std::runtime_error(std::string(asset.path) + " and " + std::string(owner->second)
                + " share the seed " + std::to_string(asset.seed));
    }
}

// Draws every image of the game's image table as numbered PNG frames below `dataDir`.
void GenerateImages(const std::filesystem::path& dataDir);

// Synthesises every sound of the game's sound table as a WAV file below `dataDir`.
void GenerateSounds(const std::filesystem::path& dataDir);

// The installed game's desktop icon, the player's ship, for the menu entry: not part of the
// data set. One square PNG per size that desktops use, and a scalable SVG, each where the
// hicolor icon theme keeps it, so the folder installs as it is below share/icons.
// Keep the sizes on one line: the build reads them from here to know the files it expects.
inline constexpr int iconSizes[] = { 16, 22, 24, 32, 48, 64, 128, 256 };
inline constexpr int iconSvgSize = 256; // the SVG's nominal size
inline constexpr const char* iconName = "skarvold";

// "hicolor/48x48/apps/skarvold.png", below the icon folder.
inline std::filesystem::path IconPngPath(int size)
{
    const std::string side = std::to_string(size);
    return std::filesystem::path("hicolor") / (side + "x" + side) / "apps"
        / (std::string(iconName) + ".png");
}

// "hicolor/scalable/apps/skarvold.svg", below the icon folder.
inline std::filesystem::path IconSvgPath()
{
    return std::filesystem::path("hicolor") / "scalable" / "apps"
        / (std::string(iconName) + ".svg");
}

// Draws the desktop icon into `iconDir` at every size above, and as SVG.
void GenerateIcons(const std::filesystem::path& iconDir);

// The same picture as the window's own icon, in the data set at windowIconPath: one of the
// sizes above, so that the window and the menu entry show the very same pixels.
inline constexpr int windowIconSize = 64;

// Draws the window's icon into the data set below `dataDir`.
void GenerateWindowIcon(const std::filesystem::path& dataDir);

// The file or folder of a game path below the data folder: "Data/Player" -> "Player".
inline std::string BelowDataFolder(std::string_view gamePath)
{
    if (gamePath.substr(0, dataFolder.size()) != dataFolder)
        throw std::runtime_error(std::string(gamePath) + ": not below " + std::string(dataFolder));
    return std::string(gamePath.substr(dataFolder.size()));
}
