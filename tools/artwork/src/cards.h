// The 25 card faces, drawn as vectors at any size; the strips, preview and window picture all use them.
#pragma once

#include "canvas.h"
#include "glyphs.h"
#include "suits.h"

#include <vector>

namespace art {

inline constexpr int kCellCount = 25;
inline constexpr int kJokerCell = 24;
inline constexpr Rgb kKeyGreen{0, 255, 0};
inline constexpr Rgb kOutlineGrey{122, 122, 122};
inline constexpr Rgb kCardWhite{255, 255, 255};

enum class Rank { Nine, Ten, Jack, Queen, King, Ace };

inline Rank CellRank(int cell) { return static_cast<Rank>(cell / 4); }
inline Suit CellSuit(int cell) { return static_cast<Suit>(cell % 4); }

// Draws the card of `cell` into the box (0, 0, w, h) of the current transform, corners rounded by `radius`.
void DrawCard(cairo_t* cr, const Font& font, int cell, double w, double h, double radius);

// One strip cell: the card on a neutral ground, with the key-green corner runs (lengths counted
// from each corner, one per row) stamped last so no drawn pixel is blended with the key.
Image RenderCell(const Font& font, int cell, int w, int h, double radius, const std::vector<int>& cornerRuns);

}  // namespace art
