#include "datagen/images/ShotPainter.h"

#include "datagen/images/Paint.h"

namespace {

// A capsule from y0 to y1 (centre line x = 0) of the given half width.
void CapsulePath(cairo_t* cr, double halfWidth, double y0, double y1)
{
    cairo_new_path(cr);
    cairo_arc(cr, 0.0, y0 + halfWidth, halfWidth, Pi, 2.0 * Pi);
    cairo_arc(cr, 0.0, y1 - halfWidth, halfWidth, 0.0, Pi);
    cairo_close_path(cr);
}

// A glowing bolt: a wide soft halo, a coloured body and a white core, brightest at `head`.
Canvas Bolt(int width, int height, double halfWidth, double length, const Colour& glow,
    const Colour& body, bool headUp)
{
    Canvas canvas = Centred(width, height);
    const double y0 = -length / 2.0;
    const double y1 = length / 2.0;
    const double head = headUp ? y0 : y1;
    const double tail = headUp ? y1 : y0;
    AddGlow(
        canvas,
        [&](cairo_t* cr) {
            CapsulePath(cr, halfWidth * 1.7, y0 - 1.0, y1 + 1.0);
            SetColour(cr, glow);
            cairo_fill(cr);
        },
        4, 1.0);
    cairo_t* cr = canvas.Cr();
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    CapsulePath(cr, halfWidth, y0, y1);
    FillWith(cr, Linear(0.0, head, 0.0, tail, { { 0.0, body }, { 1.0, WithAlpha(body, 0.35) } }));
    CapsulePath(cr, halfWidth * 0.45, y0 + 1.0, y1 - 1.0);
    FillWith(cr,
        Linear(0.0, head, 0.0, tail,
            { { 0.0, Rgb(255, 255, 255) }, { 0.7, Rgb(255, 255, 255, 0.8) },
                { 1.0, Rgb(255, 255, 255, 0.1) } }));
    cairo_new_path(cr);
    return canvas;
}

// A glowing orb with a white-hot core and a brighter rim.
Canvas Orb(int size, double radius, const Colour& glow, const Colour& body, const Colour& rim)
{
    Canvas canvas = Centred(size, size);
    AddGlow(
        canvas,
        [&](cairo_t* cr) {
            cairo_arc(cr, 0.0, 0.0, radius * 1.6, 0.0, 2.0 * Pi);
            SetColour(cr, glow);
            cairo_fill(cr);
        },
        static_cast<int>(radius * 0.9) + 2, 1.0);
    cairo_t* cr = canvas.Cr();
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    RadialBlob(cr, 0.0, 0.0, radius, body, Scaled(rim, 0.8));
    cairo_arc(cr, 0.0, 0.0, radius - 0.5, 0.0, 2.0 * Pi);
    SetColour(cr, rim, 0.9);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    RadialBlob(cr, 0.0, 0.0, radius * 0.6, Rgb(255, 255, 255), Rgb(255, 255, 255, 0.0));
    return canvas;
}

} // namespace

Canvas PaintPlayerShot()
{
    return Bolt(12, 30, 2.3, 20.0, Rgb(30, 140, 255), Rgb(110, 230, 255), true);
}

Canvas PaintMediumShot()
{
    return Bolt(14, 24, 2.8, 14.0, Rgb(255, 110, 20), Rgb(255, 200, 60), false);
}

Canvas PaintSmallShot()
{
    return Orb(16, 3.8, Rgb(255, 30, 170), Rgb(255, 140, 230), Rgb(255, 60, 200));
}

Canvas PaintBigShot()
{
    Canvas canvas = Orb(22, 5.0, Rgb(255, 50, 20), Rgb(255, 220, 140), Rgb(255, 80, 30));
    // A thin outer ring makes it read as heavier than the small enemy's orbs.
    cairo_t* cr = canvas.Cr();
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    cairo_new_path(cr);
    cairo_arc(cr, 0.0, 0.0, 7.6, 0.0, 2.0 * Pi);
    SetColour(cr, Rgb(255, 120, 50), 0.8);
    cairo_set_line_width(cr, 1.1);
    cairo_stroke(cr);
    return canvas;
}
