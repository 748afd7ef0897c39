#include "datagen/images/MenuPainter.h"

#include "base/Window.h"

#include "datagen/images/ExplosionPainter.h"
#include "datagen/images/Noise.h"
#include "datagen/images/Paint.h"
#include "datagen/images/ShipPainter.h"
#include "datagen/images/SpacePainter.h"

#include <algorithm>
#include <cmath>

namespace {

// A banded gas giant lit from the upper right, with a thin bright atmosphere on its lit limb.
// Drawn pixel by pixel over what is already there: a sphere's shading is one formula.
void PaintPlanet(Canvas& canvas, Point centre, double radius, uint32_t seed)
{
    const Noise bands(seed);
    const double lx = 0.7;
    const double ly = -0.55;
    const double lz = 0.45;
    const double haze = 16.0;
    const int x0 = std::max(0, static_cast<int>(centre.x - radius - haze));
    const int x1 = std::min(canvas.Width(), static_cast<int>(centre.x + radius + haze) + 1);
    const int y0 = std::max(0, static_cast<int>(centre.y - radius - haze));
    const int y1 = std::min(canvas.Height(), static_cast<int>(centre.y + radius + haze) + 1);
    const Colour deep = Rgb(18, 42, 70);
    const Colour pale = Rgb(95, 150, 170);
    const Colour rust = Rgb(150, 105, 110);
    const Colour air = Rgb(110, 200, 255);

    uint32_t* pixels = canvas.BeginPixels();
    const int stride = canvas.StridePixels();
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const double dx = (static_cast<double>(x) + 0.5 - centre.x) / radius;
            const double dy = (static_cast<double>(y) + 0.5 - centre.y) / radius;
            const double dist = std::sqrt(dx * dx + dy * dy);
            uint32_t& pixel = pixels[y * stride + x];
            double r = static_cast<double>((pixel >> 16) & 0xffu) / 255.0;
            double g = static_cast<double>((pixel >> 8) & 0xffu) / 255.0;
            double b = static_cast<double>(pixel & 0xffu) / 255.0;
            const double rim = (dx * lx + dy * ly) / std::max(dist, 1e-6);
            if (dist < 1.0) {
                const double nz = std::sqrt(1.0 - dist * dist);
                const double light = std::max(0.0, dx * lx + dy * ly + nz * lz);
                // Bands run along the latitude, bent by noise; they crowd towards the limb.
                const double latitude
                    = dy * 9.0 + (bands.Fractal(dx * 3.0, dy * 14.0, 4) - 0.5) * 3.0;
                const double band = 0.5 + 0.5 * std::sin(latitude);
                const double storm
                    = Smoothstep(0.62, 0.8, bands.Fractal(dx * 5.0 + 30.0, dy * 9.0, 3));
                Colour surface = Mix(deep, pale, band * 0.8);
                surface = Mix(surface, rust, storm * 0.4);
                const double lit = 0.04 + 0.96 * std::pow(light, 1.2);
                const double fresnel = std::pow(1.0 - nz, 3.0) * Clamp01(rim + 0.3);
                double pr = surface.r * lit + air.r * fresnel * 0.9;
                double pg = surface.g * lit + air.g * fresnel * 0.9;
                double pb = surface.b * lit + air.b * fresnel * 0.9;
                // Soft edge: the last pixel of the disc blends with space.
                const double cover = Clamp01((1.0 - dist) * radius + 0.5);
                r = r + (pr - r) * cover;
                g = g + (pg - g) * cover;
                b = b + (pb - b) * cover;
            }
            const double outside = (dist - 1.0) * radius;
            if (outside > -2.0 && outside < haze) {
                // The atmosphere's glow beyond the limb, only on the lit side.
                const double fall = std::pow(1.0 - Clamp01(std::max(0.0, outside) / haze), 2.2);
                const double glow = fall * Clamp01(rim + 0.2) * 0.75;
                r += air.r * glow;
                g += air.g * glow;
                b += air.b * glow;
            }
            auto channel
                = [](double c) { return static_cast<uint32_t>(std::lround(Clamp01(c) * 255.0)); };
            pixel = 0xff000000u | (channel(r) << 16) | (channel(g) << 8) | channel(b);
        }
    canvas.EndPixels();
}

// Paints a ship drawn by `draw` (around its origin, at `scale`) onto the backdrop at (x, y),
// turned by `angle` radians. Ships are drawn on a small page first, so their glows only
// blur that page.
template <typename Draw>
void PlaceShip(
    Canvas& backdrop, double x, double y, double angle, double scale, int page, Draw draw)
{
    Canvas ship(page, page);
    cairo_translate(ship.Cr(), static_cast<double>(page) / 2.0, static_cast<double>(page) / 2.0);
    cairo_rotate(ship.Cr(), angle);
    cairo_scale(ship.Cr(), scale, scale);
    draw(ship, scale);
    ship.PaintOnto(backdrop.Cr(), x - static_cast<double>(page) / 2.0,
        y - static_cast<double>(page) / 2.0, CAIRO_OPERATOR_OVER, 1.0);
}

void Bolt(cairo_t* cr, double x, double y, double angle, double length)
{
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const double widths[] = { 9.0, 4.0, 1.8 };
    const Colour colours[]
        = { Rgb(20, 90, 255, 0.35), Rgb(90, 220, 255, 0.9), Rgb(255, 255, 255, 1.0) };
    for (int i = 0; i < 3; ++i) {
        cairo_move_to(cr, 0.0, -length / 2.0);
        cairo_line_to(cr, 0.0, length / 2.0);
        SetColour(cr, colours[i]);
        cairo_set_line_width(cr, widths[i]);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

} // namespace

Canvas PaintMenuBackground()
{
    Canvas canvas(windowWidth, windowHeight);
    NebulaStyle style;
    style.seed = 0x3e100001u;
    style.spaceTop = Rgb(8, 8, 24);
    style.spaceBottom = Rgb(4, 4, 14);
    style.cloudA = Rgb(125, 50, 165);
    style.cloudB = Rgb(30, 115, 175);
    style.highlight = Rgb(230, 120, 200);
    style.strength = 0.8;
    style.scale = 190.0;
    style.bandFrom = { 0.0, 120.0 };
    style.bandTo = { 800.0, 420.0 };
    style.bandWidth = 230.0;
    PaintNebula(canvas, style);
    PaintStars(canvas, 0x3e100002u, 1700, 1.0);

    PaintPlanet(canvas, { -30.0, 520.0 }, 250.0, 0x3e100003u);
    PaintPlanet(canvas, { 705.0, 520.0 }, 26.0, 0x3e100004u);

    cairo_t* cr = canvas.Cr();
    // A skirmish on the right: the player's ship firing up at two enemies, one of them
    // just hit.
    Bolt(cr, 652.0, 300.0, 0.24, 26.0);
    Bolt(cr, 681.0, 190.0, 0.24, 26.0);
    PlaceShip(canvas, 655.0, 160.0, 0.0, 1.2, 110,
        [](Canvas& page, double scale) { DrawSmallEnemy(page, 0.3, scale); });
    PlaceShip(canvas, 715.0, 70.0, 0.15, 1.0, 130,
        [](Canvas& page, double scale) { DrawMediumEnemy(page, 0.0, scale); });
    ExplosionStyle blast;
    blast.seed = 0x3e100005u;
    blast.size = 128;
    blast.frames = 7;
    blast.fireBlobs = 22;
    blast.smokeBlobs = 10;
    blast.sparks = 26;
    blast.sparkColour = Rgb(255, 200, 90);
    const std::vector<Canvas> bursts = PaintExplosion(blast);
    bursts[2].PaintOnto(cr, 655.0 - 64.0, 160.0 - 64.0, CAIRO_OPERATOR_OVER, 0.85);
    PlaceShip(canvas, 612.0, 440.0, 0.24, 2.1, 240,
        [](Canvas& page, double scale) { DrawPlayerShip(page, 20.0, 1.0, scale); });

    // The texts stand in the middle: a dark veil behind them keeps them readable whatever
    // the clouds do, and the credits at the bottom get a darker floor.
    cairo_pattern_t* veil = Linear(0.0, 0.0, 800.0, 0.0,
        { { 0.18, Rgb(2, 2, 10, 0.0) }, { 0.36, Rgb(2, 2, 10, 0.55) }, { 0.5, Rgb(2, 2, 10, 0.62) },
            { 0.64, Rgb(2, 2, 10, 0.55) }, { 0.75, Rgb(2, 2, 10, 0.0) } });
    cairo_set_source(cr, veil);
    cairo_paint(cr);
    cairo_pattern_destroy(veil);
    cairo_pattern_t* floor = Linear(0.0, 470.0, 0.0, 600.0,
        { { 0.0, Rgb(2, 2, 10, 0.0) }, { 0.5, Rgb(2, 2, 10, 0.5) }, { 1.0, Rgb(2, 2, 10, 0.7) } });
    cairo_set_source(cr, floor);
    cairo_paint(cr);
    cairo_pattern_destroy(floor);
    return canvas;
}
