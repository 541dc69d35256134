// Faces are laid out by rank across and suit down, with the key green shown as the game would: table colour.
#include "contact_sheet.h"

#include "cards.h"

#include <algorithm>
#include <string>

namespace art {

namespace {

constexpr Rgb kTable{38, 56, 78};
constexpr Rgb kLabel{236, 232, 220};
constexpr int kGap = 8;
constexpr int kMargin = 28;
constexpr int kLabelHeight = 34;
constexpr int kIconZoom = 8;
constexpr int kTitleHeight = 56;
constexpr const char* kTitle = "Quillfern card faces for Tolvar";

struct Block {
    int width, height;
};

Block FaceBlock(int cellW, int cellH) { return {7 * cellW + 6 * kGap, 4 * cellH + 3 * kGap}; }

void PutKeyed(Image& sheet, const Image& strip, int cellW, int dx, int dy) {
    for (int cell = 0; cell < kCellCount; ++cell) {
        int col = cell == kJokerCell ? 6 : cell / 4;
        int row = cell == kJokerCell ? 0 : cell % 4;
        int ox = dx + col * (cellW + kGap), oy = dy + row * (strip.height + kGap);
        for (int y = 0; y < strip.height; ++y) {
            for (int x = 0; x < cellW; ++x) {
                Rgb p = strip.At(cell * cellW + x, y);
                sheet.At(ox + x, oy + y) = p == kKeyGreen ? kTable : p;
            }
        }
    }
}

Image Zoom(const Image& src, int factor) {
    Image out(src.width * factor, src.height * factor, Rgb{});
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) out.At(x, y) = src.At(x / factor, y / factor);
    return out;
}

}  // namespace

Image RenderContactSheet(const Font& font, const std::vector<SheetEntry>& stripEntries, const std::vector<int>& cellWidths,
                         const SheetEntry& previewEntry, const SheetEntry& windowEntry, const Icon& icon) {
    std::vector<Image> strips;
    for (const SheetEntry& e : stripEntries) strips.push_back(*e.image);
    const Image& preview = *previewEntry.image;
    const Image& windowPicture = *windowEntry.image;
    std::vector<Block> blocks;
    for (std::size_t i = 0; i < strips.size(); ++i) blocks.push_back(FaceBlock(cellWidths[i], strips[i].height));
    const int row1W = blocks[0].width + blocks[1].width + kMargin;
    const int row2W = blocks[2].width + blocks[3].width + kMargin;
    const int row1H = std::max(blocks[0].height, blocks[1].height);
    const int row2H = std::max(blocks[2].height, blocks[3].height);
    const int iconSide = kIconSize * kIconZoom;
    const Image windowZoom = Zoom(windowPicture, 2);
    const int row3H = std::max({preview.height, windowZoom.height, iconSide});
    const int width = std::max(row1W, row2W) + 2 * kMargin;
    const int height = kTitleHeight + 4 * kMargin + 3 * kLabelHeight + row1H + row2H + row3H;

    Image sheet(width, height, kTable);
    struct Label {
        std::string text;
        int x, y;
    };
    std::vector<Label> labels;
    auto place = [&](int index, int x, int y) {
        PutKeyed(sheet, strips[index], cellWidths[index], x, y + kLabelHeight);
        labels.push_back({stripEntries[index].name + "  " + std::to_string(cellWidths[index]) + " x " +
                              std::to_string(strips[index].height),
                          x, y});
    };
    int y = kTitleHeight + kMargin;
    place(0, kMargin, y);
    place(1, kMargin + blocks[0].width + kMargin, y);
    y += kLabelHeight + row1H + kMargin;
    place(2, kMargin, y);
    place(3, kMargin + blocks[2].width + kMargin, y);
    y += kLabelHeight + row2H + kMargin;

    int x = kMargin;
    sheet.Blit(preview, x, y + kLabelHeight);
    labels.push_back({previewEntry.name + "  preview", x, y});
    x += preview.width + kMargin * 2;
    sheet.Blit(windowZoom, x, y + kLabelHeight);
    labels.push_back({windowEntry.name + "  x2", x, y});
    x += windowZoom.width + kMargin * 2;
    // The icon on a checkerboard, so its transparent pixels show as such.
    for (int py = 0; py < iconSide; ++py) {
        for (int px = 0; px < iconSide; ++px) {
            int i = (py / kIconZoom) * kIconSize + px / kIconZoom;
            bool light = ((px / 16) + (py / 16)) % 2 == 0;
            sheet.At(x + px, y + kLabelHeight + py) =
                icon.opaque[i] ? icon.colour.pixels[i] : (light ? Rgb{200, 200, 200} : Rgb{150, 150, 150});
        }
    }
    labels.push_back({"icon  x8", x, y});

    Canvas canvas(sheet.width, sheet.height);
    canvas.Put(sheet, 0, 0);
    cairo_t* cr = canvas.Cr();
    const double titleCap = 30;
    cairo_new_path(cr);
    font.AddText(cr, kTitle, kMargin + font.Width(kTitle, titleCap) / 2, kMargin, titleCap);
    SetColour(cr, kLabel);
    cairo_fill(cr);
    for (const Label& label : labels) {
        const double cap = 15;
        const double w = font.Width(label.text, cap);
        cairo_new_path(cr);
        font.AddText(cr, label.text, label.x + w / 2, label.y + 8, cap);
        SetColour(cr, kLabel);
        cairo_fill(cr);
    }
    return canvas.Take();
}

}  // namespace art
