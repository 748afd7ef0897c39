// Checks the generated images as the game will meet them: every preloaded path has a gap-free
// run of same-sized frames, the frames that the code gives meaning to (first, last, between)
// look the part, the sizes suit their roles, and two runs of the generator agree byte for
// byte.
#include "base/AssetPaths.h"
#include "modes/EnemySpawn.h"
#include "support/TestImages.h"
#include "world/Enemy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Bounds {
    int width = 0;
    int height = 0;
    int Larger() const { return std::max(width, height); }
};

std::string FrameName(size_t index)
{
    char name[32];
    std::snprintf(name, sizeof name, "%04zu.png", index);
    return name;
}

// "Data/Player" -> <build>/Data/Player
fs::path Folder(const std::string& gamePath)
{
    return fs::path(SKARVOLD_DATA_DIR) / gamePath.substr(std::string("Data/").size());
}

// The frames of an animation, read as the game reads them: 0000.png on, up to the first gap.
std::vector<RgbaImage> LoadAnimation(const std::string& gamePath)
{
    std::vector<RgbaImage> frames;
    for (size_t i = 0;; ++i) {
        const fs::path file = Folder(gamePath) / FrameName(i);
        if (!fs::exists(file))
            break;
        frames.push_back(LoadRgba(file));
    }
    return frames;
}

// The player's shot and every kind of enemy's that fires, from the spawner's table of kinds.
std::vector<std::string> ShotPaths()
{
    std::vector<std::string> paths { "Data/Player/Projectile" };
    for (const EnemySpawn& row : EnemySpawn::Table()) {
        if (row.kind->volley.shots > 0)
            paths.emplace_back(row.kind->volley.projectile);
    }
    return paths;
}

// Every path the game draws.
std::vector<std::string> AllImagePaths()
{
    std::vector<std::string> paths;
    for (const ImageAsset& image : imageAssets)
        paths.emplace_back(image.path);
    return paths;
}

// The box around the pixels that are visibly there (alpha above `threshold`).
Bounds ContentBounds(const RgbaImage& image, int threshold = 40)
{
    int left = image.width;
    int top = image.height;
    int right = -1;
    int bottom = -1;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.At(x, y)[3] > threshold) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (right < 0)
        return {};
    return { right - left + 1, bottom - top + 1 };
}

long AlphaSum(const RgbaImage& image)
{
    long sum = 0;
    for (size_t i = 3; i < image.rgba.size(); i += 4)
        sum += image.rgba[i];
    return sum;
}

int MaxAlpha(const RgbaImage& image)
{
    int most = 0;
    for (size_t i = 3; i < image.rgba.size(); i += 4)
        most = std::max(most, static_cast<int>(image.rgba[i]));
    return most;
}

// Mean colour of an image, each pixel weighted by its alpha.
struct Tint {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
};

Tint MeanColour(const RgbaImage& image)
{
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
    double weight = 0.0;
    for (size_t i = 0; i < image.rgba.size(); i += 4) {
        const double a = image.rgba[i + 3];
        r += image.rgba[i] * a;
        g += image.rgba[i + 1] * a;
        b += image.rgba[i + 2] * a;
        weight += a;
    }
    if (weight == 0.0)
        return {};
    return { r / weight, g / weight, b / weight };
}

// How many bytes of two same-sized frames differ by more than a rounding step.
long DifferingBytes(const RgbaImage& a, const RgbaImage& b)
{
    long count = 0;
    for (size_t i = 0; i < a.rgba.size() && i < b.rgba.size(); ++i)
        if (std::abs(static_cast<int>(a.rgba[i]) - static_cast<int>(b.rgba[i])) > 2)
            ++count;
    return count;
}

std::string ReadBytes(const fs::path& file)
{
    std::string bytes(static_cast<size_t>(fs::file_size(file)), '\0');
    std::ifstream in(file, std::ios::binary);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

// Relative path -> bytes of every PNG below `root`.
// The generated files below `root` with the given extension, by relative path, with their bytes.
std::map<std::string, std::string> DataFiles(const fs::path& root, const std::string& extension)
{
    std::map<std::string, std::string> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file() && entry.path().extension() == extension
            && entry.path().filename().string().rfind("Keep", 0) != 0)
            files[fs::relative(entry.path(), root).generic_string()] = ReadBytes(entry.path());
    return files;
}

} // namespace

TEST(ImageData, EveryPathHasGaplessFramesOfOneSizeThatFitTheWindow)
{
    for (const std::string& path : AllImagePaths()) {
        SCOPED_TRACE(path);
        const fs::path folder = Folder(path);
        ASSERT_TRUE(fs::is_directory(folder));
        // Every PNG in the folder must be part of the run from 0000: a stray frame past a gap
        // would be dead weight, one right after the run would play as part of it.
        size_t pngs = 0;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder))
            if (entry.path().extension() == ".png")
                ++pngs;
        const std::vector<RgbaImage> frames = LoadAnimation(path);
        ASSERT_GE(frames.size(), 1u);
        EXPECT_EQ(frames.size(), pngs);
        for (size_t i = 0; i < frames.size(); ++i) {
            SCOPED_TRACE(i);
            ASSERT_GT(frames[i].width, 0) << "frame did not load";
            EXPECT_EQ(frames[i].width, frames[0].width);
            EXPECT_EQ(frames[i].height, frames[0].height);
        }
        EXPECT_LE(frames[0].width, 800);
        EXPECT_LE(frames[0].height, 600);
    }
}

TEST(ImageData, NoFrameIsBlankButTheShieldIconsFirst)
{
    for (const std::string& path : AllImagePaths()) {
        SCOPED_TRACE(path);
        const std::vector<RgbaImage> frames = LoadAnimation(path);
        for (size_t i = 0; i < frames.size(); ++i) {
            SCOPED_TRACE(i);
            if (path == "Data/Gui/ShieldIcon" && i == 0)
                EXPECT_EQ(MaxAlpha(frames[i]), 0) << "three icons show frame 0 from the start";
            else
                EXPECT_GT(MaxAlpha(frames[i]), 0);
        }
    }
}

TEST(ImageData, FramesMeantToMoveDifferFromTheirNeighbours)
{
    struct Moving {
        const char* path;
        bool loops;     // the last frame is followed by the first
        bool restsSame; // the first and the last frame show the same resting state
    };
    const Moving moving[] = {
        { "Data/Player", true, false },
        { "Data/Player/Shield", false, true },
        { "Data/Gui/ShieldIcon", false, false },
        { "Data/Enemies/Medium", false, true },
        { "Data/Enemies/Small", true, false },
        { "Data/ShieldPickup", true, false },
        { "Data/Player/Explosion", false, false },
        { "Data/Enemies/Small/Explosion", false, false },
        { "Data/Enemies/Big/Explosion", false, false },
    };
    for (const Moving& animation : moving) {
        SCOPED_TRACE(animation.path);
        const std::vector<RgbaImage> frames = LoadAnimation(animation.path);
        ASSERT_GE(frames.size(), 3u);
        for (size_t i = 0; i + 1 < frames.size(); ++i) {
            if (animation.restsSame && i + 2 == frames.size())
                continue; // the step back to rest may be small
            SCOPED_TRACE(i);
            EXPECT_GT(DifferingBytes(frames[i], frames[i + 1]), 20);
        }
        if (animation.loops) {
            EXPECT_GT(DifferingBytes(frames.back(), frames.front()), 20);
        }
        if (animation.restsSame) {
            EXPECT_EQ(DifferingBytes(frames.front(), frames.back()), 0);
            // ...and the frames between show something else: the flash of a hit or a shot.
            EXPECT_GT(DifferingBytes(frames.front(), frames[frames.size() / 3]), 200);
        }
    }
}

TEST(ImageData, ScreensCoverTheWindowAndOverlaysDoTheirJob)
{
    for (const char* path : { "Data/Gui/GameBackground", "Data/Gui/GameOverBackground",
             "Data/Gui/MenuBackground", "Data/Gui/BlackOverlay" }) {
        SCOPED_TRACE(path);
        const std::vector<RgbaImage> frames = LoadAnimation(path);
        ASSERT_FALSE(frames.empty());
        EXPECT_EQ(frames[0].width, 800);
        EXPECT_EQ(frames[0].height, 600);
    }
    // Backgrounds are opaque; the black overlay is black everywhere (the game sets its
    // opacity).
    for (const char* path : { "Data/Gui/GameBackground", "Data/Gui/MenuBackground" }) {
        const RgbaImage background = LoadAnimation(path).at(0);
        EXPECT_EQ(AlphaSum(background), 255L * 800 * 600) << path;
    }
    const RgbaImage black = LoadAnimation("Data/Gui/BlackOverlay").at(0);
    EXPECT_EQ(AlphaSum(black), 255L * 800 * 600);
    EXPECT_EQ(MeanColour(black).r + MeanColour(black).g + MeanColour(black).b, 0.0);

    // The game-over veil: translucent, dark red, thinner in the middle than at the rim.
    const RgbaImage veil = LoadAnimation("Data/Gui/GameOverBackground").at(0);
    const uint8_t* centre = veil.At(400, 300);
    const uint8_t* corner = veil.At(5, 5);
    EXPECT_GT(centre[3], 0);
    EXPECT_LT(centre[3], 255);
    EXPECT_LT(centre[3], corner[3]);
    const Tint tint = MeanColour(veil);
    EXPECT_GT(tint.r, 2.0 * (tint.g + tint.b));
    EXPECT_LT(tint.r, 128.0);

    // The menu's texts stand around the middle column: it must stay dark enough for white
    // and grey text.
    const RgbaImage menu = LoadAnimation("Data/Gui/MenuBackground").at(0);
    double sum = 0.0;
    int bright = 0;
    int count = 0;
    for (int y = 20; y < 590; y += 2)
        for (int x = 250; x < 550; x += 2) {
            const uint8_t* p = menu.At(x, y);
            const double luma = 0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2];
            sum += luma;
            bright += luma > 128.0 ? 1 : 0;
            ++count;
        }
    EXPECT_LT(sum / count, 40.0);
    EXPECT_LT(bright * 100, count) << "more than 1 % of the text column is bright";
}

TEST(ImageData, SpritesAreSizedForTheirRoles)
{
    auto frameOf = [](const char* path) { return LoadAnimation(path).at(0); };
    auto larger = [](const RgbaImage& image) { return std::max(image.width, image.height); };

    const RgbaImage player = frameOf("Data/Player");
    EXPECT_GE(larger(player), 56);
    EXPECT_LE(larger(player), 90);
    const RgbaImage shield = frameOf("Data/Player/Shield");
    EXPECT_GT(ContentBounds(shield).width, ContentBounds(player).width);
    EXPECT_GT(ContentBounds(shield).height, ContentBounds(player).height);

    // Small < medium < big, by the hull that shows.
    const RgbaImage small = frameOf("Data/Enemies/Small");
    const RgbaImage medium = frameOf("Data/Enemies/Medium");
    const RgbaImage big = frameOf("Data/Enemies/Big");
    EXPECT_LT(ContentBounds(small).Larger(), ContentBounds(medium).Larger());
    EXPECT_LT(ContentBounds(medium).Larger(), ContentBounds(big).Larger());
    // The small enemy picks targets R + rand() % (201 - 2R): its radius must stay well
    // below 100 (its start band needs below 115).
    EXPECT_LT(larger(small) / 2, 100);

    const std::vector<RgbaImage> icon = LoadAnimation("Data/Gui/ShieldIcon");
    const Bounds iconShown = ContentBounds(icon.back());
    EXPECT_GE(iconShown.Larger(), 22);
    EXPECT_LE(iconShown.Larger(), 34);
    // It grows in: early frames show less of it than the last.
    EXPECT_LT(ContentBounds(icon[1]).Larger(), iconShown.Larger());
    const Bounds pickup = ContentBounds(frameOf("Data/ShieldPickup"));
    EXPECT_GE(pickup.Larger(), 28);
    EXPECT_LE(pickup.Larger(), 48);

    // Debris: Large about 28, Medium about 18, Small about 10, Tiny about 4 pixels.
    struct Piece {
        const char* path;
        int least;
        int most;
    };
    const Piece pieces[] = {
        { "Data/Player/Debris/Large/1", 20, 34 },
        { "Data/Player/Debris/Large/2", 20, 34 },
        { "Data/Player/Debris/Medium/1", 12, 23 },
        { "Data/Player/Debris/Medium/2", 12, 23 },
        { "Data/Player/Debris/Medium/3", 12, 23 },
        { "Data/Player/Debris/Small/1", 6, 13 },
        { "Data/Player/Debris/Small/4", 6, 13 },
        { "Data/Player/Debris/Small/7", 6, 13 },
        { "Data/Player/Debris/Tiny/1", 2, 6 },
    };
    for (const Piece& piece : pieces) {
        const int size = ContentBounds(frameOf(piece.path)).Larger();
        EXPECT_GE(size, piece.least) << piece.path;
        EXPECT_LE(size, piece.most) << piece.path;
    }
    // The big enemy's pieces shrink from 1 to 5 (2, 3, 4, 10 and 48 of them fly), and all
    // are smaller than the ship; the small enemy's two likewise.
    int previous = ContentBounds(big).Larger();
    for (int i = 1; i <= 5; ++i) {
        const std::string path = "Data/Enemies/Big/Debris/" + std::to_string(i);
        const int size = ContentBounds(frameOf(path.c_str())).Larger();
        EXPECT_LT(size, previous) << path;
        EXPECT_GE(size, 3) << path;
        previous = size;
    }
    EXPECT_GT(ContentBounds(frameOf("Data/Enemies/Small/Debris/1")).Larger(),
        ContentBounds(frameOf("Data/Enemies/Small/Debris/2")).Larger());

    // Shots are small.
    for (const std::string& path : ShotPaths())
        EXPECT_LE(larger(frameOf(path.c_str())), 32) << path;
}

TEST(ImageData, ExplosionsFlashThenFadeWithinHalfASecondToEightTenths)
{
    std::set<std::string> explosions { "Data/Player/Explosion" };
    for (const EnemySpawn& row : EnemySpawn::Table())
        explosions.insert(row.kind->explosion);
    for (const std::string& path : explosions) {
        SCOPED_TRACE(path);
        const std::vector<RgbaImage> frames = LoadAnimation(path);
        // 33.3 ms a frame: 15 to 24 frames are 0.5 to 0.8 s.
        EXPECT_GE(frames.size(), 15u);
        EXPECT_LE(frames.size(), 24u);
        ASSERT_FALSE(frames.empty());
        // The flash: white-hot pixels in the first frame.
        bool whiteHot = false;
        const RgbaImage& first = frames.front();
        for (size_t i = 0; i < first.rgba.size(); i += 4)
            whiteHot = whiteHot
                || (first.rgba[i] > 240 && first.rgba[i + 1] > 240 && first.rgba[i + 2] > 200
                    && first.rgba[i + 3] > 240);
        EXPECT_TRUE(whiteHot);
        // The last frame is faint: a small share of the busiest frame's coverage and no
        // strong pixel.
        long busiest = 0;
        for (const RgbaImage& frame : frames)
            busiest = std::max(busiest, AlphaSum(frame));
        EXPECT_LT(AlphaSum(frames.back()) * 10, busiest);
        EXPECT_LT(MaxAlpha(frames.back()), 128);
    }
}

TEST(ImageData, ThePlayerIsCoolTheEnemiesWarmAndEveryShotItsOwnColour)
{
    const Tint player = MeanColour(LoadAnimation("Data/Player").at(0));
    EXPECT_GT(player.b, player.r + 20.0);
    for (const EnemySpawn& row : EnemySpawn::Table()) {
        const Tint enemy = MeanColour(LoadAnimation(row.kind->sprite).at(0));
        EXPECT_GT(enemy.r, enemy.b + 20.0) << row.kind->id;
    }
    // Pairwise apart in mean colour, so each kind of shot is told apart at a glance.
    const std::vector<std::string> shots = ShotPaths();
    std::vector<Tint> tints;
    for (const std::string& path : shots)
        tints.push_back(MeanColour(LoadAnimation(path).at(0)));
    for (size_t i = 0; i < tints.size(); ++i)
        for (size_t j = i + 1; j < tints.size(); ++j) {
            const double dr = tints[i].r - tints[j].r;
            const double dg = tints[i].g - tints[j].g;
            const double db = tints[i].b - tints[j].b;
            EXPECT_GT(dr * dr + dg * dg + db * db, 30.0 * 30.0) << shots[i] << " vs " << shots[j];
        }
}

TEST(DataSet, TwoRunsWriteTheSameBytesAndReplaceStaleFrames)
{
    TempDir first;
    TempDir second;
    ASSERT_FALSE(first.path.empty());
    ASSERT_FALSE(second.path.empty());
    // Leftovers of an older data set in the first folder: a frame that would extend the
    // shield's run, and files of other kinds that are not the images' to remove.
    ASSERT_TRUE(WritePng(first / "Player/Shield/0012.png", 4, 4, 0xff00ff00u));
    ASSERT_TRUE(WritePng(first / "Player/Shield/0013.png", 4, 4, 0xff00ff00u));
    std::ofstream(first / "Player/Keep.wav") << "not ours";
    fs::create_directories(first / "Fonts");
    std::ofstream(first / "Fonts/Keep.ttf") << "not ours";

    for (const TempDir* dir : { &first, &second }) {
        const std::string command
            = std::string("\"") + SKARVOLD_DATAGEN + "\" \"" + dir->path + "\" > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    const auto expectSame = [](const std::map<std::string, std::string>& a,
                                const std::map<std::string, std::string>& b) {
        ASSERT_EQ(a.size(), b.size());
        for (const auto& [name, bytes] : a) {
            const auto found = b.find(name);
            ASSERT_NE(found, b.end()) << name;
            EXPECT_TRUE(bytes == found->second) << name << " differs between runs";
        }
    };
    const auto images = DataFiles(first.path, ".png");
    EXPECT_GT(images.size(), 100u);
    EXPECT_FALSE(images.count("Player/Shield/0012.png"));
    expectSame(images, DataFiles(second.path, ".png"));
    const auto sounds = DataFiles(first.path, ".wav");
    EXPECT_EQ(sounds.size(), std::size(soundAssets));
    expectSame(sounds, DataFiles(second.path, ".wav"));
    EXPECT_TRUE(fs::exists(first / "Player/Keep.wav"));
    EXPECT_TRUE(fs::exists(first / "Fonts/Keep.ttf"));
}
