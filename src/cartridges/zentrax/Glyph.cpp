#include "cartridges/zentrax/Glyph.h"

#include "console/Console.h"
#include "console/Int16.h"

namespace lumidot::zentrax {

namespace {

void Switch(Console& console, const Glyph& glyph, std::int16_t left, char mark) {
    for (std::int16_t row = 1; row <= 5; ++row) {
        const char* line = glyph[static_cast<std::size_t>(row - 1)];
        for (std::int16_t i = 0; i < 3; ++i) {
            if (line[i] != mark) {
                continue;
            }
            const std::int16_t column = int16::Add(left, i);
            if (mark == '#') {
                console.DotOn(column, row);
            } else {
                console.DotOff(column, row);
            }
        }
    }
}

}  // namespace

void DrawGlyph(Console& console, const Glyph& glyph, std::int16_t left) {
    Switch(console, glyph, left, '#');
    Switch(console, glyph, left, '.');
}

}  // namespace lumidot::zentrax
