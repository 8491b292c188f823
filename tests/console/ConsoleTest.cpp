#include "console/Console.h"

#include <gtest/gtest.h>

#include <array>

#include "console/RuntimeError.h"
#include "support/DotPicture.h"
#include "support/VirtualPlatform.h"

namespace lumidot {
namespace {

using testing::DotPicture;
using testing::VirtualPlatform;

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
    VirtualPlatform platform;
    Console console{platform};
};

TEST_F(ConsoleTest, DotsAreAddressedColumnFirstAndOnlyTheCombinedIndexIsChecked) {
    console.DotOn(1, 1);    // cell 1, top left
    console.DotOn(16, 16);  // cell 256, bottom right
    console.DotOn(17, 1);   // past the end of row 1: the first dot of row 2
    console.DotOn(0, 4);    // before the start of row 4: the last dot of row 3
    console.DotOn(5, 9);
    EXPECT_EQ(DotPicture(console),
              "#...............\n"
              "#...............\n"
              "...............#\n"
              "................\n"
              "................\n"
              "................\n"
              "................\n"
              "................\n"
              "....#...........\n"
              "................\n"
              "................\n"
              "................\n"
              "................\n"
              "................\n"
              "................\n"
              "...............#\n");
    EXPECT_EQ(console.Dots(17), kTrue);
    EXPECT_EQ(console.Dots(48), kTrue);

    console.DotOff(17, 1);
    console.DotOff(17, 1);  // already off: stays off
    console.DotOff(16, 16);
    EXPECT_EQ(console.Dots(17), 0);
    EXPECT_EQ(console.Dots(256), 0);
    EXPECT_EQ(console.Dots(1), kTrue);
}

TEST_F(ConsoleTest, AFailedDotOperationRaisesItsErrorAndChangesNothing) {
    console.DotOn(3, 3);
    console.DotOn(16, 16);
    const std::string before = DotPicture(console);

    struct Case {
        std::int16_t x, y;
        int error;
    };
    const std::array<Case, 9> cases{{
        {0, 1, 9},       // index 0
        {1, 17, 9},      // index 257
        {-20, 1, 9},     // far left of the top row
        {1, 0, 9},       // row 0
        {2048, 0, 9},    // a huge column on row 0 reaches 2032: outside
        {1, 2048, 6},    // 2048 x 16 overflows
        {1, -2048, 6},   // -32768 is fine, minus 16 overflows
        {32767, 2, 6},   // 16 + 32767 overflows
        {-32768, 1, 9},  // stays in range but far below 1
    }};
    for (const Case& c : cases) {
        EXPECT_EQ(ErrorOf([&] { console.DotOn(c.x, c.y); }), c.error)
            << "DotOn(" << c.x << ", " << c.y << ")";
        EXPECT_EQ(ErrorOf([&] { console.DotOff(c.x, c.y); }), c.error)
            << "DotOff(" << c.x << ", " << c.y << ")";
    }
    EXPECT_EQ(DotPicture(console), before);
    EXPECT_EQ(ErrorOf([&] { (void)console.Dots(257); }), 9);
    EXPECT_EQ(ErrorOf([&] { console.DotOff(16, 16); }), 0);
}

TEST_F(ConsoleTest, PauseWaitsOnTheClockAndLetsEventsRunMeanwhile) {
    // The virtual clock moves 1 ms per pump.
    const double start = platform.Seconds();
    bool clicked = false;
    platform.At(start + 0.050, [&] {
        clicked = true;
        console.PressKey(5);
    });
    console.Pause(100);
    EXPECT_GE(platform.Seconds(), start + 0.100 - 1e-9);
    EXPECT_LT(platform.Seconds(), start + 0.102);
    EXPECT_TRUE(clicked);
    EXPECT_EQ(console.KeyPressed(), 5);
    EXPECT_GE(platform.Pumps(), 99);
}

TEST_F(ConsoleTest, PauseOfZeroOrLessReturnsAtOnceWithoutHandlingEvents) {
    bool ran = false;
    platform.AtPump(1, [&] { ran = true; });
    console.Pause(0);
    console.Pause(-1);
    console.Pause(-32768);
    EXPECT_EQ(platform.Pumps(), 0);
    EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace lumidot
