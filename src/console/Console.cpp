#include "console/Console.h"

#include "console/Int16.h"
#include "console/RuntimeError.h"

namespace lumidot {

std::size_t DotTable::Offset(int index) {
    if (index < 1 || index > kCells) {
        throw RuntimeError(kErrSubscriptOutOfRange, "Subscript out of range");
    }
    return static_cast<std::size_t>(index - 1);
}

int Console::DotIndex(std::int16_t x, std::int16_t y) {
    // Each step is checked on its own, in this order, so a row whose product
    // with 16 overflows fails even where the final index would not.
    std::int16_t index = int16::Mul(y, 16);
    index = int16::Sub(index, 16);
    return int16::Add(index, x);
}

void Console::DotOn(std::int16_t x, std::int16_t y) {
    Dots(DotIndex(x, y)) = kTrue;
}

void Console::DotOff(std::int16_t x, std::int16_t y) {
    Dots(DotIndex(x, y)) = kFalse;
}

void Console::ClearDots() {
    for (int i = 1; i <= DotTable::kCells; ++i) {
        Dots(i) = 0;
    }
}

void Console::Pause(std::int16_t ms) {
    // The wait is taken in single precision, as the console's timer counts.
    const float wait = static_cast<float>(ms) / 1000.0f;
    const double start = platform_.Seconds();
    const double target = start + static_cast<double>(wait);
    while (platform_.Seconds() < target) {
        platform_.AwaitEvents(target);
    }
    HoldEnded();
}

void Console::PlaySample(const std::string& name) {
    platform_.PlayWave(platform_.AppFolder() + "/samples/" + name);
    HoldEnded();
}

}  // namespace lumidot
