// Pictures of the data set: skarvold_preview DATA_DIR OUTPUT_DIR
// Writes contact-sheet.png (every animation, every frame) and play-mockup.png, menu-mockup.png
// and game-over-mockup.png (the screens composed from the generated frames as the game lays
// them out) into OUTPUT_DIR.
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr double Pi = 3.14159265358979323846;

struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

struct Animation {
    std::string path;
    std::vector<Surface> frames;
    int width = 0;
    int height = 0;
};

std::string FrameName(size_t index)
{
    char name[32];
    std::snprintf(name, sizeof name, "%04zu.png", index);
    return name;
}

// Loads frames 0000.png, 0001.png ... up to the first gap, as the game does.
Animation Load(const fs::path& dataDir, const std::string& path)
{
    Animation animation;
    animation.path = path;
    for (size_t i = 0;; ++i) {
        const fs::path file = dataDir / path / FrameName(i);
        if (!fs::exists(file))
            break;
        Surface frame(cairo_image_surface_create_from_png(file.c_str()));
        if (cairo_surface_status(frame.get()) != CAIRO_STATUS_SUCCESS)
            throw std::runtime_error("cannot read " + file.string());
        animation.frames.push_back(std::move(frame));
    }
    if (!animation.frames.empty()) {
        animation.width = cairo_image_surface_get_width(animation.frames[0].get());
        animation.height = cairo_image_surface_get_height(animation.frames[0].get());
    }
    return animation;
}

// Every folder below the data folder that holds a frame 0000.png, sorted by path.
std::vector<std::string> FindAnimations(const fs::path& dataDir)
{
    std::vector<std::string> paths;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dataDir))
        if (entry.is_directory() && fs::exists(entry.path() / "0000.png"))
            paths.push_back(fs::relative(entry.path(), dataDir).generic_string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

class Library {
public:
    explicit Library(fs::path dir)
        : dataDir(std::move(dir))
    {
    }

    const Animation& Get(const std::string& path)
    {
        auto found = cache.find(path);
        if (found == cache.end())
            found = cache.emplace(path, Load(dataDir, path)).first;
        if (found->second.frames.empty())
            throw std::runtime_error("no frames at " + path);
        return found->second;
    }

private:
    fs::path dataDir;
    std::map<std::string, Animation> cache;
};

// Draws a frame the way the game's renderer does: centred on (x, y), turned by `angle`
// degrees about its centre, with an opacity of 0 to 255.
void DrawSprite(cairo_t* cr, const Animation& animation, size_t frame, double x, double y,
    double angle = 0.0, double opacity = 255.0)
{
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle * Pi / 180.0);
    cairo_set_source_surface(cr,
        animation.frames[std::min(frame, animation.frames.size() - 1)].get(),
        -static_cast<double>(animation.width / 2), -static_cast<double>(animation.height / 2));
    cairo_paint_with_alpha(cr, opacity / 255.0);
    cairo_restore(cr);
}

enum class Anchor { TopLeft, Centre };

// Text as the game's text items show it: Open Sans at a point size in pixels.
void DrawText(cairo_t* cr, const std::string& text, double x, double y, double size, bool bold,
    double r, double g, double b, Anchor anchor, double opacity = 255.0)
{
    cairo_save(cr);
    cairo_select_font_face(cr, "Open Sans", CAIRO_FONT_SLANT_NORMAL,
        bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_font_extents_t font;
    cairo_font_extents(cr, &font);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    const double height = font.ascent + font.descent;
    double left = x;
    double top = y;
    if (anchor == Anchor::Centre) {
        left = x - extents.x_advance / 2.0;
        top = y - height / 2.0;
    }
    cairo_move_to(cr, left, top + font.ascent);
    cairo_set_source_rgba(cr, r / 255.0, g / 255.0, b / 255.0, opacity / 255.0);
    cairo_show_text(cr, text.c_str());
    cairo_restore(cr);
}

void Write(cairo_surface_t* surface, const fs::path& file)
{
    if (cairo_surface_write_to_png(surface, file.c_str()) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot write " + file.string());
    std::printf(
        "wrote %s (%ju bytes)\n", file.c_str(), static_cast<uintmax_t>(fs::file_size(file)));
}

// ---------------------------------------------------------------------------------------

void ContactSheet(Library& library, const std::vector<std::string>& paths, const fs::path& file)
{
    const int sheetWidth = 1600;
    const int margin = 12;
    const int gap = 4;
    const int labelHeight = 34;

    // Each animation is a block: its name and facts above, its frames in rows below. Blocks
    // flow left to right and wrap, so small sprites do not each take a whole line.
    struct Block {
        const Animation* animation;
        double scale;
        int cellWidth;
        int cellHeight;
        int perLine;
        int width;
        int height;
        int x = 0;
        int y = 0;
    };
    std::vector<Block> blocks;
    for (const std::string& path : paths) {
        const Animation& animation = library.Get(path);
        // Full screens as thumbnails, tiny sprites enlarged so they can be judged.
        double scale = 1.0;
        const int larger = std::max(animation.width, animation.height);
        if (larger >= 400)
            scale = 0.25;
        else if (larger <= 12)
            scale = 4.0;
        else if (larger <= 40)
            scale = 2.0;
        Block block { &animation, scale, 0, 0, 0, 0, 0 };
        block.cellWidth = static_cast<int>(animation.width * scale) + gap;
        block.cellHeight = static_cast<int>(animation.height * scale) + gap;
        const int count = static_cast<int>(animation.frames.size());
        block.perLine = std::max(1, std::min(count, (sheetWidth - 2 * margin) / block.cellWidth));
        const int lines = (count + block.perLine - 1) / block.perLine;
        block.width = std::max(190, block.perLine * block.cellWidth) + 2 * gap;
        block.height = labelHeight + lines * block.cellHeight + 2 * gap;
        blocks.push_back(block);
    }
    int x = margin;
    int y = margin;
    int rowHeight = 0;
    for (Block& block : blocks) {
        if (x + block.width > sheetWidth - margin) {
            x = margin;
            y += rowHeight + margin;
            rowHeight = 0;
        }
        block.x = x;
        block.y = y;
        x += block.width + margin;
        rowHeight = std::max(rowHeight, block.height);
    }
    const int totalHeight = y + rowHeight + margin;

    Surface sheet(cairo_image_surface_create(CAIRO_FORMAT_RGB24, sheetWidth, totalHeight));
    cairo_t* cr = cairo_create(sheet.get());
    cairo_set_source_rgb(cr, 0.03, 0.035, 0.08);
    cairo_paint(cr);
    for (const Block& block : blocks) {
        const Animation& animation = *block.animation;
        cairo_set_source_rgb(cr, 0.06, 0.07, 0.13);
        cairo_rectangle(cr, block.x, block.y, block.width, block.height);
        cairo_fill(cr);
        std::string info = std::to_string(animation.frames.size()) + " frame"
            + (animation.frames.size() == 1 ? "" : "s") + ", " + std::to_string(animation.width)
            + "x" + std::to_string(animation.height);
        if (block.scale > 2.0)
            info += ", shown x4";
        else if (block.scale > 1.0)
            info += ", shown x2";
        else if (block.scale < 1.0)
            info += ", shown x1/4";
        DrawText(cr, animation.path, block.x + gap, block.y + 2, 13, true, 230, 235, 255,
            Anchor::TopLeft);
        DrawText(cr, info, block.x + gap, block.y + 18, 11, false, 150, 160, 190, Anchor::TopLeft);
        for (size_t i = 0; i < animation.frames.size(); ++i) {
            const int column = static_cast<int>(i) % block.perLine;
            const int line = static_cast<int>(i) / block.perLine;
            const double left = block.x + gap + column * block.cellWidth;
            const double top = block.y + labelHeight + line * block.cellHeight;
            cairo_save(cr);
            cairo_translate(cr, left, top);
            // The frame's bounds, so margins and sizes can be seen.
            cairo_set_source_rgba(cr, 0.3, 0.35, 0.5, 0.45);
            cairo_set_line_width(cr, 1.0);
            cairo_rectangle(cr, 0.5, 0.5, animation.width * block.scale - 1.0,
                animation.height * block.scale - 1.0);
            cairo_stroke(cr);
            cairo_scale(cr, block.scale, block.scale);
            cairo_set_source_surface(cr, animation.frames[i].get(), 0, 0);
            cairo_pattern_set_filter(
                cairo_get_source(cr), block.scale > 1.0 ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
            cairo_paint(cr);
            cairo_restore(cr);
            if (animation.frames.size() > 1)
                DrawText(cr, std::to_string(i), left + 2, top + 1, 9, false, 120, 130, 160,
                    Anchor::TopLeft);
        }
    }
    cairo_destroy(cr);
    Write(sheet.get(), file);
}

// ---------------------------------------------------------------------------------------

void PlayMockup(Library& library, const fs::path& file)
{
    Surface screen(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 800, 600));
    cairo_t* cr = cairo_create(screen.get());

    // Layer 0: the background.
    DrawSprite(cr, library.Get("Gui/GameBackground"), 0, 400, 300);

    // Layer 3: ships.
    DrawSprite(cr, library.Get("Enemies/Medium"), 2, 235, 70);
    DrawSprite(cr, library.Get("Enemies/Big"), 0, 610, 78);
    DrawSprite(cr, library.Get("Enemies/Small"), 4, 455, 205);
    DrawSprite(cr, library.Get("Player"), 3, 372, 520);

    // Layer 4: shots, the pickup, an explosion with its debris, the shield, the HUD.
    const Animation& playerShot = library.Get("Player/Projectile");
    for (double shotY : { 455.0, 335.0, 215.0 })
        DrawSprite(cr, playerShot, 0, 372, shotY);
    const Animation& mediumShot = library.Get("Enemies/Medium/Projectile");
    for (double shotY : { 150.0, 260.0, 370.0 })
        DrawSprite(cr, mediumShot, 0, 235, shotY);
    const Animation& smallShot = library.Get("Enemies/Small/Projectile");
    const double fanLength = std::sqrt(15.0 * 15.0 + 32.0 * 32.0);
    for (int k = -1; k <= 1; ++k)
        for (double distance : { 40.0, 120.0 })
            DrawSprite(cr, smallShot, 0, 455 + k * 15.0 / fanLength * distance + 0,
                237 + (k == 0 ? distance : 32.0 / fanLength * distance));
    const Animation& bigShot = library.Get("Enemies/Big/Projectile");
    const double dx = 372.0 - 610.0;
    const double dy = 520.0 - 78.0;
    const double length = std::sqrt(dx * dx + dy * dy);
    for (double distance : { 110.0, 270.0 })
        DrawSprite(cr, bigShot, 0, 610 + dx / length * distance, 110 + dy / length * distance);

    DrawSprite(cr, library.Get("ShieldPickup"), 5, 560, 430);

    // A medium enemy blown up a moment ago, with the pieces it threw.
    const double bx = 160.0;
    const double by = 240.0;
    DrawSprite(cr, library.Get("Player/Explosion"), 5, bx, by, 137.0);
    const struct {
        const char* path;
        double x, y, angle;
    } debris[] = { { "Player/Debris/Small/2", -34, -10, 40 },
        { "Player/Debris/Small/5", 26, -30, 200 }, { "Player/Debris/Small/7", 30, 28, 95 },
        { "Player/Debris/Tiny/1", -20, 36, 0 }, { "Player/Debris/Tiny/1", 44, 4, 0 },
        { "Player/Debris/Tiny/1", -48, -28, 0 }, { "Player/Debris/Small/1", -8, 46, 300 } };
    for (const auto& piece : debris)
        DrawSprite(cr, library.Get(piece.path), 0, bx + piece.x, by + piece.y, piece.angle);
    DrawText(cr, "Score: + 1", bx, by - 40, 12, true, 64, 255, 128, Anchor::Centre);

    // The big enemy's shot going off on the shield.
    DrawSprite(cr, library.Get("Player/Shield"), 0, 372, 520);

    DrawText(cr, "Score: 12", 15, 10, 18, true, 255, 255, 255, Anchor::TopLeft);
    DrawText(cr, "Shields: ", 600, 10, 18, true, 32, 196, 255, Anchor::TopLeft);
    const Animation& icon = library.Get("Gui/ShieldIcon");
    for (double iconX : { 700.0, 734.0, 768.0 })
        DrawSprite(cr, icon, icon.frames.size() - 1, iconX, 24);

    cairo_destroy(cr);
    Write(screen.get(), file);
}

void MenuMockup(Library& library, const fs::path& file)
{
    Surface screen(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 800, 600));
    cairo_t* cr = cairo_create(screen.get());
    DrawSprite(cr, library.Get("Gui/MenuBackground"), 0, 400, 300);
    DrawText(cr, "SKARVOLD", 400, 50, 64, true, 255, 255, 255, Anchor::Centre);
    DrawText(cr, "Controls:", 400, 130, 20, true, 255, 255, 255, Anchor::Centre);
    DrawText(cr, "Arrow Keys: Movement", 400, 160, 12, false, 255, 255, 255, Anchor::Centre);
    DrawText(
        cr, "Left Control: Fire/Select Menu", 400, 180, 12, false, 255, 255, 255, Anchor::Centre);
    DrawText(cr, "Escape: Exit to menu", 400, 200, 12, false, 255, 255, 255, Anchor::Centre);
    DrawText(cr, "PLAY", 400, 320, 36, true, 255, 255, 255, Anchor::Centre);
    DrawText(cr, "HISCORE", 400, 370, 24, true, 255, 255, 255, Anchor::Centre, 96);
    DrawText(cr, "QUIT", 400, 430, 24, true, 255, 255, 255, Anchor::Centre, 96);
    DrawText(cr, "Game, art and sound effects created by Torwick Velden", 400, 525, 12, false, 128,
        128, 128, Anchor::Centre);
    DrawText(cr, "www.torwickvelden.example", 400, 540, 10, true, 128, 128, 128, Anchor::Centre);
    DrawText(cr, "Music created by Aldo Pryne", 400, 565, 12, false, 128, 128, 128, Anchor::Centre);
    DrawText(cr, "www.aldopryne.example", 400, 580, 10, true, 128, 128, 128, Anchor::Centre);
    cairo_destroy(cr);
    Write(screen.get(), file);
}

// The end of a game: the veil fully faded in over the play field, "GAME OVER!" on top.
void GameOverMockup(Library& library, const fs::path& file)
{
    Surface screen(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 800, 600));
    cairo_t* cr = cairo_create(screen.get());
    DrawSprite(cr, library.Get("Gui/GameBackground"), 0, 400, 300);
    // The veil is on layer 1, under the ships that fly on.
    DrawSprite(cr, library.Get("Gui/GameOverBackground"), 0, 400, 300);
    DrawSprite(cr, library.Get("Enemies/Medium"), 0, 520, 70);
    DrawText(cr, "GAME OVER!", 400, 300, 96, true, 255, 64, 32, Anchor::Centre);
    cairo_destroy(cr);
    Write(screen.get(), file);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DATA_DIR OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    try {
        const fs::path dataDir = argv[1];
        const fs::path outDir = argv[2];
        fs::create_directories(outDir);
        Library library(dataDir);
        const std::vector<std::string> paths = FindAnimations(dataDir);
        ContactSheet(library, paths, outDir / "contact-sheet.png");
        if (fs::exists(dataDir / "Gui/ShieldIcon/0000.png")) {
            PlayMockup(library, outDir / "play-mockup.png");
            MenuMockup(library, outDir / "menu-mockup.png");
            GameOverMockup(library, outDir / "game-over-mockup.png");
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "skarvold_preview: %s\n", error.what());
        return 1;
    }
    return 0;
}
