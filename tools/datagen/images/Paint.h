#pragma once

#include "base/Random.h"
#include "datagen/images/Canvas.h"

#include <cairo.h>

#include <functional>
#include <vector>

// Small drawing vocabulary shared by every painter: colours, random numbers, paths and glow.

struct Colour {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
    double a = 1.0;
};

struct Point {
    double x = 0.0;
    double y = 0.0;
};

// A colour from 0-255 channels.
Colour Rgb(int r, int g, int b, double a = 1.0);
Colour Mix(const Colour& from, const Colour& to, double t);
Colour Scaled(const Colour& c, double factor);
Colour WithAlpha(const Colour& c, double alpha);
void SetColour(cairo_t* cr, const Colour& c, double alpha = 1.0);
void AddStop(cairo_pattern_t* pattern, double offset, const Colour& c, double alpha = 1.0);

// Random numbers built on the game's own generator, so every asset replays from its seed.
double Uniform(Random& random);
double Range(Random& random, double lo, double hi);
int Pick(Random& random, int count);

double Clamp01(double v);
double Smoothstep(double edge0, double edge1, double v);
double EaseOut(double t);

constexpr double Pi = 3.14159265358979323846;

// A closed outline from its right half, listed from the top centre down to the bottom
// centre; the left half is its mirror image. Leaves the path in `cr`.
void MirroredPath(cairo_t* cr, const std::vector<Point>& rightHalf);
void PolygonPath(cairo_t* cr, const std::vector<Point>& points);

// Fills a disc with a radial gradient from `inner` at the centre to `outer` at the edge.
void RadialBlob(
    cairo_t* cr, double x, double y, double radius, const Colour& inner, const Colour& outer);

// How light is added onto the page of `cr`: ADD on a page of pixels. A vector page (the SVG
// icon) lays it OVER instead, as SVG cannot add light and cairo would otherwise turn the whole
// page into one bitmap.
cairo_operator_t LightOperator(cairo_t* cr);

// Draws with `draw` on a scratch canvas the size of `target`, blurs it and adds it to the
// target (with LightOperator): the soft light around engines, lamps and energy.
void AddGlow(
    Canvas& target, const std::function<void(cairo_t*)>& draw, int blurRadius, double strength);
void AddGlow(Canvas& target, const std::function<void(cairo_t*)>& draw, int blurRadius,
    double strength, cairo_operator_t op);

// A blank canvas whose origin is its centre: every sprite is painted around (0, 0).
Canvas Centred(int width, int height);

// Fills the current path with a dark rim beneath (the outline that keeps a silhouette
// readable on bright nebula), then the given fill pattern; the path stays.
void HullFill(cairo_t* cr, cairo_pattern_t* fill, const Colour& outline, double outlineWidth);

// A light edge along the top of the current path: light falls from above.
void TopLight(cairo_t* cr, double top, double bottom, const Colour& light, double width);

// A small lamp: a bright dot with a halo whose blur grows with `glowScale`.
void Lamp(
    Canvas& canvas, double x, double y, double radius, const Colour& colour, double glowScale);

struct Stop {
    double offset = 0.0;
    Colour colour;
};

// Gradients as one expression; the caller owns the pattern (see FillWith).
cairo_pattern_t* Linear(double x0, double y0, double x1, double y1, const std::vector<Stop>& stops);
cairo_pattern_t* Radial(double x0, double y0, double r0, double x1, double y1, double r1,
    const std::vector<Stop>& stops);

// Fills the current path with `pattern` and destroys the pattern; the path stays.
void FillWith(cairo_t* cr, cairo_pattern_t* pattern);
// Strokes the current path with `pattern` and destroys the pattern; the path stays.
void StrokeWith(cairo_t* cr, cairo_pattern_t* pattern, double width);
