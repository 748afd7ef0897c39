#include "datagen/images/DebrisPainter.h"

#include <algorithm>
#include <cmath>
#include <vector>

Canvas PaintDebris(const DebrisStyle& style)
{
    Random random(style.seed);
    Canvas canvas = Centred(style.frame, style.frame);
    cairo_t* cr = canvas.Cr();
    cairo_rotate(cr, Range(random, 0.0, 2.0 * Pi));

    // A jagged outline: corners at uneven angles and distances.
    const int corners = 5 + Pick(random, 4);
    std::vector<Point> outline;
    const double step = 2.0 * Pi / static_cast<double>(corners);
    for (int i = 0; i < corners; ++i) {
        const double angle = step * (static_cast<double>(i) + Range(random, -0.3, 0.3));
        const double distance = style.radius * Range(random, 0.6, 1.0);
        outline.push_back(
            { std::cos(angle) * distance, std::sin(angle) * distance * style.stretch });
    }
    const double r = style.radius;

    // Tiny chips are just a bright fleck.
    if (r < 3.5) {
        AddGlow(
            canvas,
            [&](cairo_t* c) {
                PolygonPath(c, outline);
                SetColour(c, style.accent, 0.8);
                cairo_fill(c);
            },
            2, 1.0);
        PolygonPath(cr, outline);
        FillWith(cr, Linear(-r, -r, r, r, { { 0.0, style.light }, { 1.0, style.dark } }));
        cairo_new_path(cr);
        return canvas;
    }

    const int hotStart = Pick(random, corners);
    if (style.hotEdge) {
        // The torn edge still glows.
        AddGlow(
            canvas,
            [&](cairo_t* c) {
                cairo_new_path(c);
                const Point& a = outline[static_cast<size_t>(hotStart)];
                const Point& b = outline[static_cast<size_t>((hotStart + 1) % corners)];
                const Point& d = outline[static_cast<size_t>((hotStart + 2) % corners)];
                cairo_move_to(c, a.x, a.y);
                cairo_line_to(c, b.x, b.y);
                cairo_line_to(c, d.x, d.y);
                SetColour(c, Rgb(255, 120, 30));
                cairo_set_line_width(c, 2.5);
                cairo_stroke(c);
            },
            std::max(2, static_cast<int>(r / 4.0)), 0.9);
    }

    PolygonPath(cr, outline);
    SetColour(cr, Rgb(8, 6, 12, 0.9));
    cairo_set_line_width(cr, 1.2);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
    FillWith(cr,
        Linear(-r, -r, r, r,
            { { 0.0, style.light }, { 0.55, Mix(style.light, style.dark, 0.55) },
                { 1.0, style.dark } }));
    cairo_save(cr);
    cairo_clip(cr);
    // A painted stripe across the plate and a seam or two.
    const double stripe = Range(random, -0.4, 0.4) * r;
    cairo_new_path(cr);
    cairo_move_to(cr, -r, stripe - r * 0.3);
    cairo_line_to(cr, r, stripe + r * 0.3);
    SetColour(cr, style.accent, 0.9);
    cairo_set_line_width(cr, std::max(1.0, r * 0.18));
    cairo_stroke(cr);
    const int seams = 1 + Pick(random, 2);
    for (int i = 0; i < seams; ++i) {
        const double x = Range(random, -0.6, 0.6) * r;
        cairo_move_to(cr, x, -r);
        cairo_line_to(cr, x + Range(random, -0.3, 0.3) * r, r);
    }
    SetColour(cr, Rgb(10, 8, 16, 0.55));
    cairo_set_line_width(cr, std::max(0.7, r * 0.07));
    cairo_stroke(cr);
    cairo_restore(cr);
    // A glint along one edge catches the light as the piece spins.
    const Point& a = outline[static_cast<size_t>((hotStart + corners / 2) % corners)];
    const Point& b = outline[static_cast<size_t>((hotStart + corners / 2 + 1) % corners)];
    cairo_new_path(cr);
    cairo_move_to(cr, a.x, a.y);
    cairo_line_to(cr, b.x, b.y);
    SetColour(cr, Rgb(255, 255, 255), 0.6);
    cairo_set_line_width(cr, 0.9);
    cairo_stroke(cr);
    return canvas;
}
