#include "datagen/images/Paint.h"

#include <algorithm>

Colour Rgb(int r, int g, int b, double a)
{
    return { static_cast<double>(r) / 255.0, static_cast<double>(g) / 255.0,
        static_cast<double>(b) / 255.0, a };
}

Colour Mix(const Colour& from, const Colour& to, double t)
{
    return { from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t,
        from.b + (to.b - from.b) * t, from.a + (to.a - from.a) * t };
}

Colour Scaled(const Colour& c, double factor)
{
    return { c.r * factor, c.g * factor, c.b * factor, c.a };
}

Colour WithAlpha(const Colour& c, double alpha)
{
    return { c.r, c.g, c.b, alpha };
}

void SetColour(cairo_t* cr, const Colour& c, double alpha)
{
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a * alpha);
}

void AddStop(cairo_pattern_t* pattern, double offset, const Colour& c, double alpha)
{
    cairo_pattern_add_color_stop_rgba(pattern, offset, c.r, c.g, c.b, c.a * alpha);
}

double Uniform(Random& random)
{
    return static_cast<double>(random.Next()) / static_cast<double>(Random::Max);
}

double Range(Random& random, double lo, double hi)
{
    return lo + (hi - lo) * Uniform(random);
}

int Pick(Random& random, int count)
{
    return random.Next() % count;
}

double Clamp01(double v)
{
    return std::clamp(v, 0.0, 1.0);
}

double Smoothstep(double edge0, double edge1, double v)
{
    const double t = Clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

double EaseOut(double t)
{
    const double u = 1.0 - Clamp01(t);
    return 1.0 - u * u * u;
}

void MirroredPath(cairo_t* cr, const std::vector<Point>& rightHalf)
{
    cairo_new_path(cr);
    for (size_t i = 0; i < rightHalf.size(); ++i) {
        if (i == 0)
            cairo_move_to(cr, rightHalf[i].x, rightHalf[i].y);
        else
            cairo_line_to(cr, rightHalf[i].x, rightHalf[i].y);
    }
    for (size_t i = rightHalf.size(); i-- > 0;)
        cairo_line_to(cr, -rightHalf[i].x, rightHalf[i].y);
    cairo_close_path(cr);
}

void PolygonPath(cairo_t* cr, const std::vector<Point>& points)
{
    cairo_new_path(cr);
    for (size_t i = 0; i < points.size(); ++i) {
        if (i == 0)
            cairo_move_to(cr, points[i].x, points[i].y);
        else
            cairo_line_to(cr, points[i].x, points[i].y);
    }
    cairo_close_path(cr);
}

void RadialBlob(
    cairo_t* cr, double x, double y, double radius, const Colour& inner, const Colour& outer)
{
    cairo_pattern_t* gradient = cairo_pattern_create_radial(x, y, 0.0, x, y, radius);
    AddStop(gradient, 0.0, inner);
    AddStop(gradient, 1.0, outer);
    cairo_set_source(cr, gradient);
    cairo_new_path(cr);
    cairo_arc(cr, x, y, radius, 0.0, 2.0 * Pi);
    cairo_fill(cr);
    cairo_pattern_destroy(gradient);
}

cairo_operator_t LightOperator(cairo_t* cr)
{
    return cairo_surface_get_type(cairo_get_target(cr)) == CAIRO_SURFACE_TYPE_IMAGE
        ? CAIRO_OPERATOR_ADD
        : CAIRO_OPERATOR_OVER;
}

void AddGlow(
    Canvas& target, const std::function<void(cairo_t*)>& draw, int blurRadius, double strength)
{
    AddGlow(target, draw, blurRadius, strength, LightOperator(target.Cr()));
}

void AddGlow(Canvas& target, const std::function<void(cairo_t*)>& draw, int blurRadius,
    double strength, cairo_operator_t op)
{
    Canvas scratch(target.Width(), target.Height());
    cairo_t* cr = scratch.Cr();
    // The scratch page shares the target's transform, so callers draw in their own units.
    cairo_matrix_t matrix;
    cairo_get_matrix(target.Cr(), &matrix);
    cairo_set_matrix(cr, &matrix);
    draw(cr);
    scratch.Blur(blurRadius);
    cairo_save(target.Cr());
    cairo_identity_matrix(target.Cr());
    scratch.PaintOnto(target.Cr(), 0.0, 0.0, op, strength);
    cairo_restore(target.Cr());
}

cairo_pattern_t* Linear(double x0, double y0, double x1, double y1, const std::vector<Stop>& stops)
{
    cairo_pattern_t* pattern = cairo_pattern_create_linear(x0, y0, x1, y1);
    for (const Stop& stop : stops)
        AddStop(pattern, stop.offset, stop.colour);
    return pattern;
}

cairo_pattern_t* Radial(double x0, double y0, double r0, double x1, double y1, double r1,
    const std::vector<Stop>& stops)
{
    cairo_pattern_t* pattern = cairo_pattern_create_radial(x0, y0, r0, x1, y1, r1);
    for (const Stop& stop : stops)
        AddStop(pattern, stop.offset, stop.colour);
    return pattern;
}

void FillWith(cairo_t* cr, cairo_pattern_t* pattern)
{
    cairo_set_source(cr, pattern);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(pattern);
}

void StrokeWith(cairo_t* cr, cairo_pattern_t* pattern, double width)
{
    cairo_set_source(cr, pattern);
    cairo_set_line_width(cr, width);
    cairo_stroke_preserve(cr);
    cairo_pattern_destroy(pattern);
}

Canvas Centred(int width, int height)
{
    Canvas canvas(width, height);
    cairo_translate(
        canvas.Cr(), static_cast<double>(width) / 2.0, static_cast<double>(height) / 2.0);
    return canvas;
}

void HullFill(cairo_t* cr, cairo_pattern_t* fill, const Colour& outline, double outlineWidth)
{
    SetColour(cr, outline);
    cairo_set_line_width(cr, outlineWidth);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
    FillWith(cr, fill);
}

void TopLight(cairo_t* cr, double top, double bottom, const Colour& light, double width)
{
    cairo_save(cr);
    cairo_clip_preserve(cr);
    StrokeWith(cr,
        Linear(0.0, top, 0.0, bottom, { { 0.0, light }, { 1.0, WithAlpha(light, 0.0) } }), width);
    cairo_restore(cr);
}

void Lamp(Canvas& canvas, double x, double y, double radius, const Colour& colour, double glowScale)
{
    AddGlow(
        canvas,
        [&](cairo_t* cr) {
            cairo_arc(cr, x, y, radius * 1.8, 0.0, 2.0 * Pi);
            SetColour(cr, colour);
            cairo_fill(cr);
        },
        static_cast<int>(4.0 * glowScale), 1.0);
    RadialBlob(canvas.Cr(), x, y, radius, Rgb(255, 255, 255), colour);
}
