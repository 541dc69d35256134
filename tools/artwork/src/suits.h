// The four suit symbols as vector paths in a unit box centred on the origin (height 1, y down).
#pragma once

#include "canvas.h"

namespace art {

enum class Suit { Hearts, Diamonds, Clubs, Spades };

inline constexpr Rgb kRed{196, 18, 38};
inline constexpr Rgb kBlack{24, 24, 28};

inline Rgb SuitColour(Suit s) { return (s == Suit::Hearts || s == Suit::Diamonds) ? kRed : kBlack; }

void AddSuitPath(cairo_t* cr, Suit suit);
// The same path at height `size`, centred on (cx, cy) and turned by `angle` radians.
void AddPlacedSuitPath(cairo_t* cr, Suit suit, double cx, double cy, double size, double angle);
// Fills one pip of height `size` centred on (cx, cy), turned by `angle` radians.
void DrawPip(cairo_t* cr, Suit suit, double cx, double cy, double size, double angle = 0.0);
void DrawPipColoured(cairo_t* cr, Suit suit, double cx, double cy, double size, double angle, Rgb colour);

}  // namespace art
