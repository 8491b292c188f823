#include <gtest/gtest.h>

#include <QTimer>

#include "window/QtPlatform.h"

namespace lumidot {
namespace {

// Far beyond any machine's slowness: a wait that sleeps through an event
// fails the test instead of passing by luck.
constexpr double kLongWait = 60.0;

TEST(QtPlatformTest, AWaitSleepsUntilAnEventAndNeverAfterOneWasHandled) {
    QtPlatform platform;

    // A loop waiting for a click turns a few times, not once per pump.
    bool clicked = false;
    QTimer::singleShot(20, [&] { clicked = true; });
    const double start = platform.Seconds();
    int turns = 0;
    while (!clicked && platform.Seconds() < start + kLongWait) {
        platform.AwaitEvents(start + kLongWait);
        ++turns;
    }
    EXPECT_TRUE(clicked);
    EXPECT_LE(turns, 10);

    // A click handled by a pump in the middle of a turn gives the loop work:
    // the wait at the end of the turn returns at once to let it look.
    clicked = false;
    QTimer::singleShot(0, [&] { clicked = true; });
    while (!clicked) {
        platform.PumpEvents();
    }
    const double handled = platform.Seconds();
    platform.AwaitEvents(handled + kLongWait);
    EXPECT_LT(platform.Seconds(), handled + kLongWait / 2);
}

}  // namespace
}  // namespace lumidot
