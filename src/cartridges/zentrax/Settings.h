#pragma once

#include <cstdint>

namespace lumidot::zentrax {

// What the menu chose for one game. Every game starts from the defaults.
struct Settings {
    std::int16_t size = 4;     // 1 to 4 dots per target, 0 for a random length each
    std::int16_t speed = 1;    // 1 slow, 2 fast, 0 random for each target
    std::int16_t targets = 1;  // the game has ten times this many targets
};

}  // namespace lumidot::zentrax
