#pragma once

#include <cairo.h>

#include <cstdint>
#include <filesystem>

// One ARGB32 cairo image with its drawing context: the page every frame is painted on.
// Pixels are premultiplied, as cairo keeps them.
class Canvas {
public:
    Canvas(int width, int height);
    // A page of vector graphics written to `file` as SVG when the canvas goes. Only its
    // drawing context serves: it has no pixels to blur, fade or copy.
    static Canvas SvgFile(const std::filesystem::path& file, int width, int height);
    ~Canvas();
    Canvas(Canvas&& other) noexcept;
    Canvas& operator=(Canvas&& other) noexcept;
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* Cr() const { return cr; }
    cairo_surface_t* Surface() const { return surface; }
    int Width() const { return width; }
    int Height() const { return height; }

    // Direct pixel access; callers flush before and mark dirty after (Begin/EndPixels).
    uint32_t* BeginPixels();
    void EndPixels();
    int StridePixels() const;

    // Approximates a gaussian of the given radius with three box passes per axis. Everything
    // outside the canvas counts as transparent, so sprites fade out towards their margins.
    void Blur(int radius);

    // Paints this canvas onto `target` at (x, y) with the given operator and opacity.
    void PaintOnto(cairo_t* target, double x, double y, cairo_operator_t op, double opacity) const;

    // Multiplies every pixel (colour and alpha) by `factor`, 0 to 1.
    void Fade(double factor);

    Canvas Copy() const;

    void WritePng(const std::filesystem::path& file) const;

private:
    Canvas(cairo_surface_t* page, int width, int height);
    void Release();

    int width = 0;
    int height = 0;
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
};
