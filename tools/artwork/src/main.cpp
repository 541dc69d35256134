// Writes every committed picture of the set: the preview, four card strips, the window picture and the icon.
#include "bmp_strip.h"
#include "cards.h"
#include "contact_sheet.h"
#include "icon.h"
#include "jpeg_exact.h"
#include "window_picture.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <string>

namespace {

using namespace art;

constexpr const char* kPreviewFile = "resources/Quillfern.fac";
constexpr const char* kStripFilePattern = "resources/Quillfern%d.edf";
constexpr const char* kWindowPictureFile = "resources/window.jpg";
constexpr const char* kIconImageFile = "resources/icon/icon.bin";
constexpr const char* kIconGroupFile = "resources/icon/group.bin";
constexpr const char* kContactSheetFile = "docs/contact-sheet.png";

constexpr std::size_t kPreviewSize = 40879;
constexpr std::size_t kWindowPictureSize = 8541;
constexpr int kPreviewDpi = 200;
constexpr int kWindowPictureDpi = 96;  // one picture pixel per screen pixel
constexpr int kPreviewCells[] = {4, 10, 12, 17, 23};

constexpr char kNoteTag[] = "QFRN";
constexpr std::uint8_t kNoteKind = 15;
constexpr std::size_t kNoteTextLength = 75;
constexpr char kNoteText[] = "Quillfern card faces - artwork drawn in code by the Quillfern team";

std::vector<std::uint8_t> PreviewNote() {
    std::vector<std::uint8_t> note(kNoteTag, kNoteTag + 4);
    note.push_back(0);
    note.push_back(kNoteKind);
    std::string text = kNoteText;
    text.resize(kNoteTextLength, ' ');
    note.insert(note.end(), text.begin(), text.end());
    note.push_back(0);
    return note;
}

Image Preview(const Image& smallest, int cellWidth) {
    Image preview(cellWidth * 5, smallest.height, kCardWhite);
    for (int i = 0; i < 5; ++i) {
        Image cell = smallest.Crop(kPreviewCells[i] * cellWidth, 0, cellWidth, smallest.height);
        for (Rgb& p : cell.pixels)
            if (p == kKeyGreen) p = kCardWhite;
        preview.Blit(cell, i * cellWidth, 0);
    }
    return preview;
}

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

int Run(const std::string& root, const std::string& fontPath) {
    const auto start = std::chrono::steady_clock::now();
    const Font font(fontPath);

    std::vector<Image> strips;
    std::vector<std::string> stripNames;
    std::vector<int> cellWidths;
    for (std::size_t i = 0; i < StripSizes().size(); ++i) {
        const StripSize& size = StripSizes()[i];
        strips.push_back(RenderStrip(font, size));
        cellWidths.push_back(size.cellWidth);
        std::vector<std::uint8_t> bytes = EncodeStrip(strips.back());
        char name[64];
        std::snprintf(name, sizeof name, kStripFilePattern, static_cast<int>(i + 1));
        WriteFile(root + "/" + name, bytes);
        stripNames.push_back(BaseName(name));
        std::printf("%-26s %9zu bytes\n", name, bytes.size());
    }

    const Image preview = Preview(strips[0], cellWidths[0]);
    JpegResult previewJpeg = EncodeExactJpeg(preview, {kPreviewDpi, PreviewNote(), kPreviewSize});
    WriteFile(root + "/" + kPreviewFile, previewJpeg.bytes);
    std::printf("%-26s %9zu bytes (table scale %d%%, %d steps, %d encodes)\n", kPreviewFile, previewJpeg.bytes.size(),
                previewJpeg.scale, previewJpeg.tweaks, previewJpeg.encodes);

    const Image window = RenderWindowPicture(font);
    JpegResult windowJpeg = EncodeExactJpeg(window, {kWindowPictureDpi, {}, kWindowPictureSize});
    WriteFile(root + "/" + kWindowPictureFile, windowJpeg.bytes);
    std::printf("%-26s %9zu bytes (table scale %d%%, %d steps, %d encodes)\n", kWindowPictureFile,
                windowJpeg.bytes.size(), windowJpeg.scale, windowJpeg.tweaks, windowJpeg.encodes);

    const Icon icon = MakeIcon();
    WriteFile(root + "/" + kIconImageFile, icon.image);
    WriteFile(root + "/" + kIconGroupFile, icon.group);
    std::printf("%-26s %9zu bytes (drawing scale %.3f)\n", kIconImageFile, icon.image.size(), icon.scale);
    std::printf("%-26s %9zu bytes\n", kIconGroupFile, icon.group.size());

    std::vector<SheetEntry> sheetStrips;
    for (std::size_t i = 0; i < strips.size(); ++i) sheetStrips.push_back({stripNames[i], &strips[i]});
    WritePng(root + "/" + kContactSheetFile,
             RenderContactSheet(font, sheetStrips, cellWidths, {BaseName(kPreviewFile), &preview},
                                {BaseName(kWindowPictureFile), &window}, icon));
    std::printf("%-26s written\n", kContactSheetFile);
    std::printf("generator ran in %.2f s\n", Seconds(start));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s REPO_ROOT FONT_FILE\n", argv[0]);
        return 2;
    }
    try {
        return Run(argv[1], argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillfern_artwork: %s\n", e.what());
        return 1;
    }
}
