#pragma once

#include <cstdint>
#include <string>

namespace lumidot {

// A game the slot can run. The console knows a cartridge by this alone.
class Cartridge {
  public:
    virtual ~Cartridge() = default;

    // The name the cartridge list shows.
    virtual std::string Name() const = 0;

    // The game's entry routine. It keeps control while the cartridge is in,
    // handling the window's events in its waits, and returns once the
    // cartridge is out or after its fault report.
    virtual void Run() = 0;

    // The keypad key a click on display column 1 to 16 presses when the
    // enhanced game controls are on, or 0 for none.
    virtual std::int16_t PointerKey(int column) const = 0;
};

}  // namespace lumidot
