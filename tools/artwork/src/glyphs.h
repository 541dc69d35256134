// Index lettering: glyph outlines from one font file, filled by cairo, so no font lookup is involved.
#pragma once

#include <cairo.h>

#include <memory>
#include <string>

namespace art {

class Font {
public:
    explicit Font(const std::string& path);
    ~Font();
    Font(Font&&) noexcept;
    Font& operator=(Font&&) noexcept;
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // Width of `text` when its capitals are `capHeight` tall; `squeeze` narrows it horizontally.
    double Width(const std::string& text, double capHeight, double squeeze = 1.0) const;
    // Appends the outlines of `text` to the current path, centred on `centreX`, capitals from `top` down.
    void AddText(cairo_t* cr, const std::string& text, double centreX, double top, double capHeight,
                 double squeeze = 1.0) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace art
