#include "datagen/images/Canvas.h"

#include <cairo-svg.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

Canvas::Canvas(int w, int h)
    : width(w)
    , height(h)
{
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error(
            "cannot create a " + std::to_string(w) + "x" + std::to_string(h) + " image");
    cr = cairo_create(surface);
}

Canvas::Canvas(cairo_surface_t* page, int w, int h)
    : width(w)
    , height(h)
    , surface(page)
{
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        throw std::runtime_error("cannot start a vector page");
    }
    cr = cairo_create(surface);
}

Canvas Canvas::SvgFile(const std::filesystem::path& file, int w, int h)
{
    cairo_surface_t* page = cairo_svg_surface_create(file.c_str(), w, h);
    // Sizes in pixels rather than cairo's default points, so the image is w by h as named.
    cairo_svg_surface_set_document_unit(page, CAIRO_SVG_UNIT_PX);
    return Canvas(page, w, h);
}

Canvas::~Canvas()
{
    Release();
}

Canvas::Canvas(Canvas&& other) noexcept
    : width(other.width)
    , height(other.height)
    , surface(other.surface)
    , cr(other.cr)
{
    other.surface = nullptr;
    other.cr = nullptr;
}

Canvas& Canvas::operator=(Canvas&& other) noexcept
{
    if (this != &other) {
        Release();
        width = other.width;
        height = other.height;
        surface = std::exchange(other.surface, nullptr);
        cr = std::exchange(other.cr, nullptr);
    }
    return *this;
}

void Canvas::Release()
{
    if (cr)
        cairo_destroy(cr);
    if (surface)
        cairo_surface_destroy(surface);
    cr = nullptr;
    surface = nullptr;
}

uint32_t* Canvas::BeginPixels()
{
    cairo_surface_flush(surface);
    return reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface));
}

void Canvas::EndPixels()
{
    cairo_surface_mark_dirty(surface);
}

int Canvas::StridePixels() const
{
    return cairo_image_surface_get_stride(surface) / 4;
}

namespace {

// One box pass over `count` pixels of four interleaved byte channels, `step` bytes apart.
void BoxLine(unsigned char* data, int count, int step, int radius, std::vector<int>& sums)
{
    sums.assign(static_cast<size_t>(count + 1) * 4, 0);
    for (int i = 0; i < count; ++i)
        for (int c = 0; c < 4; ++c)
            sums[static_cast<size_t>(i + 1) * 4 + c]
                = sums[static_cast<size_t>(i) * 4 + c] + data[i * step + c];
    const int window = 2 * radius + 1;
    for (int i = 0; i < count; ++i) {
        const size_t hi = static_cast<size_t>(std::min(count, i + radius + 1)) * 4;
        const size_t lo = static_cast<size_t>(std::max(0, i - radius)) * 4;
        for (int c = 0; c < 4; ++c) {
            const int total = sums[hi + c] - sums[lo + c];
            data[i * step + c] = static_cast<unsigned char>((total + window / 2) / window);
        }
    }
}

} // namespace

void Canvas::Blur(int radius)
{
    if (radius <= 0)
        return;
    // Three passes of a box a third as wide come close to a gaussian of the full radius.
    const int box = std::max(1, radius / 2);
    auto* bytes = reinterpret_cast<unsigned char*>(BeginPixels());
    const int stride = cairo_image_surface_get_stride(surface);
    std::vector<int> sums;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < height; ++y)
            BoxLine(bytes + y * stride, width, 4, box, sums);
        for (int x = 0; x < width; ++x)
            BoxLine(bytes + x * 4, height, stride, box, sums);
    }
    EndPixels();
}

void Canvas::PaintOnto(
    cairo_t* target, double x, double y, cairo_operator_t op, double opacity) const
{
    cairo_save(target);
    cairo_set_operator(target, op);
    cairo_set_source_surface(target, surface, x, y);
    cairo_paint_with_alpha(target, opacity);
    cairo_restore(target);
}

void Canvas::Fade(double factor)
{
    const int scale = static_cast<int>(std::clamp(factor, 0.0, 1.0) * 256.0);
    auto* bytes = reinterpret_cast<unsigned char*>(BeginPixels());
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y)
        for (int i = 0; i < width * 4; ++i) {
            unsigned char& b = bytes[y * stride + i];
            b = static_cast<unsigned char>((b * scale) >> 8);
        }
    EndPixels();
}

Canvas Canvas::Copy() const
{
    Canvas copy(width, height);
    PaintOnto(copy.cr, 0.0, 0.0, CAIRO_OPERATOR_SOURCE, 1.0);
    return copy;
}

void Canvas::WritePng(const std::filesystem::path& file) const
{
    cairo_surface_flush(surface);
    if (cairo_surface_write_to_png(surface, file.c_str()) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot write " + file.string());
}
