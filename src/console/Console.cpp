#include "console/Console.h"

#include <algorithm>

#include "console/Int16.h"
#include "console/RuntimeError.h"

namespace lumidot {

namespace {

// Counts a pump as running for as long as it runs, however it ends.
class Nested {
  public:
    explicit Nested(int& depth) : depth_(++depth) {}
    ~Nested() { --depth_; }
    Nested(const Nested&) = delete;
    Nested& operator=(const Nested&) = delete;

  private:
    int& depth_;
};

}  // namespace

std::size_t Console::Offset(int index) {
    if (index < 1 || index > kDots) {
        throw RuntimeError(kErrSubscriptOutOfRange, "Subscript out of range");
    }
    return static_cast<std::size_t>(index - 1);
}

std::int16_t Console::Dots(int index) const {
    return dots_[Offset(index)];
}

int Console::DotIndex(std::int16_t x, std::int16_t y) {
    // Each step is checked on its own, in this order, so a row whose product
    // with 16 overflows fails even where the final index would not.
    std::int16_t index = int16::Mul(y, 16);
    index = int16::Sub(index, 16);
    return int16::Add(index, x);
}

void Console::SetDot(std::size_t offset, std::int16_t value) {
    if (dots_[offset] != value) {
        dots_[offset] = value;
        DisplayChanged();
    }
}

void Console::DotOn(std::int16_t x, std::int16_t y) {
    SetDot(Offset(DotIndex(x, y)), kTrue);
}

void Console::DotOff(std::int16_t x, std::int16_t y) {
    SetDot(Offset(DotIndex(x, y)), kFalse);
}

void Console::ClearDots() {
    if (std::any_of(dots_.begin(), dots_.end(), [](std::int16_t dot) { return dot != kFalse; })) {
        dots_.fill(kFalse);
        DisplayChanged();
    }
}

void Console::PumpEvents() {
    const Nested nested(pumpDepth_);
    platform_.PumpEvents();
}

void Console::AwaitEvents(double until) {
    const Nested nested(pumpDepth_);
    platform_.AwaitEvents(until);
}

void Console::Pause(std::int16_t ms) {
    // The wait is taken in single precision, as the console's timer counts.
    const float wait = static_cast<float>(ms) / 1000.0f;
    WaitUntil(platform_.Seconds() + static_cast<double>(wait));
    HoldEnded();
}

void Console::WaitUntil(double until, const std::function<bool()>& over) {
    while (!(over && over()) && platform_.Seconds() < until) {
        AwaitEvents(until);
    }
}

void Console::PlaySample(const std::string& name) {
    PlayFile(FilePath("samples/" + name));
}

void Console::PlayFile(const std::string& path) {
    platform_.PlayWave(path);
    HoldEnded();
}

std::string Console::FilePath(const std::string& relative) {
    return platform_.AppFolder() + "/" + relative;
}

}  // namespace lumidot
