// Tens of random clicks and keys a second on every control and on the
// display, on the real clock and event loop, in this process where the
// sanitizers watch. After every step every cell shows a grey the console
// can show and no report has come up; at the end the window closes and the
// game returns. LUMIDOT_SOAK_SECONDS sets the length (3 by default; `make
// soak` runs longer), LUMIDOT_SOAK_SEED repeats a run.

#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <random>

#include "cartridges/zentrax/Zentrax.h"
#include "console/Console.h"
#include "console/Slot.h"
#include "window/DotMatrix.h"
#include "window/Greys.h"
#include "window/MainWindow.h"
#include "window/QtPlatform.h"

namespace lumidot {
namespace {

struct ProgramPlatform : QtPlatform {
    std::string AppFolder() override { return LUMIDOT_PROGRAM_FOLDER; }
};

TEST(SoakTest, RandomClicksAndKeysNeverBreakTheProgram) {
    int seconds = qEnvironmentVariableIntValue("LUMIDOT_SOAK_SECONDS");
    seconds = seconds > 0 ? seconds : 3;
    const auto seed = qEnvironmentVariableIsSet("LUMIDOT_SOAK_SEED")
                          ? static_cast<unsigned>(qEnvironmentVariableIntValue("LUMIDOT_SOAK_SEED"))
                          : std::random_device{}();
    std::printf("soak: %d s, LUMIDOT_SOAK_SEED=%u\n", seconds, seed);
    std::mt19937 random(seed);
    const auto pick = [&random](int n) {
        return std::uniform_int_distribution<int>(0, n - 1)(random);
    };
    ProgramPlatform platform;
    Console console(platform);
    Slot slot(console);
    MainWindow window(console, slot);
    Zentrax zentrax(console, window);
    slot.Plug(zentrax);
    window.Load();
    window.show();
    const char* controls[] = {"Command1", "Command2", "Check1", "Check2", "Check3", "Combo1"};
    const int keys[] = {Qt::Key_1, Qt::Key_2,  Qt::Key_3,     Qt::Key_5,
                        Qt::Key_7, Qt::Key_Up, Qt::Key_Return};
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int steps = 0;
    QEventLoop loop;
    std::function<void()> step = [&] {
        if (std::chrono::steady_clock::now() >= end) {
            window.close();
            return loop.quit();
        }
        // A timer of its own for each step: the next fires even while this
        // one runs a game.
        QTimer::singleShot(5 + pick(25), step);
        ++steps;
        for (int n = 0; n < 256; ++n) {
            const int grey = qRed(window.Display()->CellColor(n));
            EXPECT_TRUE(
                grey == greys::kLit || grey == greys::kUnlit || grey == greys::kInitial ||
                (grey >= greys::kWeakLowest && grey < greys::kWeakLowest + greys::kWeakLevels))
                << "cell " << n << " at step " << steps;
        }
        if (QWidget* report = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "a report at step " << steps;
            report->close();
        }
        const int roll = pick(10);
        QWidget* focus = QApplication::focusWidget();
        if (roll < 5) {
            window.Keypad(1 + pick(12))->click();
        } else if (roll < 7) {
            QTest::mouseClick(&window, Qt::LeftButton, {},
                              QPoint(24 + pick(128), 24 + pick(128)) * window.Scale());
        } else if (roll < 9) {
            QTest::mouseClick(window.findChild<QWidget*>(controls[pick(6)]), Qt::LeftButton, {},
                              QPoint(6, 8));
        } else {
            QTest::keyClick(focus != nullptr ? focus : &window,
                            static_cast<Qt::Key>(keys[pick(7)]));
        }
    };
    QTimer::singleShot(0, step);
    loop.exec();
    std::printf("soak: %d steps\n", steps);
    EXPECT_GT(steps, seconds * 10);
    EXPECT_FALSE(slot.Running()) << "the game outlived its window";
}

}  // namespace
}  // namespace lumidot
