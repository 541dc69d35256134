// Cards are drawn left to right, so each one covers the one before and only the last is whole.
#include "window_picture.h"

#include "cards.h"

#include <cmath>

namespace art {

namespace {

constexpr Rgb kWindowGrey{224, 224, 224};

int Cell(Rank rank, Suit suit) { return 4 * static_cast<int>(rank) + static_cast<int>(suit); }

}  // namespace

Image RenderWindowPicture(const Font& font) {
    Canvas canvas(kWindowPictureWidth, kWindowPictureHeight);
    cairo_t* cr = canvas.Cr();
    SetColour(cr, kWindowGrey);
    cairo_paint(cr);

    const int fan[] = {Cell(Rank::Queen, Suit::Clubs), Cell(Rank::King, Suit::Clubs), Cell(Rank::Ace, Suit::Clubs),
                       Cell(Rank::Jack, Suit::Spades), Cell(Rank::Jack, Suit::Clubs)};
    // The fan turns about a point below the picture; the last card is nearly upright so it fits whole.
    const double w = 54, h = 78;
    const double lastAngle = 0.14, step = 0.16, reach = 110;
    const double lastX = 115, lastY = 48;
    const double pivotX = lastX - reach * std::sin(lastAngle), pivotY = lastY + reach * std::cos(lastAngle);
    for (int i = 0; i < 5; ++i) {
        const double angle = lastAngle - (4 - i) * step;
        cairo_save(cr);
        cairo_translate(cr, pivotX + reach * std::sin(angle), pivotY - reach * std::cos(angle));
        cairo_rotate(cr, angle);
        cairo_translate(cr, -w / 2, -h / 2);
        // Soft shadow offset down and right.
        for (int k = 3; k >= 1; --k) {
            cairo_new_path(cr);
            cairo_rectangle(cr, k * 0.6, k * 0.8, w, h);
            cairo_set_source_rgba(cr, 0, 0, 0, 0.06);
            cairo_fill(cr);
        }
        DrawCard(cr, font, fan[i], w, h, 4.5);
        cairo_restore(cr);
    }
    return canvas.Take();
}

}  // namespace art
