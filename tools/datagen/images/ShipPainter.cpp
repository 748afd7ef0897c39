#include "datagen/images/ShipPainter.h"

#include "datagen/images/Paint.h"

#include <cmath>

namespace {

void Line(cairo_t* cr, double x0, double y0, double x1, double y1)
{
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
}

// A flame from a nozzle at (x, y) pointing along +y (or -y for a negative length), three
// nested tongues added on top of each other: outer colour, hot inner colour, white core.
void Flame(Canvas& canvas, double x, double y, double halfWidth, double length, const Colour& outer,
    const Colour& inner, double glowScale)
{
    auto tongue = [x, y](cairo_t* cr, double w, double l) {
        cairo_new_path(cr);
        cairo_move_to(cr, x - w, y);
        cairo_curve_to(cr, x - w, y + l * 0.45, x - w * 0.25, y + l * 0.8, x, y + l);
        cairo_curve_to(cr, x + w * 0.25, y + l * 0.8, x + w, y + l * 0.45, x + w, y);
        cairo_close_path(cr);
    };
    AddGlow(
        canvas,
        [&](cairo_t* cr) {
            tongue(cr, halfWidth * 1.6, length * 1.15);
            SetColour(cr, outer);
            cairo_fill(cr);
        },
        static_cast<int>(5.0 * glowScale), 1.0);
    cairo_t* cr = canvas.Cr();
    cairo_save(cr);
    cairo_set_operator(cr, LightOperator(cr));
    tongue(cr, halfWidth, length);
    FillWith(cr, Linear(x, y, x, y + length, { { 0.0, inner }, { 1.0, WithAlpha(outer, 0.0) } }));
    tongue(cr, halfWidth * 0.5, length * 0.55);
    FillWith(cr,
        Linear(x, y, x, y + length * 0.55,
            { { 0.0, Rgb(255, 255, 255) }, { 1.0, Rgb(255, 255, 255, 0.0) } }));
    cairo_new_path(cr);
    cairo_restore(cr);
}

// The soft halo around a whole hull, drawn first so the hull sits on it.
void HullGlow(Canvas& canvas, const std::vector<Point>& rightHalf, const Colour& colour, int blur,
    double strength)
{
    AddGlow(
        canvas,
        [&](cairo_t* cr) {
            MirroredPath(cr, rightHalf);
            SetColour(cr, colour);
            cairo_set_line_width(cr, 2.0);
            cairo_fill_preserve(cr);
            cairo_stroke(cr);
        },
        blur, strength);
}

// Continuous loops for animations: a smooth random-looking wobble that returns to its start.
double LoopWobble(double phase, double a, double b)
{
    return std::sin(2.0 * Pi * phase + a) * 0.6 + std::sin(2.0 * Pi * 3.0 * phase + b) * 0.4;
}

} // namespace

// ---------------------------------------------------------------------------------------
// Player: silver fuselage, blue swept wings with cyan edges, twin blue-white engines.

void DrawPlayerShip(Canvas& canvas, double flameLength, double flicker, double glowScale)
{
    const std::vector<Point> hull = { { 0.0, -33.0 }, { 3.0, -28.0 }, { 5.0, -19.0 }, { 6.0, -9.0 },
        { 9.0, -5.0 }, { 22.0, 5.0 }, { 26.0, 11.0 }, { 26.5, 17.0 }, { 21.0, 16.5 },
        { 12.0, 13.0 }, { 11.5, 20.0 }, { 4.0, 20.0 }, { 3.0, 16.5 }, { 0.0, 17.5 } };
    const std::vector<Point> fuselage = { { 0.0, -33.0 }, { 3.0, -28.0 }, { 5.0, -19.0 },
        { 6.0, -9.0 }, { 7.0, 3.0 }, { 6.5, 12.0 }, { 4.0, 16.5 }, { 0.0, 17.5 } };
    const Colour cyan = Rgb(90, 220, 255);
    const Colour blueGlow = Rgb(30, 110, 255);

    // Engine flames behind everything else.
    for (int side = -1; side <= 1; side += 2)
        Flame(canvas, 8.5 * side, 19.0, 2.6, flameLength, Scaled(blueGlow, 0.9 * flicker),
            Scaled(Rgb(120, 230, 255), flicker), glowScale);
    HullGlow(canvas, hull, Rgb(40, 120, 255), static_cast<int>(6.0 * glowScale), 0.55);

    cairo_t* cr = canvas.Cr();
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);

    // Wings.
    MirroredPath(cr, hull);
    HullFill(cr,
        Linear(0.0, -10.0, 0.0, 18.0,
            { { 0.0, Rgb(80, 130, 200) }, { 0.5, Rgb(45, 80, 150) }, { 1.0, Rgb(22, 40, 85) } }),
        Rgb(5, 10, 25, 0.9), 1.6);
    TopLight(cr, -8.0, 12.0, Rgb(170, 220, 255), 1.2);
    cairo_new_path(cr);
    for (int side = -1; side <= 1; side += 2) {
        const double s = side;
        // A darker inner panel and the cyan stripe along the leading edge.
        PolygonPath(
            cr, { { 9.5 * s, 1.0 }, { 20.0 * s, 8.5 }, { 22.0 * s, 13.5 }, { 12.5 * s, 10.5 } });
        SetColour(cr, Rgb(18, 34, 75, 0.75));
        cairo_fill(cr);
        Line(cr, 9.5 * s, -3.5, 22.5 * s, 6.5);
        cairo_line_to(cr, 25.5 * s, 11.5);
        SetColour(cr, cyan, 0.95);
        cairo_set_line_width(cr, 1.3);
        cairo_stroke(cr);
        // Wing-tip cannon.
        cairo_rectangle(cr, 24.6 * s - 0.9, 6.0, 1.8, 8.0);
        SetColour(cr, Rgb(150, 165, 190));
        cairo_fill(cr);
    }

    // Engine pods.
    for (int side = -1; side <= 1; side += 2) {
        const double s = side;
        cairo_new_path(cr);
        cairo_rectangle(cr, 5.5 * s - (s < 0 ? 6.0 : 0.0), 2.0, 6.0, 17.5);
        HullFill(cr,
            Linear(5.5 * s, 0.0, 11.5 * s, 0.0,
                { { 0.0, Rgb(95, 105, 130) }, { 0.5, Rgb(170, 180, 200) },
                    { 1.0, Rgb(70, 80, 105) } }),
            Rgb(5, 10, 25, 0.9), 1.2);
        cairo_new_path(cr);
        cairo_save(cr);
        cairo_translate(cr, 8.5 * s, 19.3);
        cairo_scale(cr, 2.8, 1.2);
        cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, 2.0 * Pi);
        cairo_restore(cr);
        SetColour(cr, Mix(Rgb(20, 40, 80), Rgb(160, 235, 255), flicker * 0.8));
        cairo_fill(cr);
    }

    // Fuselage: a polished silver body.
    MirroredPath(cr, fuselage);
    HullFill(cr,
        Linear(-7.0, 0.0, 7.0, 0.0,
            { { 0.0, Rgb(85, 95, 118) }, { 0.3, Rgb(195, 205, 222) }, { 0.45, Rgb(248, 250, 255) },
                { 0.7, Rgb(185, 195, 214) }, { 1.0, Rgb(70, 80, 102) } }),
        Rgb(5, 10, 25, 0.9), 1.4);
    FillWith(cr,
        Linear(0.0, -33.0, 0.0, 18.0,
            { { 0.0, Rgb(0, 0, 0, 0.0) }, { 0.6, Rgb(0, 0, 0, 0.05) },
                { 1.0, Rgb(0, 5, 20, 0.45) } }));
    cairo_new_path(cr);
    // Blue racing stripes and panel seams.
    for (int side = -1; side <= 1; side += 2) {
        const double s = side;
        Line(cr, 2.6 * s, -4.0, 3.4 * s, 12.0);
        SetColour(cr, Rgb(40, 120, 255));
        cairo_set_line_width(cr, 1.3);
        cairo_stroke(cr);
    }
    Line(cr, -5.0, -3.0, 5.0, -3.0);
    Line(cr, -5.5, 8.0, 5.5, 8.0);
    SetColour(cr, Rgb(40, 50, 70, 0.6));
    cairo_set_line_width(cr, 0.7);
    cairo_stroke(cr);

    // Cockpit canopy.
    cairo_save(cr);
    cairo_translate(cr, 0.0, -15.5);
    cairo_scale(cr, 3.1, 7.0);
    cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, 2.0 * Pi);
    cairo_restore(cr);
    SetColour(cr, Rgb(5, 15, 35));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke_preserve(cr);
    FillWith(cr,
        Radial(-1.0, -19.0, 0.0, 0.0, -15.5, 7.5,
            { { 0.0, Rgb(230, 255, 255) }, { 0.25, Rgb(90, 210, 255) }, { 0.7, Rgb(20, 90, 190) },
                { 1.0, Rgb(8, 30, 80) } }));
    cairo_new_path(cr);

    // Wing-tip lamps.
    for (int side = -1; side <= 1; side += 2)
        Lamp(canvas, 25.6 * side, 15.8, 1.2, cyan, glowScale);
}

std::vector<Canvas> PaintPlayer()
{
    Random random(0x9a7e0001u);
    std::vector<Canvas> frames;
    const int count = 8;
    const double a = Range(random, 0.0, 6.0);
    const double b = Range(random, 0.0, 6.0);
    for (int i = 0; i < count; ++i) {
        const double phase = static_cast<double>(i) / static_cast<double>(count);
        // A loop-closing wobble plus a little jitter per frame, so no two frames match.
        const double wobble = LoopWobble(phase, a, b) + Range(random, -0.35, 0.35);
        Canvas frame = Centred(64, 80);
        DrawPlayerShip(frame, 13.0 + 3.5 * wobble, 0.85 + 0.15 * wobble, 1.0);
        frames.push_back(std::move(frame));
    }
    return frames;
}

// ---------------------------------------------------------------------------------------
// Small enemy: a magenta-red claw with a spinning blade ring around a pulsing core.

void DrawSmallEnemy(Canvas& canvas, double phase, double glowScale)
{
    const double pulse = 0.5 + 0.5 * std::cos(2.0 * Pi * phase);
    const Colour hot = Rgb(255, 70, 150);
    const Colour outline = Rgb(25, 0, 14, 0.92);
    cairo_t* cr = canvas.Cr();

    // Rear thruster, pointing up.
    Flame(canvas, 0.0, -13.0, 2.8, -(8.0 + 2.5 * LoopWobble(phase, 0.3, 1.7)), Rgb(210, 30, 110),
        Rgb(255, 160, 110), glowScale);

    const std::vector<Point> silhouette = { { 0.0, -15.0 }, { 6.0, -10.0 }, { 21.0, -20.0 },
        { 18.0, -4.0 }, { 15.0, 4.0 }, { 13.5, 21.0 }, { 8.0, 10.0 }, { 0.0, 17.0 } };
    HullGlow(canvas, silhouette, Rgb(255, 40, 130), static_cast<int>(5.0 * glowScale), 0.3);

    for (int side = -1; side <= 1; side += 2) {
        const double s = side;
        // Swept fins.
        PolygonPath(
            cr, { { 5.0 * s, -10.0 }, { 21.0 * s, -20.0 }, { 18.0 * s, -5.0 }, { 8.0 * s, 3.0 } });
        HullFill(cr,
            Linear(0.0, -20.0, 0.0, 3.0, { { 0.0, Rgb(175, 45, 120) }, { 1.0, Rgb(70, 8, 48) } }),
            outline, 1.4);
        TopLight(cr, -20.0, -6.0, Rgb(255, 170, 220), 1.0);
        cairo_new_path(cr);
        Line(cr, 8.0 * s, -8.0, 17.0 * s, -14.0);
        SetColour(cr, Rgb(255, 90, 170), 0.9);
        cairo_set_line_width(cr, 1.0);
        cairo_stroke(cr);
        // Prongs reaching forward (down).
        cairo_new_path(cr);
        cairo_move_to(cr, 5.0 * s, -2.0);
        cairo_curve_to(cr, 13.0 * s, -1.0, 16.5 * s, 6.0, 13.5 * s, 21.0);
        cairo_curve_to(cr, 11.5 * s, 14.0, 9.5 * s, 9.5, 4.0 * s, 9.0);
        cairo_close_path(cr);
        HullFill(cr,
            Linear(0.0, -2.0, 0.0, 21.0,
                { { 0.0, Rgb(250, 95, 145) }, { 0.5, Rgb(205, 40, 90) },
                    { 1.0, Rgb(105, 10, 45) } }),
            outline, 1.4);
        TopLight(cr, -2.0, 10.0, Rgb(255, 200, 220), 1.1);
        cairo_new_path(cr);
    }

    // The hull's spine, a bevelled diamond.
    MirroredPath(cr, { { 0.0, -15.0 }, { 6.5, -9.0 }, { 8.0, 1.0 }, { 5.0, 10.0 }, { 0.0, 17.0 } });
    HullFill(cr,
        Linear(-8.0, 0.0, 8.0, 0.0,
            { { 0.0, Rgb(80, 10, 50) }, { 0.45, Rgb(205, 60, 130) }, { 1.0, Rgb(70, 8, 45) } }),
        outline, 1.4);
    cairo_new_path(cr);

    // Core socket, a spinning ring of three blades and the pulsing core.
    cairo_arc(cr, 0.0, 0.0, 6.2, 0.0, 2.0 * Pi);
    SetColour(cr, Rgb(30, 2, 18));
    cairo_fill(cr);
    const double spin = phase * 2.0 * Pi / 3.0;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int k = 0; k < 3; ++k) {
        const double start = spin + static_cast<double>(k) * 2.0 * Pi / 3.0;
        cairo_new_path(cr);
        cairo_arc(cr, 0.0, 0.0, 4.9, start, start + 1.3);
        SetColour(cr, Rgb(255, 150, 200));
        cairo_set_line_width(cr, 1.4);
        cairo_stroke(cr);
    }
    AddGlow(
        canvas,
        [&](cairo_t* c) {
            cairo_arc(c, 0.0, 0.0, 4.0 + 2.0 * pulse, 0.0, 2.0 * Pi);
            SetColour(c, hot, 0.55 + 0.45 * pulse);
            cairo_fill(c);
        },
        static_cast<int>(5.0 * glowScale), 1.0);
    RadialBlob(cr, 0.0, 0.0, 2.6 + 0.9 * pulse, Mix(Rgb(255, 170, 210), Rgb(255, 255, 255), pulse),
        Rgb(230, 40, 130));

    // Prong-tip lamps blink in turn.
    for (int side = -1; side <= 1; side += 2) {
        const double blink = 0.5 + 0.5 * std::cos(2.0 * Pi * (phase + (side < 0 ? 0.0 : 0.5)));
        Lamp(canvas, 13.3 * side, 19.5, 0.6 + 0.6 * blink,
            Mix(Rgb(120, 20, 40), Rgb(255, 130, 60), blink), glowScale);
    }
}

std::vector<Canvas> PaintSmallEnemy()
{
    std::vector<Canvas> frames;
    const int count = 12;
    for (int i = 0; i < count; ++i) {
        Canvas frame = Centred(56, 56);
        cairo_translate(frame.Cr(), 0.0, 1.0);
        DrawSmallEnemy(frame, static_cast<double>(i) / static_cast<double>(count), 1.0);
        frames.push_back(std::move(frame));
    }
    return frames;
}

// ---------------------------------------------------------------------------------------
// Medium enemy: a broad orange-and-crimson gunship with one cannon under its nose.

void DrawMediumEnemy(Canvas& canvas, double muzzleFlash, double glowScale)
{
    const std::vector<Point> hull = { { 0.0, -25.0 }, { 7.0, -26.0 }, { 12.0, -21.0 },
        { 15.0, -14.0 }, { 31.0, -10.0 }, { 35.0, -5.0 }, { 34.0, 2.0 }, { 22.0, 4.0 },
        { 15.0, 10.0 }, { 10.0, 20.0 }, { 4.0, 26.0 }, { 0.0, 27.0 } };
    const Colour orange = Rgb(255, 140, 40);
    cairo_t* cr = canvas.Cr();

    for (int side = -1; side <= 1; side += 2)
        Flame(canvas, 7.0 * side, -24.5, 2.4, -8.0, Rgb(230, 70, 20), Rgb(255, 200, 90), glowScale);
    HullGlow(canvas, hull, Rgb(255, 80, 30), static_cast<int>(6.0 * glowScale), 0.45);

    // Cannon barrel under the nose.
    cairo_new_path(cr);
    cairo_rectangle(cr, -1.8, 14.0, 3.6, 16.5);
    HullFill(cr,
        Linear(-1.8, 0.0, 1.8, 0.0,
            { { 0.0, Rgb(70, 60, 60) }, { 0.5, Rgb(180, 170, 165) }, { 1.0, Rgb(60, 50, 50) } }),
        Rgb(15, 5, 5, 0.9), 1.2);
    cairo_new_path(cr);

    // Main hull.
    MirroredPath(cr, hull);
    HullFill(cr,
        Linear(0.0, -26.0, 0.0, 27.0,
            { { 0.0, Rgb(150, 35, 35) }, { 0.5, Rgb(105, 20, 25) }, { 1.0, Rgb(55, 8, 14) } }),
        Rgb(20, 3, 3, 0.9), 1.6);
    TopLight(cr, -26.0, -2.0, Rgb(255, 170, 140), 1.2);
    cairo_new_path(cr);

    // Orange armour on the wings and a dark spine.
    for (int side = -1; side <= 1; side += 2) {
        const double s = side;
        PolygonPath(cr,
            { { 15.5 * s, -11.5 }, { 30.0 * s, -8.0 }, { 33.0 * s, -3.5 }, { 32.0 * s, 0.0 },
                { 21.0 * s, 2.0 }, { 15.5 * s, 6.5 } });
        HullFill(cr,
            Linear(0.0, -12.0, 0.0, 6.0,
                { { 0.0, Rgb(255, 175, 70) }, { 0.45, Rgb(235, 110, 30) },
                    { 1.0, Rgb(150, 50, 15) } }),
            Rgb(40, 8, 0, 0.8), 1.0);
        cairo_new_path(cr);
        // Vents: three dark slots on each plate.
        for (int k = 0; k < 3; ++k) {
            const double x = (19.0 + 4.0 * k) * s;
            Line(cr, x, -7.5 + 0.7 * k, x, -1.5);
        }
        SetColour(cr, Rgb(60, 15, 5, 0.8));
        cairo_set_line_width(cr, 1.1);
        cairo_stroke(cr);
    }
    MirroredPath(cr,
        { { 0.0, -24.0 }, { 6.0, -22.0 }, { 9.0, -12.0 }, { 9.0, 6.0 }, { 6.0, 15.0 },
            { 0.0, 21.0 } });
    HullFill(cr,
        Linear(-9.0, 0.0, 9.0, 0.0,
            { { 0.0, Rgb(60, 12, 18) }, { 0.45, Rgb(160, 40, 40) }, { 1.0, Rgb(50, 8, 14) } }),
        Rgb(20, 3, 3, 0.8), 1.0);
    cairo_new_path(cr);
    Line(cr, -8.0, -10.0, 8.0, -10.0);
    Line(cr, -8.5, -3.0, 8.5, -3.0);
    SetColour(cr, Rgb(30, 5, 5, 0.7));
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);

    // Glowing visor, looking down at the player.
    AddGlow(
        canvas,
        [&](cairo_t* c) {
            cairo_save(c);
            cairo_translate(c, 0.0, 6.5);
            cairo_scale(c, 5.5, 3.0);
            cairo_arc(c, 0.0, 0.0, 1.0, 0.0, 2.0 * Pi);
            cairo_restore(c);
            SetColour(c, orange);
            cairo_fill(c);
        },
        static_cast<int>(4.0 * glowScale), 1.0);
    cairo_save(cr);
    cairo_translate(cr, 0.0, 6.5);
    cairo_scale(cr, 4.2, 2.2);
    cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, 2.0 * Pi);
    cairo_restore(cr);
    FillWith(cr,
        Radial(0.0, 6.0, 0.0, 0.0, 6.5, 4.2,
            { { 0.0, Rgb(255, 255, 220) }, { 0.5, Rgb(255, 210, 80) },
                { 1.0, Rgb(230, 90, 20) } }));
    cairo_new_path(cr);

    for (int side = -1; side <= 1; side += 2)
        Lamp(canvas, 33.5 * side, -2.0, 1.1, Rgb(255, 60, 40), glowScale);

    if (muzzleFlash > 0.0) {
        const double f = muzzleFlash;
        const double y = 31.0;
        // Hot barrel tip and a star of light at the muzzle.
        AddGlow(
            canvas,
            [&](cairo_t* c) {
                cairo_arc(c, 0.0, y, 3.0 + 8.0 * f, 0.0, 2.0 * Pi);
                SetColour(c, Rgb(255, 150, 40), f);
                cairo_fill(c);
            },
            static_cast<int>(6.0 * glowScale), 1.0);
        cairo_save(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
        // Eight rays, longest along the line of fire (down), shortest back up the barrel.
        const double rays[] = { 7.0, 10.0, 15.0, 10.0, 7.0, 4.5, 3.5, 4.5 };
        for (int k = 0; k < 8; ++k) {
            const double angle = static_cast<double>(k) * Pi / 4.0;
            const double length = rays[k] * (0.45 + 0.55 * f);
            const double cx = std::cos(angle);
            const double cy = std::sin(angle);
            cairo_new_path(cr);
            cairo_move_to(cr, -cy * 1.3, y + cx * 1.3);
            cairo_line_to(cr, cx * length, y + cy * length);
            cairo_line_to(cr, cy * 1.3, y - cx * 1.3);
            cairo_close_path(cr);
            FillWith(cr,
                Linear(0.0, y, cx * length, y + cy * length,
                    { { 0.0, Rgb(255, 240, 180, f) }, { 1.0, Rgb(255, 150, 40, 0.0) } }));
            cairo_new_path(cr);
        }
        RadialBlob(cr, 0.0, y, 2.0 + 3.5 * f, Rgb(255, 255, 255, f), Rgb(255, 200, 80, 0.0));
        cairo_restore(cr);
    }
}

std::vector<Canvas> PaintMediumEnemy()
{
    // Idle, six frames of flash dying away, idle again.
    const double flashes[] = { 0.0, 1.0, 0.8, 0.58, 0.38, 0.2, 0.08, 0.0 };
    std::vector<Canvas> frames;
    for (double flash : flashes) {
        Canvas frame = Centred(80, 88);
        cairo_translate(frame.Cr(), 0.0, -4.0);
        DrawMediumEnemy(frame, flash, 1.0);
        frames.push_back(std::move(frame));
    }
    return frames;
}

// ---------------------------------------------------------------------------------------
// Big enemy: a heavy crimson cruiser with wing cannons, a turret and a bank of engines.

void DrawBigEnemy(Canvas& canvas, double glowScale)
{
    const std::vector<Point> hull = { { 0.0, -47.0 }, { 9.0, -47.0 }, { 13.0, -43.0 },
        { 20.0, -43.0 }, { 24.0, -37.0 }, { 38.0, -33.0 }, { 60.0, -18.0 }, { 66.0, -8.0 },
        { 65.0, 0.0 }, { 58.0, 4.0 }, { 46.0, 6.0 }, { 38.0, 14.0 }, { 26.0, 20.0 }, { 20.0, 34.0 },
        { 12.0, 45.0 }, { 5.0, 49.0 }, { 0.0, 49.0 } };
    const Colour orange = Rgb(255, 130, 40);
    const Colour magenta = Rgb(255, 60, 170);
    cairo_t* cr = canvas.Cr();

    for (int side = -1; side <= 1; side += 2) {
        Flame(
            canvas, 7.0 * side, -46.5, 3.4, -12.0, Rgb(230, 50, 70), Rgb(255, 180, 110), glowScale);
        Flame(
            canvas, 17.0 * side, -42.5, 2.8, -9.0, Rgb(230, 50, 70), Rgb(255, 180, 110), glowScale);
    }
    HullGlow(canvas, hull, Rgb(255, 40, 60), static_cast<int>(7.0 * glowScale), 0.4);

    // Base hull.
    MirroredPath(cr, hull);
    HullFill(cr,
        Linear(0.0, -47.0, 0.0, 49.0,
            { { 0.0, Rgb(120, 22, 40) }, { 0.5, Rgb(80, 12, 28) }, { 1.0, Rgb(40, 5, 15) } }),
        Rgb(15, 2, 5, 0.95), 2.0);
    TopLight(cr, -47.0, -10.0, Rgb(255, 150, 150), 1.4);
    cairo_new_path(cr);

    // Wing armour with orange leading edges and magenta running lights.
    for (int side = -1; side <= 1; side += 2) {
        const double s = side;
        PolygonPath(cr,
            { { 25.0 * s, -33.0 }, { 38.0 * s, -30.0 }, { 58.0 * s, -16.5 }, { 63.0 * s, -7.0 },
                { 46.0 * s, 2.0 }, { 36.0 * s, 10.0 }, { 26.0 * s, 14.0 } });
        HullFill(cr,
            Linear(0.0, -33.0, 0.0, 14.0,
                { { 0.0, Rgb(215, 50, 60) }, { 0.5, Rgb(165, 30, 45) }, { 1.0, Rgb(95, 15, 28) } }),
            Rgb(30, 3, 8, 0.8), 1.2);
        TopLight(cr, -33.0, -5.0, Rgb(255, 170, 160), 1.0);
        cairo_new_path(cr);
        Line(cr, 39.0 * s, -29.0, 58.5 * s, -16.0);
        cairo_line_to(cr, 63.0 * s, -7.5);
        SetColour(cr, orange);
        cairo_set_line_width(cr, 1.6);
        cairo_stroke(cr);
        // Plate seams.
        Line(cr, 32.0 * s, -28.0, 30.0 * s, 11.0);
        Line(cr, 44.0 * s, -22.0, 42.0 * s, 5.0);
        SetColour(cr, Rgb(50, 5, 12, 0.8));
        cairo_set_line_width(cr, 0.9);
        cairo_stroke(cr);
    }

    // Cannon pods slung under the wings.
    for (int side = -1; side <= 1; side += 2) {
        const double s = side;
        cairo_new_path(cr);
        cairo_rectangle(cr, 48.0 * s - 1.6, 10.0, 3.2, 10.0);
        HullFill(cr,
            Linear(48.0 * s - 1.6, 0.0, 48.0 * s + 1.6, 0.0,
                { { 0.0, Rgb(60, 50, 55) }, { 0.5, Rgb(170, 160, 165) },
                    { 1.0, Rgb(50, 40, 45) } }),
            Rgb(15, 3, 5, 0.9), 1.0);
        cairo_new_path(cr);
        cairo_move_to(cr, 48.0 * s - 5.0, -8.0);
        cairo_line_to(cr, 48.0 * s + 5.0, -8.0);
        cairo_line_to(cr, 48.0 * s + 4.0, 11.0);
        cairo_line_to(cr, 48.0 * s - 4.0, 11.0);
        cairo_close_path(cr);
        HullFill(cr,
            Linear(48.0 * s - 5.0, 0.0, 48.0 * s + 5.0, 0.0,
                { { 0.0, Rgb(55, 40, 50) }, { 0.45, Rgb(150, 130, 140) },
                    { 1.0, Rgb(45, 30, 40) } }),
            Rgb(15, 3, 5, 0.95), 1.4);
        cairo_new_path(cr);
        Line(cr, 48.0 * s - 4.0, -2.0, 48.0 * s + 4.0, -2.0);
        Line(cr, 48.0 * s - 4.0, 4.0, 48.0 * s + 4.0, 4.0);
        SetColour(cr, Rgb(30, 15, 20, 0.8));
        cairo_set_line_width(cr, 0.9);
        cairo_stroke(cr);
    }

    // Engine housing across the stern.
    cairo_new_path(cr);
    cairo_rectangle(cr, -23.0, -47.0, 46.0, 8.0);
    HullFill(cr,
        Linear(0.0, -47.0, 0.0, -39.0, { { 0.0, Rgb(120, 105, 115) }, { 1.0, Rgb(45, 32, 40) } }),
        Rgb(15, 3, 5, 0.95), 1.4);
    cairo_new_path(cr);

    // Central armour block and the bridge.
    MirroredPath(cr,
        { { 0.0, -44.0 }, { 10.0, -44.0 }, { 16.0, -36.0 }, { 18.0, -10.0 }, { 17.0, 12.0 },
            { 13.0, 30.0 }, { 6.0, 42.0 }, { 0.0, 44.0 } });
    HullFill(cr,
        Linear(-18.0, 0.0, 18.0, 0.0,
            { { 0.0, Rgb(70, 12, 25) }, { 0.4, Rgb(175, 45, 60) }, { 0.55, Rgb(190, 60, 70) },
                { 1.0, Rgb(60, 10, 22) } }),
        Rgb(25, 3, 8, 0.85), 1.3);
    FillWith(cr,
        Linear(0.0, -44.0, 0.0, 44.0, { { 0.0, Rgb(0, 0, 0, 0.0) }, { 1.0, Rgb(10, 0, 5, 0.5) } }));
    cairo_new_path(cr);
    // Heat vents glowing along the spine.
    auto vents = [](cairo_t* c) {
        for (int k = 0; k < 3; ++k) {
            const double y = -30.0 + 7.0 * k;
            cairo_rectangle(c, -9.0, y, 18.0, 2.2);
        }
    };
    AddGlow(
        canvas,
        [&](cairo_t* c) {
            vents(c);
            SetColour(c, Rgb(255, 90, 30));
            cairo_fill(c);
        },
        static_cast<int>(3.0 * glowScale), 0.9);
    vents(cr);
    FillWith(cr,
        Linear(-9.0, 0.0, 9.0, 0.0,
            { { 0.0, Rgb(200, 50, 20) }, { 0.5, Rgb(255, 200, 90) }, { 1.0, Rgb(200, 50, 20) } }));
    cairo_new_path(cr);
    // Bridge windows.
    for (int k = -2; k <= 2; ++k)
        cairo_rectangle(cr, static_cast<double>(k) * 3.2 - 1.0, -36.0, 2.0, 2.6);
    SetColour(cr, Rgb(255, 200, 120));
    cairo_fill(cr);

    // Turret with its red eye.
    cairo_new_path(cr);
    cairo_rectangle(cr, -2.0, 14.0, 4.0, 18.0);
    HullFill(cr,
        Linear(-2.0, 0.0, 2.0, 0.0,
            { { 0.0, Rgb(60, 50, 55) }, { 0.5, Rgb(170, 160, 165) }, { 1.0, Rgb(50, 40, 45) } }),
        Rgb(15, 3, 5, 0.9), 1.2);
    cairo_new_path(cr);
    cairo_arc(cr, 0.0, 10.0, 9.5, 0.0, 2.0 * Pi);
    HullFill(cr,
        Radial(-3.0, 6.0, 0.0, 0.0, 10.0, 9.5,
            { { 0.0, Rgb(170, 150, 160) }, { 0.6, Rgb(90, 70, 80) }, { 1.0, Rgb(40, 25, 35) } }),
        Rgb(15, 3, 5, 0.95), 1.6);
    cairo_new_path(cr);
    AddGlow(
        canvas,
        [&](cairo_t* c) {
            cairo_arc(c, 0.0, 12.0, 5.5, 0.0, 2.0 * Pi);
            SetColour(c, Rgb(255, 40, 40));
            cairo_fill(c);
        },
        static_cast<int>(5.0 * glowScale), 1.0);
    RadialBlob(cr, 0.0, 12.0, 4.0, Rgb(255, 240, 220), Rgb(230, 20, 30));

    for (int side = -1; side <= 1; side += 2) {
        const double s = side;
        Lamp(canvas, 48.0 * s, 20.5, 1.6, orange, glowScale);
        for (int k = 0; k < 3; ++k)
            Lamp(canvas, (34.0 + 9.0 * k) * s, -24.0 + 6.5 * k, 1.0, magenta, glowScale);
    }
}

Canvas PaintBigEnemy()
{
    Canvas frame = Centred(144, 124);
    cairo_translate(frame.Cr(), 0.0, 5.0);
    DrawBigEnemy(frame, 1.0);
    return frame;
}
