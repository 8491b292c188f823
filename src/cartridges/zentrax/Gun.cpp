#include "cartridges/zentrax/Gun.h"

#include <array>

#include "console/Console.h"

namespace lumidot::zentrax {

namespace {

struct Dot {
    std::int16_t x;
    std::int16_t y;
};

// Each site's five dots in the order they are switched; the barrel points
// towards the middle of the display.
constexpr std::array<std::array<Dot, 5>, 3> kSites{{
    {{{3, 14}, {2, 15}, {1, 16}, {2, 16}, {3, 16}}},      // left, up and to the right
    {{{8, 14}, {8, 15}, {7, 16}, {8, 16}, {9, 16}}},      // middle, straight up
    {{{14, 14}, {15, 15}, {14, 16}, {15, 16}, {16, 16}}}  // right, up and to the left
}};

}  // namespace

void DrawGun(Console& console, std::int16_t position) {
    if (position < kGunLeft || position > kGunRight) {
        return;
    }
    for (std::int16_t site = kGunLeft; site <= kGunRight; ++site) {
        for (const Dot& dot : kSites[static_cast<std::size_t>(site - 1)]) {
            if (site == position) {
                console.DotOn(dot.x, dot.y);
            } else {
                console.DotOff(dot.x, dot.y);
            }
        }
    }
}

}  // namespace lumidot::zentrax
