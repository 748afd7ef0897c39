#include "datagen/images/ShieldPainter.h"

#include "datagen/images/Paint.h"

#include <cmath>

namespace {

const Colour shieldCyan = Rgb(80, 200, 255);
const Colour shieldPale = Rgb(170, 235, 255);

// Honeycomb lines covering a square of half size `extent`.
void HexGrid(cairo_t* cr, double cell, double extent)
{
    const double h = cell * std::sqrt(3.0) / 2.0;
    cairo_new_path(cr);
    for (int row = -static_cast<int>(extent / h) - 1; row <= static_cast<int>(extent / h) + 1;
         ++row) {
        const double y = static_cast<double>(row) * h;
        const double shift = (row % 2 == 0) ? 0.0 : cell * 1.5;
        for (int col = -static_cast<int>(extent / (3.0 * cell)) - 2;
             col <= static_cast<int>(extent / (3.0 * cell)) + 2; ++col) {
            const double x = static_cast<double>(col) * 3.0 * cell + shift;
            // One hexagon's upper three edges; the neighbours close the rest.
            cairo_move_to(cr, x - cell, y);
            cairo_line_to(cr, x - cell / 2.0, y - h);
            cairo_line_to(cr, x + cell / 2.0, y - h);
            cairo_line_to(cr, x + cell, y);
            cairo_line_to(cr, x + cell / 2.0, y + h);
            cairo_line_to(cr, x - cell / 2.0, y + h);
            cairo_close_path(cr);
        }
    }
}

// The bubble at rest plus a hit: `flash` 0 to 1 lights it up, `ripple` 0 to 1 is the ring
// running outward from the centre.
Canvas ShieldFrame(double flash, double ripple)
{
    const double radius = 44.0;
    Canvas canvas = Centred(104, 104);
    cairo_t* cr = canvas.Cr();

    // Glow of the rim, stronger in a hit.
    AddGlow(
        canvas,
        [&](cairo_t* c) {
            cairo_arc(c, 0.0, 0.0, radius, 0.0, 2.0 * Pi);
            SetColour(c, Mix(shieldCyan, Rgb(255, 255, 255), flash * 0.6), 0.7 + 0.3 * flash);
            cairo_set_line_width(c, 3.0 + 3.0 * flash);
            cairo_stroke(c);
        },
        5, 1.0);

    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    // The inside: clear at the centre, thicker towards the rim, like a lit soap bubble.
    cairo_arc(cr, 0.0, 0.0, radius, 0.0, 2.0 * Pi);
    FillWith(cr,
        Radial(0.0, 0.0, 0.0, 0.0, 0.0, radius,
            { { 0.0, Rgb(40, 150, 255, 0.02 + 0.25 * flash) },
                { 0.65, Rgb(40, 150, 255, 0.07 + 0.25 * flash) },
                { 1.0, Rgb(90, 200, 255, 0.32 + 0.3 * flash) } }));
    cairo_clip(cr);
    // Honeycomb, faint at rest and lit by the hit.
    cairo_push_group(cr);
    HexGrid(cr, 6.0, radius + 6.0);
    SetColour(cr, shieldPale);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    cairo_pop_group_to_source(cr);
    cairo_pattern_t* fadeMask = Radial(0.0, 0.0, radius * 0.3, 0.0, 0.0, radius,
        { { 0.0, Rgb(0, 0, 0, 0.02 + 0.3 * flash) }, { 1.0, Rgb(0, 0, 0, 0.3 + 0.6 * flash) } });
    cairo_mask(cr, fadeMask);
    cairo_pattern_destroy(fadeMask);
    // The ripple of the hit.
    if (flash > 0.0) {
        const double r = radius * (0.15 + 0.85 * ripple);
        cairo_new_path(cr);
        cairo_arc(cr, 0.0, 0.0, r, 0.0, 2.0 * Pi);
        SetColour(cr, Rgb(220, 250, 255), 0.7 * (1.0 - ripple) + 0.1);
        cairo_set_line_width(cr, 2.0 + 4.0 * (1.0 - ripple));
        cairo_stroke(cr);
    }
    cairo_reset_clip(cr);
    cairo_restore(cr);

    // The rim line and a highlight on its upper left.
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    cairo_new_path(cr);
    cairo_arc(cr, 0.0, 0.0, radius - 0.5, 0.0, 2.0 * Pi);
    SetColour(cr, Mix(shieldPale, Rgb(255, 255, 255), flash), 0.75 + 0.25 * flash);
    cairo_set_line_width(cr, 1.4 + flash);
    cairo_stroke(cr);
    cairo_new_path(cr);
    cairo_arc(cr, 0.0, 0.0, radius * 0.84, Pi * 1.12, Pi * 1.38);
    SetColour(cr, Rgb(255, 255, 255), 0.35);
    cairo_set_line_width(cr, 2.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    cairo_restore(cr);
    return canvas;
}

// A heater shield of the given height around the origin, left in the path.
void EmblemPath(cairo_t* cr, double height)
{
    const double h = height / 2.0;
    const double w = height * 0.4;
    cairo_new_path(cr);
    cairo_move_to(cr, 0.0, -h);
    cairo_curve_to(cr, w * 0.45, -h * 0.78, w * 0.8, -h * 0.8, w, -h * 0.85);
    cairo_curve_to(cr, w * 1.05, -h * 0.1, w * 0.85, h * 0.5, 0.0, h);
    cairo_curve_to(cr, -w * 0.85, h * 0.5, -w * 1.05, -h * 0.1, -w, -h * 0.85);
    cairo_curve_to(cr, -w * 0.8, -h * 0.8, -w * 0.45, -h * 0.78, 0.0, -h);
    cairo_close_path(cr);
}

// The shield emblem: cyan body, white border, a bright cross on it and a soft glow.
void Emblem(Canvas& canvas, double height, double glow, double sheen)
{
    cairo_t* cr = canvas.Cr();
    AddGlow(
        canvas,
        [&](cairo_t* c) {
            EmblemPath(c, height * 1.05);
            SetColour(c, Rgb(40, 170, 255), glow);
            cairo_fill(c);
        },
        static_cast<int>(height * 0.25) + 1, 1.0);
    EmblemPath(cr, height);
    SetColour(cr, Rgb(0, 20, 50, 0.9));
    cairo_set_line_width(cr, 2.4);
    cairo_stroke_preserve(cr);
    FillWith(cr,
        Linear(-height * 0.3, -height * 0.5, height * 0.3, height * 0.5,
            { { 0.0, Rgb(130, 225, 255) }, { 0.5, Rgb(30, 140, 235) },
                { 1.0, Rgb(10, 60, 150) } }));
    SetColour(cr, Rgb(235, 250, 255));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    // Inset cross.
    const double s = height / 26.0;
    cairo_new_path(cr);
    cairo_rectangle(cr, -1.6 * s, -7.5 * s, 3.2 * s, 14.0 * s);
    cairo_rectangle(cr, -6.0 * s, -2.6 * s, 12.0 * s, 3.2 * s);
    SetColour(cr, Rgb(240, 252, 255, 0.95));
    cairo_fill(cr);
    // A sheen band sweeping over the face.
    if (sheen > -1.0) {
        cairo_save(cr);
        EmblemPath(cr, height - 1.5);
        cairo_clip(cr);
        const double x = sheen * height;
        cairo_pattern_t* band
            = Linear(x - height * 0.3, -height * 0.5, x + height * 0.3, height * 0.5,
                { { 0.0, Rgb(255, 255, 255, 0.0) }, { 0.5, Rgb(255, 255, 255, 0.55) },
                    { 1.0, Rgb(255, 255, 255, 0.0) } });
        cairo_set_source(cr, band);
        cairo_paint(cr);
        cairo_pattern_destroy(band);
        cairo_restore(cr);
    }
}

} // namespace

std::vector<Canvas> PaintPlayerShield()
{
    std::vector<Canvas> frames;
    frames.push_back(ShieldFrame(0.0, 0.0));
    const int flashFrames = 10;
    for (int i = 0; i < flashFrames; ++i) {
        const double t = static_cast<double>(i) / static_cast<double>(flashFrames);
        frames.push_back(ShieldFrame(std::pow(1.0 - t, 1.6), EaseOut(t + 0.1)));
    }
    frames.push_back(ShieldFrame(0.0, 0.0));
    return frames;
}

std::vector<Canvas> PaintShieldIcon()
{
    std::vector<Canvas> frames;
    const int count = 10;
    for (int i = 0; i < count; ++i) {
        Canvas frame = Centred(32, 32);
        if (i > 0) {
            const double t = static_cast<double>(i) / static_cast<double>(count - 1);
            // Grows with a small overshoot and settles exactly at full size on the last frame.
            const double back = 1.8;
            const double u = t - 1.0;
            const double scale = 1.0 + (back + 1.0) * u * u * u + back * u * u;
            cairo_scale(frame.Cr(), scale, scale);
            Emblem(frame, 26.0, Clamp01(t * 1.5) * 0.9, -2.0);
            if (i < count - 1)
                frame.Fade(Clamp01(t * 2.2));
        }
        frames.push_back(std::move(frame));
    }
    return frames;
}

std::vector<Canvas> PaintShieldPickup()
{
    std::vector<Canvas> frames;
    const int count = 16;
    for (int i = 0; i < count; ++i) {
        const double phase = static_cast<double>(i) / static_cast<double>(count);
        const double pulse = 0.5 - 0.5 * std::cos(2.0 * Pi * phase);
        Canvas frame = Centred(48, 48);
        cairo_t* cr = frame.Cr();
        const double ringRadius = 16.0 + 1.2 * pulse;
        AddGlow(
            frame,
            [&](cairo_t* c) {
                cairo_arc(c, 0.0, 0.0, ringRadius, 0.0, 2.0 * Pi);
                SetColour(c, shieldCyan, 0.6 + 0.4 * pulse);
                cairo_set_line_width(c, 3.0 + 2.0 * pulse);
                cairo_stroke(c);
            },
            5, 1.0);
        cairo_save(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
        cairo_arc(cr, 0.0, 0.0, ringRadius, 0.0, 2.0 * Pi);
        FillWith(cr,
            Radial(0.0, 0.0, 0.0, 0.0, 0.0, ringRadius,
                { { 0.0, Rgb(30, 120, 255, 0.05) }, { 1.0, Rgb(60, 180, 255, 0.3) } }));
        SetColour(cr, Mix(shieldPale, Rgb(255, 255, 255), pulse), 0.85);
        cairo_set_line_width(cr, 1.3);
        cairo_stroke(cr);
        cairo_restore(cr);
        const double scale = 1.0 + 0.06 * pulse;
        cairo_save(cr);
        cairo_scale(cr, scale, scale);
        Emblem(frame, 21.0, 0.5 + 0.5 * pulse, -1.6 + 3.2 * phase);
        cairo_restore(cr);
        // A glint running around the ring.
        const double angle = 2.0 * Pi * phase - Pi / 2.0;
        const double gx = std::cos(angle) * ringRadius;
        const double gy = std::sin(angle) * ringRadius;
        cairo_save(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
        RadialBlob(cr, gx, gy, 4.0, Rgb(255, 255, 255), Rgb(120, 220, 255, 0.0));
        for (int axis = 0; axis < 2; ++axis) {
            const double dx = axis == 0 ? 5.0 : 0.0;
            const double dy = axis == 0 ? 0.0 : 5.0;
            cairo_move_to(cr, gx - dx, gy - dy);
            cairo_line_to(cr, gx + dx, gy + dy);
        }
        SetColour(cr, Rgb(255, 255, 255), 0.8);
        cairo_set_line_width(cr, 1.0);
        cairo_stroke(cr);
        cairo_restore(cr);
        frames.push_back(std::move(frame));
    }
    return frames;
}
