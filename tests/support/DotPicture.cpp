#include "support/DotPicture.h"

namespace lumidot::testing {

std::string DotPicture(const Console& console) {
    std::string out;
    for (int row = 0; row < 16; ++row) {
        for (int column = 0; column < 16; ++column) {
            out += console.Dots(row * 16 + column + 1) == kTrue ? '#' : '.';
        }
        out += '\n';
    }
    return out;
}

}  // namespace lumidot::testing
