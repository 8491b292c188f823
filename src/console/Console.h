#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "console/Platform.h"

namespace lumidot {

// True and false as the console stores them.
constexpr std::int16_t kTrue = -1;
constexpr std::int16_t kFalse = 0;

// The 16 x 16 dot display memory: cells 1 to 256, row by row from the top
// left. A lit dot holds -1, a dark one 0.
class DotTable {
  public:
    static constexpr int kCells = 256;

    // Cell i, 1 to 256; any other index is error 9.
    std::int16_t& operator()(int index) { return cells_[Offset(index)]; }
    std::int16_t operator()(int index) const { return cells_[Offset(index)]; }

  private:
    static std::size_t Offset(int index);

    std::array<std::int16_t, kCells> cells_{};
};

// The simulated handheld: its display memory, its keypad latch, its
// cartridge flag, and the services a cartridge game uses to draw, wait and
// play sounds. One instance lives for the whole run; the window and the game
// share it.
class Console {
  public:
    explicit Console(Platform& platform) : platform_(platform) {}
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    DotTable Dots;

    // The last keypad key clicked (1 to 12) or 0 once the game has taken it.
    std::int16_t KeyPressed = 0;

    // kTrue while a cartridge is in the slot and its game may run.
    std::int16_t CartridgeOn = kFalse;

    // Column x, row y, both 1 to 16. Only the combined index is checked, so
    // column 17 of row 1 is the first dot of row 2. Errors 6 and 9 leave the
    // display unchanged.
    void DotOn(std::int16_t x, std::int16_t y);
    void DotOff(std::int16_t x, std::int16_t y);
    void ClearDots();

    // Waits at least ms milliseconds, handling window events meanwhile. Zero
    // or less returns at once without handling any.
    void Pause(std::int16_t ms);

    // Plays samples/<name> beside the executable and returns when it ends.
    void PlaySample(const std::string& name);

    Platform& platform() { return platform_; }

  private:
    static int DotIndex(std::int16_t x, std::int16_t y);

    Platform& platform_;
};

}  // namespace lumidot
