// FreeType reads unhinted outlines in font units; hinting would tie the shapes to FreeType's version.
#include "glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <stdexcept>

namespace art {

namespace {

struct LibraryDeleter {
    void operator()(FT_Library lib) const { FT_Done_FreeType(lib); }
};
struct FaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};

struct PathSink {
    cairo_t* cr;
    double originX, baseline, scale, squeeze;
    double lastX = 0, lastY = 0;
    double X(const FT_Vector* v) const { return originX + v->x * scale * squeeze; }
    double Y(const FT_Vector* v) const { return baseline - v->y * scale; }
};

int MoveTo(const FT_Vector* to, void* user) {
    auto* s = static_cast<PathSink*>(user);
    cairo_close_path(s->cr);
    cairo_move_to(s->cr, s->X(to), s->Y(to));
    s->lastX = s->X(to);
    s->lastY = s->Y(to);
    return 0;
}

int LineTo(const FT_Vector* to, void* user) {
    auto* s = static_cast<PathSink*>(user);
    cairo_line_to(s->cr, s->X(to), s->Y(to));
    s->lastX = s->X(to);
    s->lastY = s->Y(to);
    return 0;
}

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    auto* s = static_cast<PathSink*>(user);
    double cx = s->X(control), cy = s->Y(control), x = s->X(to), y = s->Y(to);
    cairo_curve_to(s->cr, s->lastX + 2.0 / 3.0 * (cx - s->lastX), s->lastY + 2.0 / 3.0 * (cy - s->lastY),
                   x + 2.0 / 3.0 * (cx - x), y + 2.0 / 3.0 * (cy - y), x, y);
    s->lastX = x;
    s->lastY = y;
    return 0;
}

int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    auto* s = static_cast<PathSink*>(user);
    cairo_curve_to(s->cr, s->X(c1), s->Y(c1), s->X(c2), s->Y(c2), s->X(to), s->Y(to));
    s->lastX = s->X(to);
    s->lastY = s->Y(to);
    return 0;
}

}  // namespace

struct Font::Impl {
    std::unique_ptr<FT_LibraryRec_, LibraryDeleter> library;
    std::unique_ptr<FT_FaceRec_, FaceDeleter> face;
    double capUnits = 0;

    FT_GlyphSlot Load(char ch) const {
        FT_UInt index = FT_Get_Char_Index(face.get(), static_cast<unsigned char>(ch));
        if (index == 0) throw std::runtime_error(std::string("font has no glyph for ") + ch);
        if (FT_Load_Glyph(face.get(), index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0)
            throw std::runtime_error("cannot load glyph");
        return face->glyph;
    }
};

Font::Font(const std::string& path) : impl_(std::make_unique<Impl>()) {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) throw std::runtime_error("FreeType failed to start");
    impl_->library.reset(lib);
    FT_Face face = nullptr;
    if (FT_New_Face(lib, path.c_str(), 0, &face) != 0) throw std::runtime_error("cannot open font file " + path);
    impl_->face.reset(face);
    FT_GlyphSlot h = impl_->Load('H');
    FT_BBox box;
    FT_Outline_Get_CBox(&h->outline, &box);
    impl_->capUnits = static_cast<double>(box.yMax);
}

Font::~Font() = default;
Font::Font(Font&&) noexcept = default;
Font& Font::operator=(Font&&) noexcept = default;

double Font::Width(const std::string& text, double capHeight, double squeeze) const {
    double scale = capHeight / impl_->capUnits;
    double units = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        FT_GlyphSlot g = impl_->Load(text[i]);
        if (i + 1 < text.size()) {
            units += g->metrics.horiAdvance;
        } else {
            units += g->metrics.horiBearingX + g->metrics.width;
        }
        if (i == 0) units -= g->metrics.horiBearingX;
    }
    return units * scale * squeeze;
}

void Font::AddText(cairo_t* cr, const std::string& text, double centreX, double top, double capHeight,
                   double squeeze) const {
    double scale = capHeight / impl_->capUnits;
    double x = centreX - Width(text, capHeight, squeeze) / 2.0;
    FT_Outline_Funcs funcs{};
    funcs.move_to = &MoveTo;
    funcs.line_to = &LineTo;
    funcs.conic_to = &ConicTo;
    funcs.cubic_to = &CubicTo;
    for (std::size_t i = 0; i < text.size(); ++i) {
        FT_GlyphSlot g = impl_->Load(text[i]);
        if (i == 0) x -= g->metrics.horiBearingX * scale * squeeze;
        PathSink sink{cr, x, top + capHeight, scale, squeeze};
        cairo_new_sub_path(cr);
        if (FT_Outline_Decompose(&g->outline, &funcs, &sink) != 0) throw std::runtime_error("bad glyph outline");
        cairo_close_path(cr);
        x += g->metrics.horiAdvance * scale * squeeze;
    }
}

}  // namespace art
