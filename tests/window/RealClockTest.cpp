// The program's own platform and window on the real clock and event loop.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <random>

#include "Handheld.h"
#include "window/DotMatrix.h"
#include "window/QtPlatform.h"

namespace lumidot {
namespace {

// The soak: random clicks on the window and keys, on the real clock and event
// loop, where the sanitizers watch. LUMIDOT_SOAK_SECONDS makes it longer;
// LUMIDOT_SOAK_SEED replays the clicks of the seed a failure printed.
TEST(SoakTest, RandomClicksAndKeysLeaveEveryCellGreyNoReportAndNoGameBehind) {
    struct : QtPlatform {
        std::string AppFolder() override { return LUMIDOT_PROGRAM_FOLDER; }
    } platform;
    Handheld handheld(platform);
    MainWindow& window = handheld.window;
    window.show();
    const double end =
        platform.Seconds() + std::max(3, qEnvironmentVariableIntValue("LUMIDOT_SOAK_SECONDS"));
    const auto seed = qEnvironmentVariableIsSet("LUMIDOT_SOAK_SEED")
                          ? qEnvironmentVariable("LUMIDOT_SOAK_SEED").toUInt()
                          : std::random_device{}();
    SCOPED_TRACE("LUMIDOT_SOAK_SEED=" + std::to_string(seed));
    std::mt19937 pick(seed);
    std::function<void()> step = [&] {
        if (platform.Seconds() > end) return void(window.close());
        QTimer::singleShot(5, step);  // a timer of its own fires while this step runs a game
        for (int n = 0; n < 256; ++n) {
            const int grey = qRed(window.Display()->CellColor(n));
            EXPECT_TRUE(grey == 0 || grey == 208 || grey == 192 || (grey >= 32 && grey < 96));
        }
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "a report came up";
        if (pick() % 3 == 0) return QTest::keyClick(&window, Qt::Key(Qt::Key_1 + pick() % 9));
        const QPoint at = QPoint(int(pick() % 332), int(pick() % 308)) * window.Scale();
        QWidget* under = window.childAt(at) != nullptr ? window.childAt(at) : &window;
        QTest::mouseClick(under, Qt::LeftButton, {}, under->mapFrom(&window, at));
    };
    QTimer::singleShot(0, step);
    QApplication::exec();  // until the window has closed
    EXPECT_FALSE(handheld.slot.Running()) << "the game outlived its window";
}

// Waits sleep in the event dispatcher until an event or their deadline,
// and never once something was handled since the last wait.
TEST(QtPlatformTest, AWaitSleepsUntilAnEventAndNeverAfterOneWasHandled) {
    QtPlatform platform;
    bool deferred = false;
    platform.Defer([&] { deferred = true; });
    EXPECT_FALSE(deferred) << "run inside the call that deferred it";
    constexpr double kLong = 60.0;  // a wait that sleeps through an event fails
    bool clicked = false;
    QTimer::singleShot(20, [&] { clicked = true; });
    int turns = 0;
    for (const double start = platform.Seconds(); !clicked && platform.Seconds() < start + kLong;
         ++turns)
        platform.AwaitEvents(start + kLong);
    EXPECT_TRUE(clicked);
    EXPECT_LE(turns, 10) << "a loop waiting for a click spun";
    // With nothing to handle, a wait ends at its due time: not before, and
    // not late (by far less than the generous bound here), without spinning.
    const double due = platform.Seconds() + 0.3;
    for (turns = 0; platform.Seconds() < due; ++turns)
        platform.AwaitEvents(due);
    EXPECT_LT(platform.Seconds(), due + 0.5) << "late";
    EXPECT_LE(turns, 3) << "a wait with nothing to handle spun";
    clicked = false;
    QTimer::singleShot(0, [&] { clicked = true; });
    while (!clicked) {
        platform.PumpEvents();
    }
    const double handled = platform.Seconds();
    platform.AwaitEvents(handled + kLong);
    EXPECT_LT(platform.Seconds(), handled + kLong / 2);
    EXPECT_TRUE(deferred) << "the event loop ran it";
}

}  // namespace
}  // namespace lumidot
