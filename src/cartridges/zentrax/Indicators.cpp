#include "cartridges/zentrax/Indicators.h"

#include "cartridges/zentrax/Digits.h"
#include "cartridges/zentrax/Glyph.h"

namespace lumidot::zentrax {

namespace {

constexpr Glyph kRandomC{"###", "#..", "#..", "#..", "###"};
constexpr Glyph kSlowS{".##", "#..", "###", "..#", "##."};
constexpr Glyph kFastF{"###", "#..", "##.", "#..", "#.."};

}  // namespace

void DrawSizeIndicator(Console& console, std::int16_t value) {
    if (value == 0) {
        DrawGlyph(console, kRandomC, 1);
    } else if (value >= 1 && value <= 4) {
        // The lengths are the digit font's own 1 to 4.
        DrawDigit(console, value, -13);
    }
}

void DrawSpeedIndicator(Console& console, std::int16_t value) {
    switch (value) {
        case 0:
            DrawGlyph(console, kRandomC, 10);
            break;
        case 1:
            DrawGlyph(console, kSlowS, 10);
            break;
        case 2:
            DrawGlyph(console, kFastF, 10);
            break;
        default:
            break;
    }
}

}  // namespace lumidot::zentrax
