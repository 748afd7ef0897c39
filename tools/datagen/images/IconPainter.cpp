#include "datagen/images/IconPainter.h"

#include "datagen/images/Paint.h"
#include "datagen/images/ShipPainter.h"

#include <algorithm>

namespace {

// The ship's extent in its own units, flames included: x -27 to 27, y -33 to 32.
constexpr double shipHeight = 66.0;

void Backdrop(cairo_t* cr, double size)
{
    const double centre = size / 2.0;
    const double radius = size * 0.47;
    cairo_new_path(cr);
    cairo_arc(cr, centre, centre, radius, 0.0, 2.0 * Pi);
    FillWith(cr,
        Radial(centre, centre * 0.8, 0.0, centre, centre, radius,
            { { 0.0, Rgb(34, 52, 110) }, { 0.6, Rgb(14, 22, 58) }, { 1.0, Rgb(6, 9, 28) } }));
    SetColour(cr, Rgb(90, 160, 255, 0.55));
    cairo_set_line_width(cr, std::max(1.0, size / 64.0));
    cairo_stroke(cr);

    // A few stars, placed by hand so that every size shows the same sky; the smallest
    // icons would only blur them, so they start at 32 pixels.
    if (size < 32.0)
        return;
    const Point stars[] = { { 0.22, 0.30 }, { 0.78, 0.24 }, { 0.30, 0.78 }, { 0.74, 0.70 },
        { 0.16, 0.55 }, { 0.86, 0.48 }, { 0.60, 0.14 } };
    for (const Point& star : stars)
        RadialBlob(cr, star.x * size, star.y * size, std::max(0.8, size / 90.0), Rgb(235, 245, 255),
            Rgb(160, 200, 255, 0.0));
}

} // namespace

void DrawIcon(Canvas& canvas)
{
    const double size = std::min(canvas.Width(), canvas.Height());
    cairo_t* cr = canvas.Cr();
    Backdrop(cr, size);

    const double scale = size * 0.8 / shipHeight;
    cairo_save(cr);
    cairo_translate(cr, size / 2.0, size / 2.0);
    cairo_scale(cr, scale, scale);
    // Flames at their mean length and full strength; glows grow with the ship.
    DrawPlayerShip(canvas, 13.0, 1.0, scale);
    cairo_restore(cr);
}
