#include "datagen/images/ExplosionPainter.h"

#include "datagen/images/Noise.h"

#include <algorithm>
#include <cmath>

namespace {

// Colour of burning gas by temperature: 1 white-hot, 0 a dull ember.
Colour Fire(double temperature)
{
    static const Colour ramp[] = { Rgb(70, 14, 8), Rgb(165, 32, 10), Rgb(235, 85, 18),
        Rgb(255, 165, 45), Rgb(255, 235, 140), Rgb(255, 255, 235) };
    const double t = Clamp01(temperature) * 5.0;
    const int index = std::min(4, static_cast<int>(t));
    return Mix(ramp[index], ramp[index + 1], t - static_cast<double>(index));
}

struct Blob {
    double angle, distance, radius, delay, rate, blast, warmth;
};

struct Spark {
    double angle, speed, length, life, delay;
};

struct Blast {
    double x, y, delay, scale;
};

} // namespace

std::vector<Canvas> PaintExplosion(const ExplosionStyle& style)
{
    Random random(style.seed);
    const double half = static_cast<double>(style.size) / 2.0;
    const double reach = half * 0.7; // the fireball's own radius; sparks fly further

    std::vector<Blast> blasts = { { 0.0, 0.0, 0.0, 1.0 } };
    for (int i = 1; i < style.blasts; ++i) {
        const double angle = Range(random, 0.0, 2.0 * Pi);
        const double distance = Range(random, 0.25, 0.45) * reach;
        blasts.push_back({ std::cos(angle) * distance, std::sin(angle) * distance,
            0.1 + 0.12 * static_cast<double>(i - 1) + Range(random, 0.0, 0.05),
            Range(random, 0.5, 0.65) });
    }
    std::vector<Blob> fire;
    for (int i = 0; i < style.fireBlobs; ++i)
        fire.push_back({ Range(random, 0.0, 2.0 * Pi), std::sqrt(Uniform(random)) * 0.75 * reach,
            Range(random, 0.2, 0.38) * reach, Range(random, 0.0, 0.1), Range(random, 0.8, 1.25),
            static_cast<double>(Pick(random, style.blasts)), Range(random, -0.2, 0.1) });
    std::vector<Blob> smoke;
    for (int i = 0; i < style.smokeBlobs; ++i)
        smoke.push_back({ Range(random, 0.0, 2.0 * Pi), Range(random, 0.15, 0.75) * reach,
            Range(random, 0.25, 0.42) * reach, Range(random, 0.12, 0.3), Range(random, 0.8, 1.2),
            0.0, Range(random, 0.0, 1.0) });
    std::vector<Spark> sparks;
    for (int i = 0; i < style.sparks; ++i)
        sparks.push_back({ Range(random, 0.0, 2.0 * Pi), Range(random, 0.55, 1.0) * (half - 4.0),
            Range(random, 0.1, 0.25) * reach, Range(random, 0.35, 0.75),
            Range(random, 0.0, 0.12) });

    const Noise turbulence(style.seed + 7u);
    std::vector<Canvas> frames;
    for (int f = 0; f < style.frames; ++f) {
        const double t = static_cast<double>(f) / static_cast<double>(style.frames - 1);
        // Everything fades towards the end; the last frame keeps a trace of smoke and embers.
        const double envelope = 1.0 - 0.9 * Smoothstep(0.5, 1.0, t);

        Canvas frame(style.size, style.size);
        Canvas fireLayer(style.size, style.size);
        Canvas hot(style.size, style.size);
        Canvas smokeOver(style.size, style.size);
        for (Canvas* layer : { &frame, &fireLayer, &hot, &smokeOver })
            cairo_translate(layer->Cr(), half, half);
        cairo_t* fc = fireLayer.Cr();
        cairo_t* hc = hot.Cr();
        cairo_set_operator(fc, CAIRO_OPERATOR_ADD);
        cairo_set_operator(hc, CAIRO_OPERATOR_ADD);

        // Smoke: puffs under the fire, lit warm while it burns, and later puffs rolling over
        // the dying embers.
        for (const Blob& b : smoke) {
            const double tau = Clamp01((t - b.delay) / (1.0 - b.delay));
            if (tau <= 0.0)
                continue;
            const bool over = b.warmth > 0.5;
            const double grow = EaseOut(tau);
            const double d = b.distance * (0.55 + 0.6 * grow);
            const double r = b.radius * (0.6 + 0.7 * grow);
            double alpha = 0.55 * Smoothstep(0.0, 0.2, tau) * std::max(0.3, 1.0 - tau) * envelope;
            if (over)
                alpha *= 0.75 * Smoothstep(0.45, 0.75, t);
            const Colour colour = over
                ? Rgb(62, 48, 46)
                : Mix(Rgb(150, 72, 38), Rgb(84, 76, 78), Smoothstep(0.0, 0.45, tau));
            const double x = std::cos(b.angle) * d;
            const double y = std::sin(b.angle) * d;
            cairo_t* target = over ? smokeOver.Cr() : frame.Cr();
            cairo_pattern_t* puff = Radial(x, y, 0.0, x, y, r,
                { { 0.0, WithAlpha(colour, alpha) }, { 0.6, WithAlpha(colour, alpha * 0.6) },
                    { 1.0, WithAlpha(colour, 0.0) } });
            cairo_set_source(target, puff);
            cairo_arc(target, x, y, r, 0.0, 2.0 * Pi);
            cairo_fill(target);
            cairo_pattern_destroy(puff);
        }

        // The fireball: puffs that swell, drift out and cool, the outer ones first.
        for (const Blob& b : fire) {
            const Blast& blast = blasts[static_cast<size_t>(b.blast)];
            const double start = blast.delay + b.delay;
            if (t < start)
                continue;
            const double tau = Clamp01((t - start) / (0.95 - start));
            const double grow = EaseOut(std::min(1.0, tau * 1.7));
            const double d = b.distance * blast.scale * (0.3 + 0.8 * grow);
            const double r = b.radius * blast.scale * (0.45 + 0.85 * grow);
            const double temperature
                = 1.1 + b.warmth - tau * 1.3 * b.rate - 0.35 * grow * b.distance / reach;
            const double alpha = Smoothstep(-0.15, 0.3, temperature) * envelope;
            if (alpha <= 0.0)
                continue;
            const double x = blast.x + std::cos(b.angle) * d;
            const double y = blast.y + std::sin(b.angle) * d;
            const Colour core = Fire(temperature);
            const Colour edge = Fire(temperature - 0.3);
            cairo_pattern_t* puff = Radial(x, y, 0.0, x, y, r,
                { { 0.0, WithAlpha(core, alpha) }, { 0.55, WithAlpha(edge, alpha * 0.75) },
                    { 1.0, WithAlpha(edge, 0.0) } });
            cairo_set_source(fc, puff);
            cairo_arc(fc, x, y, r, 0.0, 2.0 * Pi);
            cairo_fill(fc);
            cairo_pattern_destroy(puff);
        }
        // Billows: a noise texture that swells with the fireball breaks up its smooth puffs.
        {
            const double cell = static_cast<double>(style.size) * (0.11 + 0.08 * t);
            uint32_t* pixels = fireLayer.BeginPixels();
            const int stride = fireLayer.StridePixels();
            for (int y = 0; y < style.size; ++y)
                for (int x = 0; x < style.size; ++x) {
                    uint32_t& pixel = pixels[y * stride + x];
                    if (pixel == 0)
                        continue;
                    const double u = (static_cast<double>(x) - half) / cell;
                    const double v = (static_cast<double>(y) - half) / cell;
                    const double n = turbulence.Fractal(u + 50.0, v + 50.0, 3);
                    const int keep
                        = static_cast<int>(256.0 * (0.62 + 0.38 * Smoothstep(0.3, 0.65, n)));
                    uint32_t out = 0;
                    for (int shift = 0; shift < 32; shift += 8)
                        out |= ((((pixel >> shift) & 0xffu) * static_cast<uint32_t>(keep)) >> 8)
                            << shift;
                    pixel = out;
                }
            fireLayer.EndPixels();
        }
        cairo_save(hc);
        cairo_identity_matrix(hc);
        fireLayer.PaintOnto(hc, 0.0, 0.0, CAIRO_OPERATOR_ADD, 1.0);
        cairo_restore(hc);

        // The first flash with its rays, and the shock ring of each blast.
        for (const Blast& blast : blasts) {
            const double local = (t - blast.delay) / 0.16;
            if (local >= 0.0 && local < 1.0) {
                const double strength = std::pow(1.0 - local, 1.5);
                RadialBlob(hc, blast.x, blast.y, reach * blast.scale * (0.55 + 0.5 * local),
                    Rgb(255, 255, 250, strength), Rgb(255, 220, 160, 0.0));
                for (int k = 0; k < 10; ++k) {
                    const double angle = static_cast<double>(k) * Pi / 5.0 + blast.delay * 7.0;
                    const double length
                        = reach * blast.scale * (k % 2 == 0 ? 1.25 : 0.8) * (0.6 + 0.4 * local);
                    const double cx = std::cos(angle);
                    const double cy = std::sin(angle);
                    cairo_new_path(hc);
                    cairo_move_to(hc, blast.x - cy * 2.0, blast.y + cx * 2.0);
                    cairo_line_to(hc, blast.x + cx * length, blast.y + cy * length);
                    cairo_line_to(hc, blast.x + cy * 2.0, blast.y - cx * 2.0);
                    cairo_close_path(hc);
                    FillWith(hc,
                        Linear(blast.x, blast.y, blast.x + cx * length, blast.y + cy * length,
                            { { 0.0, Rgb(255, 250, 230, 0.8 * strength) },
                                { 1.0, Rgb(255, 200, 120, 0.0) } }));
                    cairo_new_path(hc);
                }
            }
            const double ring = (t - blast.delay) / 0.35;
            if (&blast == &blasts.front() && ring > 0.0 && ring < 1.0) {
                const double r = reach * blast.scale * (0.4 + 1.05 * EaseOut(ring));
                cairo_new_path(hc);
                cairo_arc(hc, blast.x, blast.y, std::min(r, half - 3.0), 0.0, 2.0 * Pi);
                SetColour(hc, Rgb(255, 220, 170), 0.7 * std::pow(1.0 - ring, 2.0));
                cairo_set_line_width(hc, 1.0 + 2.5 * (1.0 - ring));
                cairo_stroke(hc);
            }
        }

        // Sparks streak out and burn out; a few embers linger to the end.
        cairo_set_line_cap(hc, CAIRO_LINE_CAP_ROUND);
        for (size_t k = 0; k < sparks.size(); ++k) {
            const Spark& s = sparks[k];
            const bool ember = k % 4 == 0;
            const double life = ember ? 1.0 : s.life;
            const double tau = (t - s.delay) / life;
            if (tau <= 0.0 || tau > 1.0)
                continue;
            const double travel = ember ? 0.55 : 1.0;
            const double head = reach * 0.15 + s.speed * travel * EaseOut(tau);
            const double length = s.length * (1.0 - tau) + 1.0;
            const double alpha = ember ? 0.9 * (1.0 - 0.7 * tau) : (1.0 - tau * tau) * envelope;
            const double cx = std::cos(s.angle);
            const double cy = std::sin(s.angle);
            cairo_pattern_t* streak
                = Linear(cx * (head - length), cy * (head - length), cx * head, cy * head,
                    { { 0.0, WithAlpha(style.sparkColour, 0.0) },
                        { 0.6, WithAlpha(style.sparkColour, alpha) },
                        { 1.0, Rgb(255, 250, 230, alpha) } });
            cairo_set_source(hc, streak);
            cairo_set_line_width(hc, ember ? 1.6 : 1.2);
            cairo_move_to(hc, cx * (head - length), cy * (head - length));
            cairo_line_to(hc, cx * head, cy * head);
            cairo_stroke(hc);
            cairo_pattern_destroy(streak);
        }

        // Bloom: the hot layer blurred and added back makes it glow.
        Canvas bloom = hot.Copy();
        bloom.Blur(std::max(3, style.size / 14));
        cairo_t* cr = frame.Cr();
        cairo_identity_matrix(cr);
        hot.PaintOnto(cr, 0.0, 0.0, CAIRO_OPERATOR_ADD, 1.0);
        bloom.PaintOnto(cr, 0.0, 0.0, CAIRO_OPERATOR_ADD, 0.7);
        smokeOver.PaintOnto(cr, 0.0, 0.0, CAIRO_OPERATOR_OVER, 1.0);
        frames.push_back(std::move(frame));
    }
    return frames;
}
