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
    const int steps = 40;
    for (int i = 0; i <= steps; ++i) {
        double t = i / static_cast<double>(steps);
        double a = dir * (t * 2.6 * M_PI);
        double rr = r * (1.0 - 0.78 * t);
        double px = x + dir * rr * std::cos(a), py = y + rr * std::sin(a);
        if (i == 0) cairo_move_to(cr, px, py); else cairo_line_to(cr, px, py);
    }
}

void DrawOrnateSpade(cairo_t* cr, const Layout& c) {
    const double cx = c.w / 2, cy = c.h / 2;
    const double s = 0.56 * c.w;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    // Laurel of scrolls behind the spade.
    cairo_set_line_width(cr, 0.012 * c.w + 0.4);
    SetColour(cr, kInk);
    for (int side = -1; side <= 1; side += 2) {
        cairo_new_path(cr);
        cairo_move_to(cr, cx, cy + 0.5 * s);
        cairo_curve_to(cr, cx + side * 0.45 * s, cy + 0.5 * s, cx + side * 0.62 * s, cy + 0.1 * s,
                       cx + side * 0.5 * s, cy - 0.25 * s);
        cairo_stroke(cr);
        Scroll(cr, cx + side * 0.44 * s, cy - 0.33 * s, 0.09 * s, side);
        cairo_stroke(cr);
        Scroll(cr, cx + side * 0.34 * s, cy + 0.56 * s, 0.08 * s, -side);
        cairo_stroke(cr);
        for (int k = 0; k < 4; ++k) {
            double t = 0.2 + 0.2 * k;
            double lx = cx + side * (0.2 + 0.38 * std::sin(t * M_PI * 0.9)) * s;
            double ly = cy + (0.5 - 0.8 * t) * s;
            Ellipse(cr, lx, ly, 0.035 * s, 0.018 * s);
            SetColour(cr, kRed);
            cairo_fill(cr);
        }
        SetColour(cr, kInk);
    }
    DrawPip(cr, Suit::Spades, cx, cy, s);
    // Inlay: a thin white spade line and a red heart-shaped jewel at the heart of the spade.
    cairo_save(cr);
    cairo_translate(cr, cx, cy - 0.02 * s);
    cairo_scale(cr, 0.8 * s, 0.8 * s);
    cairo_new_path(cr);
    AddSuitPath(cr, Suit::Spades);
    cairo_restore(cr);
    SetColour(cr, kCardWhite);
    cairo_set_line_width(cr, 0.012 * c.w + 0.3);
    cairo_stroke(cr);
    Ellipse(cr, cx, cy + 0.02 * s, 0.09 * s, 0.09 * s);
    FillStroke(cr, kRed, kGold, 0.01 * c.w + 0.3);
    Ellipse(cr, cx - 0.03 * s, cy - 0.01 * s, 0.03 * s, 0.025 * s);
    SetColour(cr, kCardWhite, 0.7);
    cairo_fill(cr);
}

void DrawAce(cairo_t* cr, Suit suit, const Layout& c) {
    if (suit == Suit::Spades) {
        DrawOrnateSpade(cr, c);
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
    const double lw = 1.1;
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);

    // What each figure holds, behind the body.
    if (rank == Rank::King) {
        cairo_new_path(cr);
        cairo_rectangle(cr, 79, 0.1 * H, 4, 0.72 * H);
        FillStroke(cr, kSilver, kInk, lw * 0.7);
        cairo_new_path(cr);
        cairo_rectangle(cr, 72, 0.8 * H, 18, 3.5);
        FillStroke(cr, kGold, kInk, lw * 0.7);
    } else if (rank == Rank::Jack) {
        cairo_new_path(cr);
        cairo_rectangle(cr, 80, 0.06 * H, 3, 0.94 * H);
        FillStroke(cr, kGoldDark, kInk, lw * 0.6);
        cairo_new_path(cr);
        cairo_move_to(cr, 81.5, 0.02 * H);
        cairo_line_to(cr, 88, 0.16 * H);
        cairo_line_to(cr, 81.5, 0.24 * H);
        cairo_line_to(cr, 75, 0.16 * H);
        cairo_close_path(cr);
        FillStroke(cr, kSilver, kInk, lw * 0.7);
    }
    if (rank == Rank::Queen) {
        // Long hair falling behind the shoulders.
        cairo_new_path(cr);
        cairo_move_to(cr, 36, 0.3 * H);
        cairo_curve_to(cr, 28, 0.5 * H, 30, 0.7 * H, 26, 0.78 * H);
        cairo_line_to(cr, 74, 0.78 * H);
        cairo_curve_to(cr, 70, 0.7 * H, 72, 0.5 * H, 64, 0.3 * H);
        cairo_close_path(cr);
        FillStroke(cr, kHairFair, kInk, lw * 0.7);
    }

    // Robe and shoulders.
    cairo_new_path(cr);
    cairo_move_to(cr, 8, H + 1);
    cairo_line_to(cr, 8, 0.82 * H);
    cairo_curve_to(cr, 12, 0.66 * H, 28, 0.62 * H, 38, 0.63 * H);
    cairo_line_to(cr, 62, 0.63 * H);
    cairo_curve_to(cr, 72, 0.62 * H, 88, 0.66 * H, 92, 0.82 * H);
    cairo_line_to(cr, 92, H + 1);
    cairo_close_path(cr);
    FillStroke(cr, st.robe, kInk, lw);
    // Front panel of the robe in the accent colour with trim.
    cairo_new_path(cr);
    cairo_move_to(cr, 40, 0.64 * H);
    cairo_line_to(cr, 60, 0.64 * H);
    cairo_line_to(cr, 64, H + 1);
    cairo_line_to(cr, 36, H + 1);
    cairo_close_path(cr);
    FillStroke(cr, st.accent, kInk, lw * 0.8);
    for (int side = -1; side <= 1; side += 2) {
        cairo_new_path(cr);
        cairo_move_to(cr, 50 + side * 10, 0.64 * H);
        cairo_line_to(cr, 50 + side * 14, H + 1);
        SetColour(cr, st.trim);
        cairo_set_line_width(cr, 2.6);
        cairo_stroke(cr);
    }
    // Sleeve trim bands.
    for (int side = -1; side <= 1; side += 2) {
        cairo_new_path(cr);
        cairo_move_to(cr, 50 + side * 40, 0.8 * H);
        cairo_curve_to(cr, 50 + side * 34, 0.74 * H, 50 + side * 26, 0.72 * H, 50 + side * 20, 0.72 * H);
        SetColour(cr, st.trim);
        cairo_set_line_width(cr, 2.4);
        cairo_stroke(cr);
    }
    // Suit badge on the chest.
    Ellipse(cr, 50, 0.86 * H, 7.5, 7.5);
    FillStroke(cr, kCream, st.trim, 1.4);
    DrawPip(cr, suit, 50, 0.86 * H, 10);

    // Ruff collar.
    cairo_new_path(cr);
    for (int i = 0; i <= 12; ++i) {
        double x = 34 + i * (32.0 / 12);
        double y = 0.64 * H + ((i % 2) ? 3.5 : 0);
        if (i == 0) cairo_move_to(cr, x, y); else cairo_line_to(cr, x, y);
    }
    cairo_line_to(cr, 62, 0.58 * H);
    cairo_line_to(cr, 38, 0.58 * H);
    cairo_close_path(cr);
    FillStroke(cr, kCream, kInk, lw * 0.7);

    // Face.
    Ellipse(cr, 50, 0.43 * H, 11.5, 14.5);
    FillStroke(cr, kSkin, kInk, lw * 0.8);
    if (rank == Rank::King) {
        cairo_new_path(cr);
        cairo_move_to(cr, 38.6, 0.44 * H);
        cairo_curve_to(cr, 38, 0.62 * H, 44, 0.72 * H, 50, 0.74 * H);
        cairo_curve_to(cr, 56, 0.72 * H, 62, 0.62 * H, 61.4, 0.44 * H);
        cairo_curve_to(cr, 58, 0.56 * H, 42, 0.56 * H, 38.6, 0.44 * H);
        cairo_close_path(cr);
        FillStroke(cr, kBeardWhite, kInk, lw * 0.7);
        cairo_new_path(cr);
        cairo_move_to(cr, 43, 0.53 * H);
        cairo_curve_to(cr, 46, 0.49 * H, 49, 0.5 * H, 50, 0.51 * H);
        cairo_curve_to(cr, 51, 0.5 * H, 54, 0.49 * H, 57, 0.53 * H);
        SetColour(cr, kInk);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
    } else if (rank == Rank::Jack) {
        cairo_new_path(cr);
        cairo_move_to(cr, 38.5, 0.4 * H);
        cairo_curve_to(cr, 37, 0.5 * H, 38, 0.56 * H, 40, 0.58 * H);
        cairo_line_to(cr, 41, 0.36 * H);
        cairo_close_path(cr);
        cairo_move_to(cr, 61.5, 0.4 * H);
        cairo_curve_to(cr, 63, 0.5 * H, 62, 0.56 * H, 60, 0.58 * H);
        cairo_line_to(cr, 59, 0.36 * H);
        cairo_close_path(cr);
        FillStroke(cr, kHairDark, kInk, lw * 0.6);
    }
    // Eyes, brows, nose and mouth.
    for (int side = -1; side <= 1; side += 2) {
        Ellipse(cr, 50 + side * 4.3, 0.41 * H, 1.4, 1.4);
        Fill(cr, kInk);
        cairo_new_path(cr);
        cairo_move_to(cr, 50 + side * 2.2, 0.36 * H);
        cairo_line_to(cr, 50 + side * 7, 0.355 * H);
        SetColour(cr, kInk);
        cairo_set_line_width(cr, 0.9);
        cairo_stroke(cr);
    }
    cairo_new_path(cr);
    cairo_move_to(cr, 50, 0.42 * H);
    cairo_line_to(cr, 48.6, 0.48 * H);
    cairo_line_to(cr, 50.6, 0.485 * H);
    SetColour(cr, kSkinShade);
    cairo_set_line_width(cr, 0.9);
    cairo_stroke(cr);
    if (rank != Rank::King) {
        cairo_new_path(cr);
        cairo_move_to(cr, 47, 0.53 * H);
        cairo_curve_to(cr, 48.5, 0.55 * H, 51.5, 0.55 * H, 53, 0.53 * H);
        SetColour(cr, kRed);
        cairo_set_line_width(cr, 1.3);
        cairo_stroke(cr);
    }

    // Headgear tells the rank: tall pointed crown, small crown with pearls, feathered cap.
    if (rank == Rank::King) {
        cairo_new_path(cr);
        cairo_move_to(cr, 36, 0.31 * H);
        cairo_line_to(cr, 35, 0.08 * H);
        cairo_line_to(cr, 42.5, 0.19 * H);
        cairo_line_to(cr, 50, 0.02 * H);
        cairo_line_to(cr, 57.5, 0.19 * H);
        cairo_line_to(cr, 65, 0.08 * H);
        cairo_line_to(cr, 64, 0.31 * H);
        cairo_close_path(cr);
        FillStroke(cr, kGold, kInk, lw * 0.8);
        for (double x : {35.0, 50.0, 65.0}) {
            Ellipse(cr, x, (x == 50.0 ? 0.02 : 0.08) * H, 2.2, 2.2);
            FillStroke(cr, st.accent == kRed ? kRed : kRed, kInk, 0.5);
        }
        cairo_new_path(cr);
        cairo_rectangle(cr, 36, 0.25 * H, 28, 0.06 * H);
        FillStroke(cr, st.trim == kGold ? kRed : kBlue, kInk, 0.6);
    } else if (rank == Rank::Queen) {
        cairo_new_path(cr);
        cairo_move_to(cr, 38, 0.3 * H);
        cairo_line_to(cr, 39, 0.17 * H);
        cairo_curve_to(cr, 44, 0.22 * H, 46, 0.14 * H, 50, 0.1 * H);
        cairo_curve_to(cr, 54, 0.14 * H, 56, 0.22 * H, 61, 0.17 * H);
        cairo_line_to(cr, 62, 0.3 * H);
        cairo_close_path(cr);
        FillStroke(cr, kGold, kInk, lw * 0.8);
        for (double x : {39.0, 50.0, 61.0}) {
            Ellipse(cr, x, (x == 50.0 ? 0.09 : 0.16) * H, 2.0, 2.0);
            FillStroke(cr, kCream, kInk, 0.5);
        }
        // A rose held at the shoulder.
        Ellipse(cr, 22, 0.74 * H, 6, 6);
        FillStroke(cr, st.robe == kRed ? kGold : kRed, kInk, 0.8);
        Ellipse(cr, 22, 0.74 * H, 2.6, 2.6);
        FillStroke(cr, kCream, kInk, 0.5);
    } else {
        cairo_new_path(cr);
        cairo_move_to(cr, 33, 0.3 * H);
        cairo_curve_to(cr, 34, 0.12 * H, 64, 0.08 * H, 68, 0.26 * H);
        cairo_curve_to(cr, 58, 0.32 * H, 42, 0.33 * H, 33, 0.3 * H);
        cairo_close_path(cr);
        FillStroke(cr, st.accent, kInk, lw * 0.8);
        cairo_new_path(cr);
        cairo_move_to(cr, 33, 0.3 * H);
        cairo_curve_to(cr, 42, 0.33 * H, 58, 0.32 * H, 68, 0.26 * H);
        SetColour(cr, st.trim);
        cairo_set_line_width(cr, 2.4);
        cairo_stroke(cr);
        // Feather.
        cairo_new_path(cr);
        cairo_move_to(cr, 60, 0.16 * H);
        cairo_curve_to(cr, 66, 0.02 * H, 76, 0.0 * H, 84, 0.04 * H);
        cairo_curve_to(cr, 76, 0.06 * H, 68, 0.1 * H, 62, 0.2 * H);
        cairo_close_path(cr);
        FillStroke(cr, kCream, kInk, 0.7);
    }

    // Suit in the panel's corner, as on a real court card.
    DrawPip(cr, suit, 16, 0.14 * H, 15);
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

void DrawJokerIndex(cairo_t* cr, const Font& font, const Layout& c) {
    const char* letters = "JOKER";
    const double cap = 0.06 * c.h;
    const double cx = 0.1 * c.w;
    for (int i = 0; i < 5; ++i) {
        cairo_new_path(cr);
        font.AddText(cr, std::string(1, letters[i]), cx, 0.045 * c.h + i * cap * 1.3, cap);
        Fill(cr, (i % 2) ? kBlack : kRed);
    }
}

void DrawJoker(cairo_t* cr, const Font& font, const Layout& c) {
    DrawJokerIndex(cr, font, c);
    cairo_save(cr);
    cairo_translate(cr, c.w, c.h);
    cairo_rotate(cr, M_PI);
    DrawJokerIndex(cr, font, c);
    cairo_restore(cr);

    cairo_save(cr);
    const double scale = 0.62 * c.w / 100.0;
    cairo_translate(cr, c.w / 2 - 50 * scale, c.h / 2 - 80 * scale);
    cairo_scale(cr, scale, scale);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const double lw = 1.2;
    // Body in harlequin diamonds.
    cairo_new_path(cr);
    cairo_move_to(cr, 20, 160);
    cairo_curve_to(cr, 22, 120, 30, 100, 40, 92);
    cairo_line_to(cr, 60, 92);
    cairo_curve_to(cr, 70, 100, 78, 120, 80, 160);
    cairo_close_path(cr);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    Fill(cr, kGold);
    for (int row = 0; row < 6; ++row) {
        for (int col = 0; col < 6; ++col) {
            if ((row + col) % 2) continue;
            double x = 12 + col * 14 + (row % 2) * 7, y = 94 + row * 12;
            cairo_new_path(cr);
            cairo_move_to(cr, x, y);
            cairo_line_to(cr, x + 7, y + 6);
            cairo_line_to(cr, x, y + 12);
            cairo_line_to(cr, x - 7, y + 6);
            cairo_close_path(cr);
            Fill(cr, (row / 2 + col) % 2 ? kRed : kBlue);
        }
    }
    cairo_restore(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, 20, 160);
    cairo_curve_to(cr, 22, 120, 30, 100, 40, 92);
    cairo_line_to(cr, 60, 92);
    cairo_curve_to(cr, 70, 100, 78, 120, 80, 160);
    cairo_close_path(cr);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, lw);
    cairo_stroke(cr);
    // Pointed collar.
    cairo_new_path(cr);
    for (int i = 0; i <= 10; ++i) {
        double a = M_PI * (0.05 + 0.9 * i / 10.0);
        double r = (i % 2) ? 10 : 22;
        double x = 50 - r * std::cos(a) * 1.3, y = 86 + r * std::sin(a) * 0.7;
        if (i == 0) cairo_move_to(cr, x, y); else cairo_line_to(cr, x, y);
    }
    cairo_close_path(cr);
    FillStroke(cr, kCream, kInk, lw);
    for (int i = 1; i < 10; i += 2) {
        double a = M_PI * (0.05 + 0.9 * i / 10.0);
        Ellipse(cr, 50 - 22 * std::cos(a) * 1.3, 86 + 22 * std::sin(a) * 0.7, 2.2, 2.2);
        FillStroke(cr, kGold, kInk, 0.6);
    }
    // Face with a wide grin.
    Ellipse(cr, 50, 68, 14, 16);
    FillStroke(cr, kSkin, kInk, lw);
    for (int side = -1; side <= 1; side += 2) {
        Ellipse(cr, 50 + side * 5, 64, 1.8, 2.2);
        Fill(cr, kInk);
        Ellipse(cr, 50 + side * 8.5, 72, 2.6, 2.0);
        SetColour(cr, kRed, 0.45);
        cairo_fill(cr);
    }
    cairo_new_path(cr);
    cairo_move_to(cr, 42, 73);
    cairo_curve_to(cr, 45, 80, 55, 80, 58, 73);
    SetColour(cr, kRed);
    cairo_set_line_width(cr, 1.8);
    cairo_stroke(cr);
    Ellipse(cr, 50, 70, 2.4, 2.4);
    Fill(cr, kRed);
    // Three-pointed cap with bells.
    struct Point { double x, y; Rgb colour; };
    const Point tips[] = {{14, 34, kRed}, {50, 8, kBlue}, {86, 34, kRed}};
    for (const Point& t : tips) {
        cairo_new_path(cr);
        cairo_move_to(cr, 36, 56);
        cairo_curve_to(cr, 40, 40, t.x, t.y + 14, t.x, t.y);
        cairo_curve_to(cr, t.x + (50 - t.x) * 0.5, t.y + 18, 62, 40, 64, 56);
        cairo_close_path(cr);
        FillStroke(cr, t.colour, kInk, lw);
    }
    cairo_new_path(cr);
    cairo_move_to(cr, 35, 57);
    cairo_curve_to(cr, 42, 50, 58, 50, 65, 57);
    SetColour(cr, kGold);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    for (const Point& t : tips) {
        Ellipse(cr, t.x, t.y, 4.2, 4.2);
        FillStroke(cr, kGold, kInk, 0.8);
    }
    cairo_restore(cr);

    // A star on either side of the jester.
    DrawPipColoured(cr, Suit::Diamonds, 0.2 * c.w, 0.78 * c.h, 0.1 * c.h, 0, kRed);
    DrawPipColoured(cr, Suit::Spades, 0.8 * c.w, 0.22 * c.h, 0.1 * c.h, 0, kBlack);
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
        case Rank::Ace: DrawAce(cr, suit, c); break;
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
