#pragma once

#include <cstdint>

namespace lumidot {

class Console;

namespace zentrax {

// The game's 3 x 5 digit font, drawn in rows 1 to 5 towards the right edge.

// Draws digit 0 to 9 in columns 14 + offset to 16 + offset; any other value
// draws nothing.
void DrawDigit(Console& console, std::int16_t digit, std::int16_t offset);

// The settings menu's number of targets: one digit in columns 14 to 16.
void DrawTargetCount(Console& console, std::int16_t n);

// A score: one digit in columns 14 to 16 below 10; from 10 on the units
// stay there and each higher digit stands four columns further left (tens
// in 10 to 12, hundreds in 6 to 8, thousands in 2 to 4). Four digits fill
// the display, so anything above 9999 shows 9999. Negative values draw
// nothing. Digits are drawn from the highest down.
void DrawScore(Console& console, std::int16_t n);

}  // namespace zentrax
}  // namespace lumidot
