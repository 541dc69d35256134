// The icon is drawn with alpha, then the mask keeps the most opaque pixels so that exactly the
// required number stay transparent; the drawing's scale is chosen so that cut lands near half cover.
#include "icon.h"

#include "little_endian.h"
#include "suits.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <stdexcept>

namespace art {

namespace {

constexpr int kPixels = kIconSize * kIconSize;
constexpr int kOpaque = kPixels - kIconTransparent;
constexpr Rgb kEdgeBackdrop{200, 200, 204};

struct Premultiplied {
    std::vector<std::uint32_t> argb;
};

// A suit with a dark rim and a soft highlight toward the upper left of the screen, whatever its turn.
void DrawSuitGlossy(cairo_t* cr, Suit suit, double cx, double cy, double size, double angle) {
    auto shape = [&] { AddPlacedSuitPath(cr, suit, cx, cy, size, angle); };
    const bool red = SuitColour(suit) == kRed;
    shape();
    UniquePattern body(cairo_pattern_create_linear(cx - size / 2, cy - size / 2, cx + size / 2, cy + size / 2));
    if (red) {
        cairo_pattern_add_color_stop_rgb(body.get(), 0, 0.96, 0.22, 0.26);
        cairo_pattern_add_color_stop_rgb(body.get(), 1, 0.62, 0.02, 0.08);
    } else {
        cairo_pattern_add_color_stop_rgb(body.get(), 0, 0.34, 0.34, 0.4);
        cairo_pattern_add_color_stop_rgb(body.get(), 1, 0.02, 0.02, 0.04);
    }
    cairo_set_source(cr, body.get());
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 0.9);
    if (red) cairo_set_source_rgb(cr, 0.45, 0.0, 0.04); else cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
    cairo_stroke(cr);
    cairo_save(cr);
    shape();
    cairo_clip(cr);
    const double gx = cx - 0.14 * size, gy = cy - 0.16 * size;
    UniquePattern gloss(cairo_pattern_create_radial(gx, gy, 0.0, gx, gy, (red ? 0.3 : 0.22) * size));
    cairo_pattern_add_color_stop_rgba(gloss.get(), 0, 1, 1, 1, red ? 0.8 : 0.55);
    cairo_pattern_add_color_stop_rgba(gloss.get(), 1, 1, 1, 1, 0.0);
    cairo_set_source(cr, gloss.get());
    cairo_paint(cr);
    cairo_restore(cr);
}

Premultiplied Draw(double scale) {
    UniqueSurface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kIconSize, kIconSize));
    UniqueContext cr(cairo_create(surface.get()));
    const double c = kIconSize / 2.0;
    const double off = 8.4 * scale;
    // Each suit's tip faces the centre: heart and diamond as drawn, spade and club turned a quarter.
    DrawSuitGlossy(cr.get(), Suit::Hearts, c, c - off, 14.0 * scale, 0);
    DrawSuitGlossy(cr.get(), Suit::Diamonds, c, c + off, 16.5 * scale, 0);
    DrawSuitGlossy(cr.get(), Suit::Spades, c - off, c, 14.5 * scale, M_PI / 2);
    DrawSuitGlossy(cr.get(), Suit::Clubs, c + off, c, 15.0 * scale, -M_PI / 2);
    cairo_surface_flush(surface.get());
    Premultiplied out;
    out.argb.resize(kPixels);
    const unsigned char* data = cairo_image_surface_get_data(surface.get());
    int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < kIconSize; ++y) std::memcpy(&out.argb[y * kIconSize], data + y * stride, kIconSize * 4);
    return out;
}

int CoveredAtHalf(const Premultiplied& p) {
    return static_cast<int>(std::count_if(p.argb.begin(), p.argb.end(), [](std::uint32_t v) { return (v >> 24) >= 128; }));
}

}  // namespace

Icon MakeIcon() {
    // The half-cover count grows with the scale; take the scale whose count is closest to the target.
    double bestScale = 1.0;
    int bestGap = kPixels;
    for (int step = 0; step <= 400; ++step) {
        double scale = 0.8 + step * 0.001;
        int gap = std::abs(CoveredAtHalf(Draw(scale)) - kOpaque);
        if (gap < bestGap) {
            bestGap = gap;
            bestScale = scale;
        }
    }
    Premultiplied p = Draw(bestScale);

    // Most opaque first; ties go to the pixel nearer the centre so the cut stays round.
    std::vector<int> order(kPixels);
    std::iota(order.begin(), order.end(), 0);
    auto distance = [](int i) {
        double dx = i % kIconSize - 15.5, dy = i / kIconSize - 15.5;
        return dx * dx + dy * dy;
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        std::uint32_t aa = p.argb[a] >> 24, ab = p.argb[b] >> 24;
        if (aa != ab) return aa > ab;
        return distance(a) < distance(b);
    });

    Icon icon;
    icon.scale = bestScale;
    icon.opaque.assign(kPixels, false);
    for (int i = 0; i < kOpaque; ++i) icon.opaque[order[i]] = true;
    icon.colour = Image(kIconSize, kIconSize, Rgb{});
    for (int i = 0; i < kPixels; ++i) {
        if (!icon.opaque[i]) continue;
        std::uint32_t v = p.argb[i];
        double a = (v >> 24) / 255.0;
        auto channel = [&](int shift, std::uint8_t back) {
            double premult = ((v >> shift) & 0xFF);
            return static_cast<std::uint8_t>(std::lround(std::min(255.0, premult + (1 - a) * back)));
        };
        icon.colour.pixels[i] = Rgb{channel(16, kEdgeBackdrop.r), channel(8, kEdgeBackdrop.g), channel(0, kEdgeBackdrop.b)};
    }

    const std::uint32_t colourBytes = kIconSize * kIconSize * 3;
    const std::uint32_t maskBytes = kIconSize * 4;
    std::vector<std::uint8_t>& out = icon.image;
    Put32(out, 40);
    Put32(out, kIconSize);
    Put32(out, kIconSize * 2);  // colour image and mask stacked
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);
    Put32(out, colourBytes + maskBytes);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = kIconSize - 1; y >= 0; --y) {
        for (int x = 0; x < kIconSize; ++x) {
            const Rgb& c = icon.colour.At(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
    }
    for (int y = kIconSize - 1; y >= 0; --y) {
        for (int byte = 0; byte < 4; ++byte) {
            std::uint8_t bits = 0;
            for (int bit = 0; bit < 8; ++bit) {
                int x = byte * 8 + bit;
                if (!icon.opaque[y * kIconSize + x]) bits |= static_cast<std::uint8_t>(0x80 >> bit);
            }
            out.push_back(bits);
        }
    }

    std::vector<std::uint8_t>& group = icon.group;
    Put16(group, 0);  // reserved
    Put16(group, 1);  // icon
    Put16(group, 1);  // one entry
    group.push_back(kIconSize);
    group.push_back(kIconSize);
    group.push_back(0);  // colour count: more than 256 colours
    group.push_back(0);
    Put16(group, 1);
    Put16(group, 24);
    Put32(group, static_cast<std::uint32_t>(out.size()));
    Put16(group, kIconImageId);
    if (out.size() != 3240) throw std::runtime_error("icon image has the wrong size");
    return icon;
}

}  // namespace art
