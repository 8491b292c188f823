#include "console/Console.h"

#include <gtest/gtest.h>

#include "console/RuntimeError.h"
#include "support/Glyphs.h"
#include "support/VirtualPlatform.h"

namespace lumidot {
namespace {

int ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

class ConsoleTest : public ::testing::Test {
  protected:
    testing::VirtualPlatform platform;
    Console console{platform};
};

TEST_F(ConsoleTest, DotsAreAddressedColumnFirstAndOnlyTheCombinedIndexIsChecked) {
    struct Case {
        std::int16_t x, y;
        int cell;   // the cell lit, or 0
        int error;  // or the error raised, with nothing changed
    };
    const Case cases[] = {{1, 1, 1, 0},     {16, 16, 256, 0}, {17, 1, 17, 0},       {0, 4, 48, 0},
                          {5, 9, 133, 0},   {0, 1, 0, 9},     {1, 17, 0, 9},        {-20, 1, 0, 9},
                          {1, 0, 0, 9},     {2048, 0, 0, 9},  {-32768, 1, 0, 9},    {1, 2048, 0, 6},
                          {1, -2048, 0, 6}, {32767, 2, 0, 6}, {-32768, -2048, 0, 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y));
        console.DotOn(7, 7);
        const std::string before = testing::Shown(console);
        EXPECT_EQ(ErrorOf([&] { console.DotOn(c.x, c.y); }), c.error);
        if (c.error != 0) {
            EXPECT_EQ(ErrorOf([&] { console.DotOff(c.x, c.y); }), c.error);
            EXPECT_EQ(testing::Shown(console), before);
            continue;
        }
        std::string lit = before;
        lit[static_cast<std::size_t>((c.cell - 1) / 16 * 17 + (c.cell - 1) % 16)] = '#';
        EXPECT_EQ(testing::Shown(console), lit);
        console.DotOff(c.x, c.y);
        console.DotOff(c.x, c.y);
        EXPECT_EQ(console.Dots(c.cell), 0);
        console.ClearDots();
        EXPECT_EQ(testing::Shown(console), testing::Picture().Text());
    }
    EXPECT_EQ(ErrorOf([&] { (void)console.Dots(0); }), 9);
    EXPECT_EQ(ErrorOf([&] { (void)console.Dots(257); }), 9);
}

TEST_F(ConsoleTest, PauseWaitsItsTimeOnTheClockHandlingEventsMeanwhile) {
    for (const bool waiting : {false, true}) {
        platform.waiting = waiting;
        const double start = platform.Seconds();
        platform.At(start + 0.050, [this] { console.PressKey(5); });
        console.Pause(100);
        EXPECT_GE(platform.Seconds(), start + 0.100 - 1e-9);
        EXPECT_LE(platform.Seconds(), start + 0.1015) << "overslept";
        EXPECT_EQ(console.KeyPressed(), 5) << "an event ran during the pause";
        console.ClearKey();
    }
    // Zero or less returns at once, without handling anything.
    const long pumps = platform.pumps;
    platform.At(0, [this] { console.PressKey(1); });
    console.Pause(0);
    console.Pause(-32768);
    EXPECT_EQ(platform.pumps, pumps);
    EXPECT_EQ(console.KeyPressed(), 0);
}

}  // namespace
}  // namespace lumidot
