// Hand-drawn suit outlines; every shape is one path so it can be filled, stroked or clipped whole.
#include "suits.h"

#include <cmath>

namespace art {

namespace {

void Heart(cairo_t* cr) {
    cairo_move_to(cr, 0, 0.5);
    cairo_curve_to(cr, -0.12, 0.3, -0.52, 0.08, -0.52, -0.2);
    cairo_curve_to(cr, -0.52, -0.4, -0.38, -0.5, -0.25, -0.5);
    cairo_curve_to(cr, -0.1, -0.5, -0.02, -0.4, 0, -0.3);
    cairo_curve_to(cr, 0.02, -0.4, 0.1, -0.5, 0.25, -0.5);
    cairo_curve_to(cr, 0.38, -0.5, 0.52, -0.4, 0.52, -0.2);
    cairo_curve_to(cr, 0.52, 0.08, 0.12, 0.3, 0, 0.5);
    cairo_close_path(cr);
}

void Diamond(cairo_t* cr) {
    cairo_move_to(cr, 0, -0.5);
    cairo_curve_to(cr, 0.12, -0.3, 0.26, -0.13, 0.38, 0);
    cairo_curve_to(cr, 0.26, 0.13, 0.12, 0.3, 0, 0.5);
    cairo_curve_to(cr, -0.12, 0.3, -0.26, 0.13, -0.38, 0);
    cairo_curve_to(cr, -0.26, -0.13, -0.12, -0.3, 0, -0.5);
    cairo_close_path(cr);
}

void Spade(cairo_t* cr) {
    cairo_move_to(cr, 0, -0.5);
    cairo_curve_to(cr, 0.14, -0.3, 0.5, -0.12, 0.5, 0.14);
    cairo_curve_to(cr, 0.5, 0.32, 0.38, 0.41, 0.25, 0.41);
    cairo_curve_to(cr, 0.13, 0.41, 0.06, 0.35, 0.035, 0.28);
    cairo_curve_to(cr, 0.05, 0.4, 0.12, 0.47, 0.21, 0.5);
    cairo_line_to(cr, -0.21, 0.5);
    cairo_curve_to(cr, -0.12, 0.47, -0.05, 0.4, -0.035, 0.28);
    cairo_curve_to(cr, -0.06, 0.35, -0.13, 0.41, -0.25, 0.41);
    cairo_curve_to(cr, -0.38, 0.41, -0.5, 0.32, -0.5, 0.14);
    cairo_curve_to(cr, -0.5, -0.12, -0.14, -0.3, 0, -0.5);
    cairo_close_path(cr);
}

// Circles are traced in cairo's positive direction and the stem the same way round, so the
// non-zero fill rule joins them without holes.
void Club(cairo_t* cr) {
    const double r = 0.23;
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, -0.27, r, 0, 2 * M_PI);
    cairo_close_path(cr);
    cairo_new_sub_path(cr);
    cairo_arc(cr, -0.265, 0.1, r, 0, 2 * M_PI);
    cairo_close_path(cr);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0.265, 0.1, r, 0, 2 * M_PI);
    cairo_close_path(cr);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0.0, 0.13, 0, 2 * M_PI);
    cairo_close_path(cr);
    cairo_move_to(cr, 0.04, 0.02);
    cairo_curve_to(cr, 0.05, 0.3, 0.12, 0.45, 0.22, 0.5);
    cairo_line_to(cr, -0.22, 0.5);
    cairo_curve_to(cr, -0.12, 0.45, -0.05, 0.3, -0.04, 0.02);
    cairo_close_path(cr);
}

}  // namespace

void AddSuitPath(cairo_t* cr, Suit suit) {
    switch (suit) {
        case Suit::Hearts: Heart(cr); break;
        case Suit::Diamonds: Diamond(cr); break;
        case Suit::Clubs: Club(cr); break;
        case Suit::Spades: Spade(cr); break;
    }
}

void AddPlacedSuitPath(cairo_t* cr, Suit suit, double cx, double cy, double size, double angle) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, angle);
    cairo_scale(cr, size, size);
    cairo_new_path(cr);
    AddSuitPath(cr, suit);
    cairo_restore(cr);
}

void DrawPipColoured(cairo_t* cr, Suit suit, double cx, double cy, double size, double angle, Rgb colour) {
    AddPlacedSuitPath(cr, suit, cx, cy, size, angle);
    SetColour(cr, colour);
    cairo_fill(cr);
}

void DrawPip(cairo_t* cr, Suit suit, double cx, double cy, double size, double angle) {
    DrawPipColoured(cr, suit, cx, cy, size, angle, SuitColour(suit));
}

}  // namespace art
