#pragma once

#include <cstdint>

namespace lumidot {

class Console;

namespace zentrax {

// The settings menu's glyphs in rows 1 to 5. Each redraws its whole 3 x 5
// box and draws nothing for a value without a glyph.

// The target length in columns 1 to 3: the digits 1 to 4, or a C for 0
// (a length chosen at random for each target).
void DrawSizeIndicator(Console& console, std::int16_t value);

// The target speed in columns 10 to 12: S for 1 (slow), F for 2 (fast),
// or a C for 0 (chosen at random for each target).
void DrawSpeedIndicator(Console& console, std::int16_t value);

}  // namespace zentrax
}  // namespace lumidot
