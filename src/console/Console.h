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

// Told how a game keeps its time: when each of its timed steps runs against
// the time it was due, and when each of its own waits (a pause, a sound)
// ends. The benchmark measures the game's timing through it; the program
// leaves it unset.
class TimingWatch {
  public:
    virtual ~TimingWatch() = default;
    virtual void StepRan(double due, double ran) = 0;
    virtual void HoldEnded(double at) = 0;
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

    // A game reports each timed step here as it runs, with its due time.
    void StepDue(double due) {
        if (watch_ != nullptr) {
            watch_->StepRan(due, platform_.Seconds());
        }
    }
    void Watch(TimingWatch* watch) { watch_ = watch; }

  private:
    void HoldEnded() {
        if (watch_ != nullptr) {
            watch_->HoldEnded(platform_.Seconds());
        }
    }

    static int DotIndex(std::int16_t x, std::int16_t y);

    Platform& platform_;
    TimingWatch* watch_ = nullptr;
};

}  // namespace lumidot
