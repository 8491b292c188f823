#pragma once

#include <cstdint>

namespace lumidot {

class Console;

namespace zentrax {

// The gun positions at the bottom of the display.
enum GunSite : std::int16_t { kGunLeft = 1, kGunMiddle = 2, kGunRight = 3 };

// Shows the gun at position 1, 2 or 3 and erases it from the other two
// sites; any other position changes nothing.
void DrawGun(Console& console, std::int16_t position);

}  // namespace zentrax
}  // namespace lumidot
