#include "datagen/images/SpacePainter.h"

#include "base/Window.h"

#include "datagen/images/Noise.h"

#include <algorithm>
#include <cmath>

void PaintNebula(Canvas& canvas, const NebulaStyle& style)
{
    // The clouds are smooth, so they are computed at half size and scaled up.
    const int w = (canvas.Width() + 1) / 2;
    const int h = (canvas.Height() + 1) / 2;
    Canvas half(w, h);
    const Noise warpNoise(style.seed);
    const Noise cloudNoise(style.seed + 101u);
    const Noise dustNoise(style.seed + 202u);
    const double scale = style.scale / 2.0;
    const double bx = style.bandTo.x - style.bandFrom.x;
    const double by = style.bandTo.y - style.bandFrom.y;
    const double bandLength = std::sqrt(bx * bx + by * by);

    uint32_t* pixels = half.BeginPixels();
    const int stride = half.StridePixels();
    for (int py = 0; py < h; ++py) {
        const double ty = static_cast<double>(py) / static_cast<double>(h - 1);
        const Colour sky = Mix(style.spaceTop, style.spaceBottom, ty);
        for (int px = 0; px < w; ++px) {
            const double u = static_cast<double>(px) / scale;
            const double v = static_cast<double>(py) / scale;
            // Domain warping twists the clouds into filaments instead of round puffs.
            const double wx = warpNoise.Fractal(u * 0.6 + 3.1, v * 0.6, 3) - 0.5;
            const double wy = warpNoise.Fractal(u * 0.6, v * 0.6 + 7.7, 3) - 0.5;
            const double d1 = cloudNoise.Fractal(u + 2.4 * wx, v + 2.4 * wy, 5);
            const double d2 = cloudNoise.Fractal(u * 1.4 + 40.0 - 2.0 * wy, v * 1.4 + 2.0 * wx, 5);
            const double dust = dustNoise.Fractal(u * 2.3 + 2.0 * wx, v * 2.3 + 2.0 * wy, 4);

            // Distance from the band's centre line, in pixels of the full canvas.
            const double fx = static_cast<double>(px) * 2.0 - style.bandFrom.x;
            const double fy = static_cast<double>(py) * 2.0 - style.bandFrom.y;
            const double across = std::fabs(fx * by - fy * bx) / bandLength;
            const double wobble = (wx + wy) * style.bandWidth * 0.8;
            const double band = std::exp(-std::pow((across + wobble) / style.bandWidth, 2.0));

            const double dustShade = 1.0 - 0.75 * Smoothstep(0.5, 0.72, dust);
            const double a = std::pow(Smoothstep(0.35, 0.85, d1), 1.6) * band * dustShade;
            const double b = std::pow(Smoothstep(0.42, 0.85, d2), 1.8) * band * dustShade;
            const double core = std::pow(Smoothstep(0.6, 0.9, d1), 3.0) * band * dustShade;
            const double k = style.strength;
            const double r = sky.r + (style.cloudA.r * a + style.cloudB.r * b) * k
                + style.highlight.r * core * k;
            const double g = sky.g + (style.cloudA.g * a + style.cloudB.g * b) * k
                + style.highlight.g * core * k;
            const double bl = sky.b + (style.cloudA.b * a + style.cloudB.b * b) * k
                + style.highlight.b * core * k;
            auto channel
                = [](double c) { return static_cast<uint32_t>(std::lround(Clamp01(c) * 255.0)); };
            pixels[py * stride + px]
                = 0xff000000u | (channel(r) << 16) | (channel(g) << 8) | channel(bl);
        }
    }
    half.EndPixels();

    cairo_t* cr = canvas.Cr();
    cairo_save(cr);
    cairo_scale(cr, 2.0, 2.0);
    cairo_set_source_surface(cr, half.Surface(), 0.0, 0.0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_restore(cr);

    // A touch of noise breaks the one-step colour bands that smooth dark gradients show.
    Random grain(style.seed + 303u);
    uint32_t* full = canvas.BeginPixels();
    const int fullStride = canvas.StridePixels();
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) {
            uint32_t& pixel = full[y * fullStride + x];
            const int bump = grain.Next() % 3 - 1;
            uint32_t out = 0xff000000u;
            for (int shift = 0; shift <= 16; shift += 8) {
                const int value = static_cast<int>((pixel >> shift) & 0xffu) + bump;
                out |= static_cast<uint32_t>(std::clamp(value, 0, 255)) << shift;
            }
            pixel = out;
        }
    canvas.EndPixels();
}

namespace {

Colour StarColour(Random& random)
{
    // Mostly white, some blue-white, a few yellow and orange.
    const int kind = Pick(random, 10);
    if (kind < 5)
        return Rgb(240, 244, 255);
    if (kind < 8)
        return Rgb(180, 205, 255);
    if (kind < 9)
        return Rgb(255, 236, 190);
    return Rgb(255, 190, 150);
}

void Flare(cairo_t* cr, double x, double y, double length, const Colour& colour, double alpha)
{
    for (int axis = 0; axis < 2; ++axis) {
        const double dx = axis == 0 ? length : 0.0;
        const double dy = axis == 0 ? 0.0 : length;
        cairo_pattern_t* line = cairo_pattern_create_linear(x - dx, y - dy, x + dx, y + dy);
        AddStop(line, 0.0, colour, 0.0);
        AddStop(line, 0.5, colour, alpha);
        AddStop(line, 1.0, colour, 0.0);
        cairo_set_source(cr, line);
        cairo_set_line_width(cr, 1.0);
        cairo_move_to(cr, x - dx, y - dy);
        cairo_line_to(cr, x + dx, y + dy);
        cairo_stroke(cr);
        cairo_pattern_destroy(line);
    }
}

} // namespace

void PaintStars(Canvas& canvas, uint32_t seed, int count, double brightness)
{
    Random random(seed);
    cairo_t* cr = canvas.Cr();
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    const double w = static_cast<double>(canvas.Width());
    const double h = static_cast<double>(canvas.Height());
    for (int i = 0; i < count; ++i) {
        const double x = Range(random, 0.0, w);
        const double y = Range(random, 0.0, h);
        const Colour colour = StarColour(random);
        const int size = Pick(random, 1000);
        if (size < 820) {
            // Faint dust of distant stars, one pixel each.
            const double alpha = Range(random, 0.15, 0.65) * brightness;
            SetColour(cr, colour, alpha);
            cairo_rectangle(cr, std::floor(x), std::floor(y), 1.0, 1.0);
            cairo_fill(cr);
        } else if (size < 975) {
            const double radius = Range(random, 0.8, 1.5);
            RadialBlob(cr, x, y, radius * 1.8, Scaled(colour, Range(random, 0.6, 1.0) * brightness),
                Rgb(0, 0, 0, 0.0));
        } else {
            const double radius = Range(random, 1.5, 2.6);
            RadialBlob(
                cr, x, y, radius * 5.0, Scaled(colour, 0.22 * brightness), Rgb(0, 0, 0, 0.0));
            RadialBlob(cr, x, y, radius * 1.5, Scaled(colour, brightness), Rgb(0, 0, 0, 0.0));
            if (size >= 996)
                Flare(cr, x + 0.5, y + 0.5, radius * Range(random, 4.0, 7.0), colour,
                    0.7 * brightness);
        }
    }
    cairo_restore(cr);
}

void PaintGalaxy(
    Canvas& canvas, Point centre, double radius, double flatten, double angle, uint32_t seed)
{
    Random random(seed);
    const int page = static_cast<int>(radius * 2.0) + 16;
    Canvas galaxy(page, page);
    cairo_t* cr = galaxy.Cr();
    const double middle = static_cast<double>(page) / 2.0;
    cairo_translate(cr, middle, middle);
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    // Two arms of a logarithmic spiral, sown with dots of light.
    for (int i = 0; i < 900; ++i) {
        const double along = std::pow(Uniform(random), 0.7);
        const double arm = static_cast<double>(Pick(random, 2)) * Pi;
        const double turn = arm + along * 3.4 * Pi;
        const double distance = radius * (0.08 + 0.92 * along);
        const double scatter = radius * 0.11 * (0.4 + along);
        const double x = std::cos(turn) * distance + Range(random, -scatter, scatter);
        const double y = std::sin(turn) * distance + Range(random, -scatter, scatter);
        const Colour tint = Mix(Rgb(255, 225, 190), Rgb(150, 180, 255), along);
        SetColour(cr, tint, 0.16 * (1.0 - 0.6 * along));
        cairo_arc(cr, x, y, Range(random, 0.6, 1.6), 0.0, 2.0 * Pi);
        cairo_fill(cr);
    }
    galaxy.Blur(2);
    RadialBlob(cr, 0.0, 0.0, radius * 0.35, Rgb(255, 235, 205, 0.55), Rgb(255, 210, 170, 0.0));
    RadialBlob(cr, 0.0, 0.0, radius * 0.08, Rgb(255, 250, 235, 0.8), Rgb(255, 240, 210, 0.0));

    cairo_t* target = canvas.Cr();
    cairo_save(target);
    cairo_translate(target, centre.x, centre.y);
    cairo_rotate(target, angle);
    cairo_scale(target, 1.0, flatten);
    cairo_set_source_surface(target, galaxy.Surface(), -middle, -middle);
    cairo_set_operator(target, CAIRO_OPERATOR_ADD);
    cairo_paint(target);
    cairo_restore(target);
}

Canvas PaintGameBackground()
{
    Canvas canvas(windowWidth, windowHeight);
    NebulaStyle style;
    style.seed = 0x5eed0001u;
    style.spaceTop = Rgb(7, 8, 22);
    style.spaceBottom = Rgb(3, 4, 12);
    style.cloudA = Rgb(95, 45, 140);
    style.cloudB = Rgb(20, 80, 130);
    style.highlight = Rgb(150, 80, 150);
    style.strength = 0.68;
    style.scale = 220.0;
    style.bandFrom = { -100.0, 520.0 };
    style.bandTo = { 900.0, 60.0 };
    style.bandWidth = 260.0;
    PaintNebula(canvas, style);
    PaintGalaxy(canvas, { 150.0, 120.0 }, 34.0, 0.42, -0.5, 0x5eed0003u);
    PaintStars(canvas, 0x5eed0002u, 1500, 0.9);
    return canvas;
}

Canvas PaintGameOverBackground()
{
    Canvas canvas(windowWidth, windowHeight);
    cairo_t* cr = canvas.Cr();
    // Darkest red at the rim, a thinner veil in the middle where "GAME OVER!" stands.
    cairo_pattern_t* vignette
        = cairo_pattern_create_radial(400.0, 300.0, 60.0, 400.0, 300.0, 520.0);
    AddStop(vignette, 0.0, Rgb(40, 0, 4), 0.45);
    AddStop(vignette, 0.45, Rgb(60, 2, 6), 0.62);
    AddStop(vignette, 0.8, Rgb(75, 4, 6), 0.85);
    AddStop(vignette, 1.0, Rgb(45, 0, 2), 0.96);
    cairo_set_source(cr, vignette);
    cairo_paint(cr);
    cairo_pattern_destroy(vignette);
    return canvas;
}

Canvas PaintBlackOverlay()
{
    Canvas canvas(windowWidth, windowHeight);
    cairo_set_source_rgba(canvas.Cr(), 0.0, 0.0, 0.0, 1.0);
    cairo_paint(canvas.Cr());
    return canvas;
}
