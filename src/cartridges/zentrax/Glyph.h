#pragma once

#include <array>
#include <cstdint>

namespace lumidot {

class Console;

namespace zentrax {

// A 3 x 5 dot picture, rows from the top, '#' a lit dot and '.' a dark one.
using Glyph = std::array<const char*, 5>;

// Draws the glyph with its left column at `left`, in rows 1 to 5: every lit
// dot is switched on in reading order, then every dark one switched off in
// the same order, so the glyph replaces whatever stood in its box.
void DrawGlyph(Console& console, const Glyph& glyph, std::int16_t left);

}  // namespace zentrax
}  // namespace lumidot
