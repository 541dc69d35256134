// Card faces: indices, pip layouts, ornate ace, double-ended court figures and the joker.
#include "cards.h"

#include <cmath>
#include <string>

namespace art {

namespace {

constexpr Rgb kGold{222, 170, 38};
constexpr Rgb kGoldDark{150, 104, 20};
constexpr Rgb kBlue{32, 62, 150};
constexpr Rgb kSkin{248, 212, 172};
constexpr Rgb kSkinShade{214, 160, 120};
constexpr Rgb kInk{30, 26, 30};
constexpr Rgb kCream{255, 250, 238};
constexpr Rgb kSilver{196, 200, 210};
constexpr Rgb kHairDark{84, 48, 26};
constexpr Rgb kHairFair{232, 190, 90};
constexpr Rgb kBeardWhite{238, 236, 230};
constexpr Rgb kPurple{110, 40, 120};

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void Fill(cairo_t* cr, Rgb c) {
    SetColour(cr, c);
    cairo_fill(cr);
}

void FillStroke(cairo_t* cr, Rgb fill, Rgb line, double width) {
    SetColour(cr, fill);
    cairo_fill_preserve(cr);
    SetColour(cr, line);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
}

const char* RankText(Rank r) {
    switch (r) {
        case Rank::Nine: return "9";
        case Rank::Ten: return "10";
        case Rank::Jack: return "J";
        case Rank::Queen: return "Q";
        case Rank::King: return "K";
        case Rank::Ace: return "A";
    }
    return "";
}

struct Layout {
    double w, h;
};

// Rank over suit at the top left; the caller turns the card for the bottom right copy.
void DrawIndex(cairo_t* cr, const Font& font, Rank rank, Suit suit, const Layout& c) {
    const double cap = 0.098 * c.h;
    const double cx = 0.108 * c.w;
    const double top = 0.042 * c.h;
    const std::string text = RankText(rank);
    double squeeze = text.size() > 1 ? 0.72 : 1.0;
    cairo_new_path(cr);
    font.AddText(cr, text, cx, top, cap, squeeze);
    Fill(cr, SuitColour(suit));
    const double pip = 0.078 * c.h;
    DrawPip(cr, suit, cx, top + cap + 0.022 * c.h + pip / 2, pip);
}

void DrawBothIndices(cairo_t* cr, const Font& font, Rank rank, Suit suit, const Layout& c) {
    DrawIndex(cr, font, rank, suit, c);
    cairo_save(cr);
    cairo_translate(cr, c.w, c.h);
    cairo_rotate(cr, M_PI);
    DrawIndex(cr, font, rank, suit, c);
    cairo_restore(cr);
}

// Pips of the 9 and 10: two columns of four, plus one centre pip (9) or two (10); the lower ones turned.
void DrawNumberPips(cairo_t* cr, Rank rank, Suit suit, const Layout& c) {
    const double size = 0.135 * c.h;
    const double left = 0.305 * c.w, right = 0.695 * c.w, mid = 0.5 * c.w;
    const double top = 0.195 * c.h, bottom = 0.805 * c.h;
    const double step = (bottom - top) / 3.0;
    auto pip = [&](double x, double y) { DrawPip(cr, suit, x, y, size, y > c.h / 2 + 0.5 ? M_PI : 0.0); };
    for (int row = 0; row < 4; ++row) {
        pip(left, top + row * step);
        pip(right, top + row * step);
    }
    if (rank == Rank::Nine) {
        pip(mid, c.h / 2);
    } else {
        pip(mid, top + step / 2);
        pip(mid, bottom - step / 2);
    }
}

void Scroll(cairo_t* cr, double x, double y, double r, double dir) {
    cairo_new_path(cr);
    const int steps = 48;
    for (int i = 0; i <= steps; ++i) {
        double t = i / static_cast<double>(steps);
        double a = dir * (t * 2.4 * M_PI);
        double rr = r * (1.0 - 0.8 * t);
        double px = x + dir * rr * std::cos(a), py = y + rr * std::sin(a);
        if (i == 0) cairo_move_to(cr, px, py); else cairo_line_to(cr, px, py);
    }
}

void Leaf(cairo_t* cr, double x, double y, double len, double angle, Rgb colour) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    cairo_new_path(cr);
    cairo_move_to(cr, 0, 0);
    cairo_curve_to(cr, len * 0.3, -len * 0.32, len * 0.75, -len * 0.25, len, 0);
    cairo_curve_to(cr, len * 0.75, len * 0.25, len * 0.3, len * 0.32, 0, 0);
    cairo_close_path(cr);
    cairo_restore(cr);
    Fill(cr, colour);
}

// The ace of spades carries the set's mark: a large spade in a laurel of scrolls with a jewelled inlay.
void DrawOrnateSpade(cairo_t* cr, const Font& font, const Layout& c) {
    const double cx = c.w / 2, cy = c.h * 0.47;
    const double s = 0.57 * c.w;
    const double line = std::max(0.9, 0.016 * c.w);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);

    // Laurel: two branches rising from the ribbon, each ending in a curl, with red leaves.
    for (int side = -1; side <= 1; side += 2) {
        cairo_new_path(cr);
        cairo_move_to(cr, cx + side * 0.12 * s, cy + 0.66 * s);
        cairo_curve_to(cr, cx + side * 0.62 * s, cy + 0.6 * s, cx + side * 0.7 * s, cy + 0.05 * s,
                       cx + side * 0.5 * s, cy - 0.34 * s);
        SetColour(cr, kInk);
        cairo_set_line_width(cr, line);
        cairo_stroke(cr);
        Scroll(cr, cx + side * 0.44 * s, cy - 0.42 * s, 0.11 * s, side);
        cairo_set_line_width(cr, line);
        cairo_stroke(cr);
        for (int k = 0; k < 5; ++k) {
            const double t = 0.12 + 0.18 * k;
            const double px = cx + side * (0.12 + 0.54 * std::sin(t * M_PI * 0.72)) * s;
            const double py = cy + (0.64 - 0.95 * t) * s;
            const double tangent = std::atan2(-0.95, side * 0.58 * 0.72 * M_PI * std::cos(t * M_PI * 0.72));
            Leaf(cr, px, py, 0.13 * s, tangent - side * 0.7, k % 2 ? kInk : kRed);
            Leaf(cr, px, py, 0.11 * s, tangent + side * 0.9, k % 2 ? kRed : kInk);
        }
    }

    DrawPip(cr, Suit::Spades, cx, cy, s);
    // Inlay: a white line inside the edge, a lyre of curls and a jewel in a gold setting.
    cairo_save(cr);
    cairo_translate(cr, cx, cy - 0.015 * s);
    cairo_scale(cr, 0.82 * s, 0.82 * s);
    cairo_new_path(cr);
    AddSuitPath(cr, Suit::Spades);
    cairo_restore(cr);
    SetColour(cr, kCardWhite);
    cairo_set_line_width(cr, line * 0.7);
    cairo_stroke(cr);
    for (int side = -1; side <= 1; side += 2) {
        cairo_new_path(cr);
        cairo_move_to(cr, cx, cy - 0.3 * s);
        cairo_curve_to(cr, cx + side * 0.08 * s, cy - 0.12 * s, cx + side * 0.3 * s, cy - 0.05 * s,
                       cx + side * 0.26 * s, cy + 0.14 * s);
        SetColour(cr, kCardWhite);
        cairo_set_line_width(cr, line * 0.7);
        cairo_stroke(cr);
        Scroll(cr, cx + side * 0.2 * s, cy + 0.14 * s, 0.06 * s, -side);
        cairo_set_line_width(cr, line * 0.7);
        cairo_stroke(cr);
    }
    Ellipse(cr, cx, cy + 0.05 * s, 0.1 * s, 0.1 * s);
    FillStroke(cr, kRed, kGold, line * 0.9);
    Ellipse(cr, cx - 0.035 * s, cy + 0.02 * s, 0.035 * s, 0.028 * s);
    SetColour(cr, kCardWhite, 0.75);
    cairo_fill(cr);

    // Ribbon with the set's name across the stem.
    const double ry = cy + 0.62 * s, rh = 0.13 * s, rw = 0.95 * s;
    cairo_new_path(cr);
    cairo_move_to(cr, cx - rw / 2, ry - rh / 2);
    cairo_curve_to(cr, cx - rw / 4, ry - rh * 0.9, cx + rw / 4, ry - rh * 0.9, cx + rw / 2, ry - rh / 2);
    cairo_line_to(cr, cx + rw / 2 + rh * 0.5, ry);
    cairo_line_to(cr, cx + rw / 2, ry + rh / 2);
    cairo_curve_to(cr, cx + rw / 4, ry + rh * 0.1, cx - rw / 4, ry + rh * 0.1, cx - rw / 2, ry + rh / 2);
    cairo_line_to(cr, cx - rw / 2 - rh * 0.5, ry);
    cairo_close_path(cr);
    FillStroke(cr, kRed, kInk, line * 0.6);
    cairo_new_path(cr);
    font.AddText(cr, "QUILLFERN", cx, ry - rh * 0.48, rh * 0.5, 0.9);
    Fill(cr, kCardWhite);
}

void DrawAce(cairo_t* cr, const Font& font, Suit suit, const Layout& c) {
    if (suit == Suit::Spades) {
        DrawOrnateSpade(cr, font, c);
        return;
    }
    DrawPip(cr, suit, c.w / 2, c.h / 2, 0.36 * c.h);
}

struct CourtStyle {
    Rgb robe, trim, accent;
};

CourtStyle StyleFor(Suit suit) {
    switch (suit) {
        case Suit::Hearts: return {kRed, kGold, kBlue};
        case Suit::Diamonds: return {kGold, kRed, kPurple};
        case Suit::Clubs: return {kBlue, kGold, kRed};
        case Suit::Spades: return {kBlack, kGold, kRed};
    }
    return {kRed, kGold, kBlue};
}

// One half of a court card in a 100-wide box whose height is `H`; y = H is the centre line.
void DrawCourtHalf(cairo_t* cr, Rank rank, Suit suit, double H) {
    const CourtStyle st = StyleFor(suit);
    const double lw = 1.0;
    auto Y = [H](double f) { return f * H; };
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);

    // Queen's hair falls behind the shoulders.
    if (rank == Rank::Queen) {
        cairo_new_path(cr);
        cairo_move_to(cr, 34, Y(0.28));
        cairo_curve_to(cr, 26, Y(0.45), 28, Y(0.62), 22, Y(0.74));
        cairo_line_to(cr, 78, Y(0.74));
        cairo_curve_to(cr, 72, Y(0.62), 74, Y(0.45), 66, Y(0.28));
        cairo_close_path(cr);
        FillStroke(cr, kHairFair, kInk, lw * 0.8);
    }

    // Body: sloping shoulders that run straight down to the centre line.
    auto bodyPath = [&] {
        cairo_new_path(cr);
        cairo_move_to(cr, 9, H + 1);
        cairo_line_to(cr, 10, Y(0.8));
        cairo_curve_to(cr, 12, Y(0.66), 24, Y(0.6), 36, Y(0.6));
        cairo_line_to(cr, 64, Y(0.6));
        cairo_curve_to(cr, 76, Y(0.6), 88, Y(0.66), 90, Y(0.8));
        cairo_line_to(cr, 91, H + 1);
        cairo_close_path(cr);
    };
    bodyPath();
    FillStroke(cr, st.robe, kInk, lw);
    // Brocade on the robe: small lozenges in the trim colour.
    cairo_save(cr);
    bodyPath();
    cairo_clip(cr);
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 8; ++col) {
            double x = 8 + col * 12 + (row % 2) * 6, y = Y(0.7) + row * Y(0.09);
            if (x > 30 && x < 70) continue;
            cairo_new_path(cr);
            cairo_move_to(cr, x, y - 2.2);
            cairo_line_to(cr, x + 1.8, y);
            cairo_line_to(cr, x, y + 2.2);
            cairo_line_to(cr, x - 1.8, y);
            cairo_close_path(cr);
            SetColour(cr, st.trim, 0.9);
            cairo_fill(cr);
        }
    }
    cairo_restore(cr);
    // Front of the tunic in the accent colour, edged with trim.
    cairo_new_path(cr);
    cairo_move_to(cr, 38, Y(0.6));
    cairo_line_to(cr, 62, Y(0.6));
    cairo_line_to(cr, 68, H + 1);
    cairo_line_to(cr, 32, H + 1);
    cairo_close_path(cr);
    FillStroke(cr, st.accent, kInk, lw * 0.8);
    for (int side = -1; side <= 1; side += 2) {
        cairo_new_path(cr);
        cairo_move_to(cr, 50 + side * 12, Y(0.6));
        cairo_line_to(cr, 50 + side * 18, H + 1);
        SetColour(cr, st.trim);
        cairo_set_line_width(cr, 3.0);
        cairo_stroke(cr);
        cairo_new_path(cr);
        cairo_move_to(cr, 50 + side * 12, Y(0.6));
        cairo_line_to(cr, 50 + side * 18, H + 1);
        SetColour(cr, kInk);
        cairo_set_line_width(cr, 0.5);
        cairo_stroke(cr);
    }
    // King's ermine: a white cape collar with black tails over the shoulders.
    if (rank == Rank::King) {
        cairo_new_path(cr);
        cairo_move_to(cr, 10.5, Y(0.8));
        cairo_curve_to(cr, 12, Y(0.66), 24, Y(0.6), 36, Y(0.6));
        cairo_line_to(cr, 64, Y(0.6));
        cairo_curve_to(cr, 76, Y(0.6), 88, Y(0.66), 89.5, Y(0.8));
        cairo_curve_to(cr, 82, Y(0.82), 72, Y(0.76), 62, Y(0.74));
        cairo_line_to(cr, 50, Y(0.8));
        cairo_line_to(cr, 38, Y(0.74));
        cairo_curve_to(cr, 28, Y(0.76), 18, Y(0.82), 10.5, Y(0.8));
        cairo_close_path(cr);
        FillStroke(cr, kCream, kInk, lw * 0.7);
        const double tails[][2] = {{18, 0.74}, {28, 0.69}, {72, 0.69}, {82, 0.74}, {40, 0.67}, {60, 0.67}, {50, 0.73}};
        for (const auto& t : tails) {
            cairo_new_path(cr);
            cairo_move_to(cr, t[0], Y(t[1]) - 1.8);
            cairo_line_to(cr, t[0], Y(t[1]) + 1.8);
            SetColour(cr, kInk);
            cairo_set_line_width(cr, 1.6);
            cairo_stroke(cr);
        }
    }
    // Suit badge on the chest.
    Ellipse(cr, 50, Y(0.86), 8, 8);
    FillStroke(cr, kCream, st.trim, 1.6);
    DrawPip(cr, suit, 50, Y(0.86), 10.5);

    // Neck and collar.
    cairo_new_path(cr);
    cairo_rectangle(cr, 45, Y(0.5), 10, Y(0.12));
    FillStroke(cr, kSkin, kInk, lw * 0.6);
    if (rank != Rank::King) {
        cairo_new_path(cr);
        for (int i = 0; i <= 14; ++i) {
            double x = 32 + i * (36.0 / 14);
            double y = Y(0.62) + ((i % 2) ? 3.6 : 0);
            if (i == 0) cairo_move_to(cr, x, y); else cairo_line_to(cr, x, y);
        }
        cairo_line_to(cr, 64, Y(0.56));
        cairo_curve_to(cr, 56, Y(0.54), 44, Y(0.54), 36, Y(0.56));
        cairo_close_path(cr);
        FillStroke(cr, kCream, kInk, lw * 0.7);
    }

    // What each figure holds, in front: sword, sceptre or halberd, with the hand around it.
    const double itemX = 80;
    if (rank == Rank::King) {
        cairo_new_path(cr);
        cairo_move_to(cr, itemX - 2.2, Y(0.82));
        cairo_line_to(cr, itemX - 2.2, Y(0.14));
        cairo_line_to(cr, itemX, Y(0.06));
        cairo_line_to(cr, itemX + 2.2, Y(0.14));
        cairo_line_to(cr, itemX + 2.2, Y(0.82));
        cairo_close_path(cr);
        FillStroke(cr, kSilver, kInk, lw * 0.7);
        cairo_new_path(cr);
        cairo_rectangle(cr, itemX - 8, Y(0.8), 16, 3.2);
        FillStroke(cr, kGold, kInk, lw * 0.7);
    } else if (rank == Rank::Queen) {
        cairo_new_path(cr);
        cairo_rectangle(cr, itemX - 1.3, Y(0.2), 2.6, Y(0.8));
        FillStroke(cr, kGold, kInk, lw * 0.6);
        // Sceptre head: an orb under a small cross, so it reads the same in every suit.
        cairo_new_path(cr);
        cairo_move_to(cr, itemX, Y(0.02));
        cairo_line_to(cr, itemX, Y(0.12));
        cairo_move_to(cr, itemX - 3, Y(0.055));
        cairo_line_to(cr, itemX + 3, Y(0.055));
        SetColour(cr, kInk);
        cairo_set_line_width(cr, 2.6);
        cairo_stroke_preserve(cr);
        SetColour(cr, kGold);
        cairo_set_line_width(cr, 1.4);
        cairo_stroke(cr);
        Ellipse(cr, itemX, Y(0.17), 5, 5);
        FillStroke(cr, kGold, kInk, 0.7);
        Ellipse(cr, itemX, Y(0.17), 2, 2);
        FillStroke(cr, kRed, kInk, 0.4);
    } else {
        cairo_new_path(cr);
        cairo_rectangle(cr, itemX - 1.3, Y(0.1), 2.6, Y(0.9));
        FillStroke(cr, kGoldDark, kInk, lw * 0.6);
        cairo_new_path(cr);
        cairo_move_to(cr, itemX, Y(0.02));
        cairo_line_to(cr, itemX + 3, Y(0.12));
        cairo_line_to(cr, itemX + 10, Y(0.1));
        cairo_curve_to(cr, itemX + 8, Y(0.16), itemX + 8, Y(0.2), itemX + 10, Y(0.26));
        cairo_line_to(cr, itemX, Y(0.22));
        cairo_line_to(cr, itemX - 5, Y(0.18));
        cairo_line_to(cr, itemX - 2, Y(0.12));
        cairo_close_path(cr);
        FillStroke(cr, kSilver, kInk, lw * 0.7);
    }
    // Sleeve and hand.
    cairo_new_path(cr);
    cairo_move_to(cr, 64, Y(0.66));
    cairo_curve_to(cr, 72, Y(0.7), 76, Y(0.78), 76, Y(0.86));
    cairo_line_to(cr, 86, Y(0.86));
    cairo_curve_to(cr, 86, Y(0.74), 80, Y(0.64), 70, Y(0.61));
    cairo_close_path(cr);
    FillStroke(cr, st.robe == kGold ? kRed : kGold, kInk, lw * 0.7);
    Ellipse(cr, itemX + 0.5, Y(0.89), 5, 4);
    FillStroke(cr, kSkin, kInk, lw * 0.7);

    // Head.
    const double faceY = 0.38;
    if (rank == Rank::King) {
        // Hair at the sides and a full beard.
        cairo_new_path(cr);
        cairo_move_to(cr, 36, Y(0.3));
        cairo_curve_to(cr, 33, Y(0.46), 36, Y(0.62), 50, Y(0.68));
        cairo_curve_to(cr, 64, Y(0.62), 67, Y(0.46), 64, Y(0.3));
        cairo_close_path(cr);
        FillStroke(cr, kBeardWhite, kInk, lw * 0.7);
    }
    Ellipse(cr, 50, Y(faceY), 11.5, Y(0.15));
    FillStroke(cr, kSkin, kInk, lw * 0.8);
    if (rank == Rank::King) {
        cairo_new_path(cr);
        cairo_move_to(cr, 39, Y(0.41));
        cairo_curve_to(cr, 40, Y(0.56), 45, Y(0.64), 50, Y(0.66));
        cairo_curve_to(cr, 55, Y(0.64), 60, Y(0.56), 61, Y(0.41));
        cairo_curve_to(cr, 57, Y(0.47), 43, Y(0.47), 39, Y(0.41));
        cairo_close_path(cr);
        FillStroke(cr, kBeardWhite, kInk, lw * 0.7);
        for (double x : {45.0, 50.0, 55.0}) {
            cairo_new_path(cr);
            cairo_move_to(cr, x, Y(0.52));
            cairo_line_to(cr, x + (x - 50) * 0.2, Y(0.6));
            SetColour(cr, kSilver);
            cairo_set_line_width(cr, 0.7);
            cairo_stroke(cr);
        }
        cairo_new_path(cr);
        cairo_move_to(cr, 42, Y(0.46));
        cairo_curve_to(cr, 45, Y(0.42), 48.5, Y(0.43), 50, Y(0.445));
        cairo_curve_to(cr, 51.5, Y(0.43), 55, Y(0.42), 58, Y(0.46));
        SetColour(cr, kInk);
        cairo_set_line_width(cr, 1.1);
        cairo_stroke(cr);
    } else if (rank == Rank::Queen) {
        // Fringe framing the face.
        cairo_new_path(cr);
        cairo_move_to(cr, 38.5, Y(0.4));
        cairo_curve_to(cr, 38, Y(0.26), 47, Y(0.24), 50, Y(0.27));
        cairo_curve_to(cr, 53, Y(0.24), 62, Y(0.26), 61.5, Y(0.4));
        cairo_curve_to(cr, 58, Y(0.3), 54, Y(0.3), 50, Y(0.31));
        cairo_curve_to(cr, 46, Y(0.3), 42, Y(0.3), 38.5, Y(0.4));
        cairo_close_path(cr);
        FillStroke(cr, kHairFair, kInk, lw * 0.6);
    } else {
        // Jack: a dark bob cut level with the jaw.
        cairo_new_path(cr);
        cairo_move_to(cr, 38, Y(0.5));
        cairo_curve_to(cr, 35, Y(0.36), 38, Y(0.25), 50, Y(0.25));
        cairo_curve_to(cr, 62, Y(0.25), 65, Y(0.36), 62, Y(0.5));
        cairo_line_to(cr, 60, Y(0.5));
        cairo_curve_to(cr, 60, Y(0.38), 56, Y(0.32), 50, Y(0.32));
        cairo_curve_to(cr, 44, Y(0.32), 40, Y(0.38), 40, Y(0.5));
        cairo_close_path(cr);
        FillStroke(cr, kHairDark, kInk, lw * 0.6);
    }
    // Eyes, brows, nose, mouth and cheeks.
    for (int side = -1; side <= 1; side += 2) {
        Ellipse(cr, 50 + side * 4.6, Y(faceY + 0.005), 1.9, 1.3);
        Fill(cr, kCardWhite);
        Ellipse(cr, 50 + side * 4.6, Y(faceY + 0.005), 1.2, 1.2);
        Fill(cr, kInk);
        cairo_new_path(cr);
        cairo_move_to(cr, 50 + side * 2.2, Y(faceY - 0.04));
        cairo_line_to(cr, 50 + side * 7.5, Y(faceY - 0.045));
        SetColour(cr, rank == Rank::King ? kSilver : kInk);
        cairo_set_line_width(cr, 1.0);
        cairo_stroke(cr);
        if (rank != Rank::King) {
            Ellipse(cr, 50 + side * 7, Y(faceY + 0.07), 2.4, 1.6);
            SetColour(cr, kRed, 0.25);
            cairo_fill(cr);
        }
    }
    cairo_new_path(cr);
    cairo_move_to(cr, 50, Y(faceY));
    cairo_line_to(cr, 48.8, Y(faceY + 0.07));
    cairo_line_to(cr, 50.8, Y(faceY + 0.075));
    SetColour(cr, kSkinShade);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    if (rank != Rank::King) {
        cairo_new_path(cr);
        cairo_move_to(cr, 46.5, Y(faceY + 0.105));
        cairo_curve_to(cr, 48.5, Y(faceY + 0.125), 51.5, Y(faceY + 0.125), 53.5, Y(faceY + 0.105));
        SetColour(cr, kRed);
        cairo_set_line_width(cr, 1.4);
        cairo_stroke(cr);
    }

    // Headgear tells the rank at a glance: tall crown, fleuron crown, feathered cap.
    if (rank == Rank::King) {
        cairo_new_path(cr);
        cairo_move_to(cr, 36, Y(0.27));
        cairo_line_to(cr, 33, Y(0.05));
        cairo_line_to(cr, 41.5, Y(0.15));
        cairo_line_to(cr, 50, Y(0.0));
        cairo_line_to(cr, 58.5, Y(0.15));
        cairo_line_to(cr, 67, Y(0.05));
        cairo_line_to(cr, 64, Y(0.27));
        cairo_close_path(cr);
        FillStroke(cr, kGold, kInk, lw * 0.8);
        cairo_new_path(cr);
        cairo_rectangle(cr, 35.5, Y(0.22), 29, Y(0.06));
        FillStroke(cr, st.robe == kRed ? kBlue : kRed, kInk, lw * 0.6);
        for (double x : {42.0, 50.0, 58.0}) {
            Ellipse(cr, x, Y(0.25), 1.5, 1.5);
            Fill(cr, kCream);
        }
        for (double x : {33.0, 50.0, 67.0}) {
            Ellipse(cr, x, Y(x == 50.0 ? 0.0 : 0.05), 2.3, 2.3);
            FillStroke(cr, kCream, kInk, 0.5);
        }
    } else if (rank == Rank::Queen) {
        cairo_new_path(cr);
        cairo_move_to(cr, 38, Y(0.27));
        cairo_line_to(cr, 38, Y(0.15));
        cairo_curve_to(cr, 42, Y(0.2), 44, Y(0.12), 44, Y(0.1));
        cairo_curve_to(cr, 47, Y(0.14), 48, Y(0.08), 50, Y(0.05));
        cairo_curve_to(cr, 52, Y(0.08), 53, Y(0.14), 56, Y(0.1));
        cairo_curve_to(cr, 56, Y(0.12), 58, Y(0.2), 62, Y(0.15));
        cairo_line_to(cr, 62, Y(0.27));
        cairo_close_path(cr);
        FillStroke(cr, kGold, kInk, lw * 0.8);
        for (double x : {38.0, 44.0, 50.0, 56.0, 62.0}) {
            double y = x == 50.0 ? 0.04 : (x == 44.0 || x == 56.0) ? 0.09 : 0.14;
            Ellipse(cr, x, Y(y), 1.8, 1.8);
            FillStroke(cr, kCream, kInk, 0.5);
        }
        Ellipse(cr, 50, Y(0.22), 2.2, 2.6);
        FillStroke(cr, st.robe == kRed ? kBlue : kRed, kInk, 0.5);
    } else {
        cairo_new_path(cr);
        cairo_move_to(cr, 34, Y(0.27));
        cairo_curve_to(cr, 34, Y(0.06), 66, Y(0.04), 68, Y(0.24));
        cairo_curve_to(cr, 58, Y(0.28), 44, Y(0.29), 34, Y(0.27));
        cairo_close_path(cr);
        FillStroke(cr, st.accent, kInk, lw * 0.8);
        cairo_new_path(cr);
        cairo_move_to(cr, 33, Y(0.27));
        cairo_curve_to(cr, 44, Y(0.3), 58, Y(0.29), 69, Y(0.24));
        SetColour(cr, st.trim);
        cairo_set_line_width(cr, 3.2);
        cairo_stroke(cr);
        // Feather sweeping back over the cap.
        cairo_new_path(cr);
        cairo_move_to(cr, 58, Y(0.2));
        cairo_curve_to(cr, 52, Y(0.06), 38, Y(0.0), 24, Y(0.04));
        cairo_curve_to(cr, 36, Y(0.06), 48, Y(0.12), 54, Y(0.23));
        cairo_close_path(cr);
        FillStroke(cr, kCream, kInk, 0.7);
    }

    // Suit in the panel's corner, as on a real court card.
    DrawPip(cr, suit, 14, Y(0.13), 16);
}

void DrawCourt(cairo_t* cr, Rank rank, Suit suit, const Layout& c) {
    const double fx = 0.205 * c.w, fy = 0.085 * c.h;
    const double fw = c.w - 2 * fx, fh = c.h - 2 * fy;
    const double scale = fw / 100.0;
    const double halfH = fh / 2 / scale;
    const CourtStyle st = StyleFor(suit);

    cairo_new_path(cr);
    cairo_rectangle(cr, fx, fy, fw, fh);
    Fill(cr, kCream);
    for (int half = 0; half < 2; ++half) {
        cairo_save(cr);
        cairo_new_path(cr);
        if (half == 0) {
            cairo_rectangle(cr, fx, fy, fw, fh / 2);
        } else {
            cairo_rectangle(cr, fx, fy + fh / 2, fw, fh / 2);
        }
        cairo_clip(cr);
        if (half == 1) {
            cairo_translate(cr, c.w, c.h);
            cairo_rotate(cr, M_PI);
        }
        cairo_translate(cr, fx, fy);
        cairo_scale(cr, scale, scale);
        DrawCourtHalf(cr, rank, suit, halfH);
        cairo_restore(cr);
    }
    cairo_new_path(cr);
    cairo_move_to(cr, fx, fy + fh / 2);
    cairo_line_to(cr, fx + fw, fy + fh / 2);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 0.7);
    cairo_stroke(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, fx, fy, fw, fh);
    SetColour(cr, st.robe == kGold ? kRed : st.robe);
    cairo_set_line_width(cr, std::max(1.0, 0.012 * c.w));
    cairo_stroke(cr);
}

// Harlequin lozenges in three colours over whatever path is current, clipped to it.
void Harlequin(cairo_t* cr, double x0, double y0, double x1, double y1, double cell, int shift) {
    cairo_save(cr);
    cairo_clip_preserve(cr);
    Fill(cr, kGold);
    const Rgb colours[] = {kRed, kBlue};
    int row = 0;
    for (double y = y0; y < y1 + cell; y += cell * 0.75, ++row) {
        int col = 0;
        for (double x = x0 - cell; x < x1 + cell; x += cell, ++col) {
            double cx = x + ((row % 2) ? cell / 2 : 0);
            cairo_new_path(cr);
            cairo_move_to(cr, cx, y - cell * 0.75);
            cairo_line_to(cr, cx + cell / 2, y);
            cairo_line_to(cr, cx, y + cell * 0.75);
            cairo_line_to(cr, cx - cell / 2, y);
            cairo_close_path(cr);
            if ((col + row + shift) % 3 == 2) continue;
            Fill(cr, colours[(col + row + shift) % 3]);
        }
    }
    cairo_restore(cr);
}

void DrawJokerIndex(cairo_t* cr, const Font& font, const Layout& c) {
    const char* letters = "JOKER";
    const double cap = 0.062 * c.h;
    const double cx = 0.1 * c.w;
    for (int i = 0; i < 5; ++i) {
        cairo_new_path(cr);
        font.AddText(cr, std::string(1, letters[i]), cx, 0.04 * c.h + i * cap * 1.28, cap, 0.9);
        Fill(cr, kBlack);
    }
    // A five-pointed star under the word: a suit would read as a card of that suit.
    const double starY = 0.04 * c.h + 5 * cap * 1.28 + 0.03 * c.h, starR = 0.036 * c.h;
    cairo_new_path(cr);
    for (int i = 0; i < 10; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 5, r = (i % 2) ? starR * 0.42 : starR;
        if (i == 0) cairo_move_to(cr, cx + r * std::cos(a), starY + r * std::sin(a));
        else cairo_line_to(cr, cx + r * std::cos(a), starY + r * std::sin(a));
    }
    cairo_close_path(cr);
    Fill(cr, kRed);
}

// A full-length jester: belled cap, ruff, harlequin tunic, parti-coloured legs and a bauble on a stick.
void DrawJoker(cairo_t* cr, const Font& font, const Layout& c) {
    DrawJokerIndex(cr, font, c);
    cairo_save(cr);
    cairo_translate(cr, c.w, c.h);
    cairo_rotate(cr, M_PI);
    DrawJokerIndex(cr, font, c);
    cairo_restore(cr);

    cairo_save(cr);
    const double scale = 0.6 * c.w / 100.0;
    const double designH = 0.92 * c.h / scale;
    cairo_translate(cr, 0.2 * c.w, 0.045 * c.h);
    cairo_scale(cr, scale, scale);
    const double k = designH / 215.0;  // stretch along the card's height
    auto Y = [k](double y) { return y * k; };
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const double lw = 1.2;

    // Legs in two colours and curled shoes.
    cairo_new_path(cr);
    cairo_rectangle(cr, 35, Y(160), 13, Y(40));
    FillStroke(cr, kRed, kInk, lw);
    cairo_new_path(cr);
    cairo_rectangle(cr, 52, Y(160), 13, Y(40));
    FillStroke(cr, kBlue, kInk, lw);
    for (int side = -1; side <= 1; side += 2) {
        const double x = 50 + side * 8.5;
        cairo_new_path(cr);
        cairo_move_to(cr, x - side * 8, Y(198));
        cairo_curve_to(cr, x - side * 8, Y(208), x + side * 14, Y(210), x + side * 20, Y(199));
        cairo_curve_to(cr, x + side * 16, Y(203), x + side * 8, Y(200), x + side * 6, Y(198));
        cairo_close_path(cr);
        FillStroke(cr, kGold, kInk, lw);
        Ellipse(cr, x + side * 20, Y(198), 2.6, 2.6);
        FillStroke(cr, kGold, kInk, 0.7);
    }

    // The bauble stick, held in the left hand, behind the arm.
    cairo_new_path(cr);
    cairo_move_to(cr, 14, Y(176));
    cairo_line_to(cr, 14, Y(118));
    SetColour(cr, kGoldDark);
    cairo_set_line_width(cr, 3.4);
    cairo_stroke(cr);
    Ellipse(cr, 14, Y(110), 7, 7.5);
    FillStroke(cr, kSkin, kInk, lw * 0.8);
    cairo_new_path(cr);
    cairo_move_to(cr, 6, Y(108));
    cairo_curve_to(cr, 4, Y(96), 10, Y(94), 14, Y(92));
    cairo_curve_to(cr, 18, Y(94), 24, Y(96), 22, Y(108));
    cairo_close_path(cr);
    FillStroke(cr, kRed, kInk, lw * 0.8);
    Ellipse(cr, 14, Y(91), 2.4, 2.4);
    FillStroke(cr, kGold, kInk, 0.6);
    Ellipse(cr, 12, Y(110), 0.9, 0.9);
    Fill(cr, kInk);
    Ellipse(cr, 16.5, Y(110), 0.9, 0.9);
    Fill(cr, kInk);

    // Tunic.
    auto tunic = [&] {
        cairo_new_path(cr);
        cairo_move_to(cr, 30, Y(108));
        cairo_line_to(cr, 70, Y(108));
        cairo_curve_to(cr, 76, Y(130), 80, Y(150), 80, Y(166));
        cairo_line_to(cr, 20, Y(166));
        cairo_curve_to(cr, 20, Y(150), 24, Y(130), 30, Y(108));
        cairo_close_path(cr);
    };
    tunic();
    Harlequin(cr, 18, Y(108), 82, Y(166), 12, 0);
    tunic();
    SetColour(cr, kInk);
    cairo_set_line_width(cr, lw);
    cairo_stroke(cr);
    // Jagged hem with bells.
    cairo_new_path(cr);
    cairo_move_to(cr, 20, Y(164));
    for (int i = 0; i < 6; ++i) {
        cairo_line_to(cr, 25 + i * 10, Y(174));
        cairo_line_to(cr, 30 + i * 10, Y(164));
    }
    cairo_close_path(cr);
    FillStroke(cr, kPurple, kInk, lw * 0.8);
    for (int i = 0; i < 6; ++i) {
        Ellipse(cr, 25 + i * 10, Y(175), 2.2, 2.2);
        FillStroke(cr, kGold, kInk, 0.6);
    }

    // Arms: sleeves in the tunic's colours, hands in front.
    struct Arm { double sx, sy, hx, hy; Rgb sleeve; };
    const Arm arms[] = {{32, 114, 16, 150, kBlue}, {68, 114, 86, 136, kRed}};
    for (const Arm& a : arms) {
        cairo_new_path(cr);
        cairo_move_to(cr, a.sx, Y(a.sy));
        cairo_curve_to(cr, (a.sx + a.hx) / 2 + (a.hx < 50 ? -6 : 6), Y(a.sy + 4), a.hx, Y(a.hy - 16), a.hx, Y(a.hy - 4));
        SetColour(cr, kInk);
        cairo_set_line_width(cr, 11);
        cairo_stroke_preserve(cr);
        SetColour(cr, a.sleeve);
        cairo_set_line_width(cr, 8.6);
        cairo_stroke(cr);
        Ellipse(cr, a.hx, Y(a.hy), 5, 5);
        FillStroke(cr, kSkin, kInk, lw * 0.8);
    }

    // Ruff collar with gold tips.
    cairo_new_path(cr);
    for (int i = 0; i <= 12; ++i) {
        const double a = M_PI * (0.06 + 0.88 * i / 12.0);
        const double r = (i % 2) ? 16 : 30;
        const double x = 50 - r * std::cos(a), y = Y(101) + Y(r * std::sin(a) * 0.45);
        if (i == 0) cairo_move_to(cr, x, y); else cairo_line_to(cr, x, y);
    }
    cairo_close_path(cr);
    FillStroke(cr, kCream, kInk, lw);
    for (int i = 0; i <= 12; i += 2) {
        const double a = M_PI * (0.06 + 0.88 * i / 12.0);
        Ellipse(cr, 50 - 30 * std::cos(a), Y(101) + Y(30 * std::sin(a) * 0.45), 2.2, 2.2);
        FillStroke(cr, kGold, kInk, 0.6);
    }

    // Face with a wide grin, rosy cheeks and a red nose.
    Ellipse(cr, 50, Y(80), 15, Y(17));
    FillStroke(cr, kSkin, kInk, lw);
    for (int side = -1; side <= 1; side += 2) {
        Ellipse(cr, 50 + side * 5.5, Y(76), 1.8, Y(2.3));
        Fill(cr, kInk);
        cairo_new_path(cr);
        cairo_move_to(cr, 50 + side * 3, Y(71));
        cairo_curve_to(cr, 50 + side * 5, Y(69), 50 + side * 7, Y(69), 50 + side * 9, Y(71.5));
        SetColour(cr, kInk);
        cairo_set_line_width(cr, 1.1);
        cairo_stroke(cr);
        Ellipse(cr, 50 + side * 9, Y(85), 3.2, Y(2.4));
        SetColour(cr, kRed, 0.35);
        cairo_fill(cr);
    }
    cairo_new_path(cr);
    cairo_move_to(cr, 41, Y(86));
    cairo_curve_to(cr, 44, Y(95), 56, Y(95), 59, Y(86));
    cairo_curve_to(cr, 54, Y(89), 46, Y(89), 41, Y(86));
    cairo_close_path(cr);
    FillStroke(cr, kRed, kInk, 0.8);
    Ellipse(cr, 50, Y(82), 2.8, Y(2.8));
    FillStroke(cr, kRed, kInk, 0.6);

    // Three-pointed cap, each point drooping to a bell.
    struct Tip { double x, y; Rgb colour; };
    const Tip tips[] = {{50, 6, kGold}, {4, 40, kRed}, {96, 40, kBlue}};
    for (const Tip& t : tips) {
        const bool side = t.x != 50;
        cairo_new_path(cr);
        cairo_move_to(cr, 33, Y(66));
        if (side && t.x < 50) {
            cairo_curve_to(cr, 28, Y(50), 14, Y(40), t.x, Y(t.y));
            cairo_curve_to(cr, 18, Y(52), 44, Y(44), 60, Y(64));
        } else if (side) {
            cairo_move_to(cr, 67, Y(66));
            cairo_curve_to(cr, 72, Y(50), 86, Y(40), t.x, Y(t.y));
            cairo_curve_to(cr, 82, Y(52), 56, Y(44), 40, Y(64));
        } else {
            cairo_curve_to(cr, 36, Y(48), 46, Y(20), t.x, Y(t.y));
            cairo_curve_to(cr, 54, Y(20), 64, Y(48), 67, Y(66));
        }
        cairo_close_path(cr);
        FillStroke(cr, t.colour, kInk, lw);
    }
    cairo_new_path(cr);
    cairo_move_to(cr, 32, Y(67));
    cairo_curve_to(cr, 40, Y(60), 60, Y(60), 68, Y(67));
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 6.4);
    cairo_stroke_preserve(cr);
    SetColour(cr, kPurple);
    cairo_set_line_width(cr, 4.6);
    cairo_stroke(cr);
    for (const Tip& t : tips) {
        Ellipse(cr, t.x, Y(t.y), 4.4, 4.4);
        FillStroke(cr, t.colour == kGold ? kRed : kGold, kInk, 0.9);
    }
    cairo_restore(cr);
}

}  // namespace

void DrawCard(cairo_t* cr, const Font& font, int cell, double w, double h, double radius) {
    cairo_save(cr);
    cairo_new_path(cr);
    RoundedRect(cr, 0, 0, w, h, radius);
    Fill(cr, kOutlineGrey);
    cairo_new_path(cr);
    RoundedRect(cr, 1, 1, w - 2, h - 2, radius - 1);
    Fill(cr, kCardWhite);

    const Layout c{w, h};
    if (cell == kJokerCell) {
        DrawJoker(cr, font, c);
        cairo_restore(cr);
        return;
    }
    const Rank rank = CellRank(cell);
    const Suit suit = CellSuit(cell);
    switch (rank) {
        case Rank::Nine:
        case Rank::Ten: DrawNumberPips(cr, rank, suit, c); break;
        case Rank::Ace: DrawAce(cr, font, suit, c); break;
        default: DrawCourt(cr, rank, suit, c); break;
    }
    DrawBothIndices(cr, font, rank, suit, c);
    cairo_restore(cr);
}

Image RenderCell(const Font& font, int cell, int w, int h, double radius, const std::vector<int>& cornerRuns) {
    Canvas canvas(w, h);
    cairo_t* cr = canvas.Cr();
    SetColour(cr, kOutlineGrey);
    cairo_paint(cr);
    DrawCard(cr, font, cell, w, h, radius);
    Image image = canvas.Take();
    for (std::size_t row = 0; row < cornerRuns.size(); ++row) {
        for (int i = 0; i < cornerRuns[row]; ++i) {
            int top = static_cast<int>(row), bottom = h - 1 - static_cast<int>(row);
            image.At(i, top) = kKeyGreen;
            image.At(w - 1 - i, top) = kKeyGreen;
            image.At(i, bottom) = kKeyGreen;
            image.At(w - 1 - i, bottom) = kKeyGreen;
        }
    }
    return image;
}

}  // namespace art
