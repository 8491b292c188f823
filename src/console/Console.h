#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "console/Platform.h"

namespace lumidot {

// True and false as the console stores them in its display memory.
constexpr std::int16_t kTrue = -1;
constexpr std::int16_t kFalse = 0;

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
// cartridge flag, and the services a cartridge game uses to draw, wait,
// play sounds, draw random numbers and find its files. One instance lives
// for the whole run. The window presses keys and reads the display; the
// game takes keys and draws; only the slot moves the cartridge in and out.
class Console {
  public:
    // The display's dots, 16 rows of 16, and the keypad's keys.
    static constexpr int kDots = 256;
    static constexpr int kKeys = 12;

    explicit Console(Platform& platform) : platform_(platform) {}
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // The display memory, cells 1 to 256, row by row from the top left: -1
    // for a lit dot, 0 for a dark one. Any other index is error 9.
    std::int16_t Dots(int index) const;

    // Column x, row y, both 1 to 16. Only the combined index is checked, so
    // column 17 of row 1 is the first dot of row 2. Errors 6 and 9 leave the
    // display unchanged.
    void DotOn(std::int16_t x, std::int16_t y);
    void DotOff(std::int16_t x, std::int16_t y);
    void ClearDots();
    // Whether the dot at column x, row y is lit, by the same rules.
    bool Lit(std::int16_t x, std::int16_t y) const {
        return dots_[Offset(DotIndex(x, y))] == kTrue;
    }

    // Called each time a cell of the display memory takes a new value, and
    // only then: whoever shows the display needs to look again.
    void OnDisplayChange(std::function<void()> listener) { displayChanged_ = std::move(listener); }

    // The keypad latch holds one key: a later press overwrites one the game
    // has not taken yet.
    void PressKey(std::int16_t index) { keyPressed_ = index; }
    // The last key pressed (1 to 12), or 0 once the game has taken it.
    std::int16_t KeyPressed() const { return keyPressed_; }
    void ClearKey() { keyPressed_ = 0; }

    // Whether a cartridge is in the slot and its game may go on.
    bool CartridgeOn() const { return cartridgeOn_; }

    // Monotonic seconds: no wait or interval can hang at midnight.
    double Seconds() { return platform_.Seconds(); }
    // Handles the window's pending events once; handlers run inside.
    void PumpEvents();
    // The same, then sleeps until an event or `until` unless something was
    // handled since the last wait (see Platform::AwaitEvents).
    void AwaitEvents(double until);
    // How many of the console's pumps are running, one inside the other:
    // 0 while nothing of the console handles events.
    int PumpDepth() const { return pumpDepth_; }
    // Runs the action from the event loop, after the handler that asked for
    // it has returned.
    void Defer(std::function<void()> action) { platform_.Defer(std::move(action)); }

    // Waits at least ms milliseconds, handling window events meanwhile. Zero
    // or less returns at once without handling any.
    void Pause(std::int16_t ms);
    // Waits, handling the window's events and sleeping while none come,
    // until `until` (on Seconds()) or until `over` says so; `over` is asked
    // first, before any event is handled.
    void WaitUntil(double until, const std::function<bool()>& over = nullptr);

    // Plays samples/<name> beside the executable and returns when it ends.
    void PlaySample(const std::string& name);
    // Plays the WAV file at the path and returns when it ends; an empty
    // path, like any file that cannot be played, gives the default sound.
    void PlayFile(const std::string& path);

    void Randomize() { platform_.Randomize(); }
    // Uniform in [0, 1).
    float Random() { return platform_.Random(); }

    // A file beside the executable, by its path relative to that folder.
    std::string FilePath(const std::string& relative);

    // A game reports each timed step here as it runs, with its due time.
    void StepDue(double due) {
        if (watch_ != nullptr) {
            watch_->StepRan(due, platform_.Seconds());
        }
    }
    void Watch(TimingWatch* watch) { watch_ = watch; }

  private:
    friend class Slot;
    void SetCartridgeOn(bool on) { cartridgeOn_ = on; }

    void HoldEnded() {
        if (watch_ != nullptr) {
            watch_->HoldEnded(platform_.Seconds());
        }
    }

    static std::size_t Offset(int index);
    static int DotIndex(std::int16_t x, std::int16_t y);
    void SetDot(std::size_t offset, std::int16_t value);
    void DisplayChanged() {
        if (displayChanged_) {
            displayChanged_();
        }
    }

    Platform& platform_;
    std::array<std::int16_t, kDots> dots_{};
    std::int16_t keyPressed_ = 0;
    bool cartridgeOn_ = false;
    int pumpDepth_ = 0;
    TimingWatch* watch_ = nullptr;
    std::function<void()> displayChanged_;
};

}  // namespace lumidot
