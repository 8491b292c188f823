// Tens of random clicks and keys a second on every control and on the
// display, on the real clock and the real event loop, in this process so
// that the sanitizers watch it. After every step the display shows only
// greys the console can show and no report has come up; at the end the
// window closes and the game returns. LUMIDOT_SOAK_SECONDS sets the length
// (3 by default; `make soak` runs longer), LUMIDOT_SOAK_SEED repeats a run.

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
#include "window/Layout.h"
#include "window/MainWindow.h"
#include "window/QtPlatform.h"

namespace lumidot {
namespace {

bool AllowedGrey(QRgb cell) {
    const int grey = qRed(cell);
    return qGreen(cell) == grey && qBlue(cell) == grey &&
           (grey == greys::kLit || grey == greys::kUnlit || grey == greys::kInitial ||
            (grey >= greys::kWeakLowest && grey < greys::kWeakLowest + greys::kWeakLevels));
}

// The program's platform, with the program's folder of pictures and sounds.
struct ProgramPlatform : QtPlatform {
    std::string AppFolder() override { return LUMIDOT_PROGRAM_FOLDER; }
};

TEST(SoakTest, RandomClicksAndKeysNeverBreakTheProgram) {
    const int seconds = qEnvironmentVariableIntValue("LUMIDOT_SOAK_SECONDS") > 0
                            ? qEnvironmentVariableIntValue("LUMIDOT_SOAK_SECONDS")
                            : 3;
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
    const layout::Rect controls[] = {layout::kInsertButton,     layout::kRemoveButton,
                                     layout::kHideInactiveDots, layout::kWeakBattery,
                                     layout::kEnhancedControls, layout::kCartridgeList};
    const int keys[] = {Qt::Key_1,  Qt::Key_2,     Qt::Key_3,     Qt::Key_5,
                        Qt::Key_7,  Qt::Key_8,     Qt::Key_9,     Qt::Key_Left,
                        Qt::Key_Up, Qt::Key_Right, Qt::Key_Return};
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int steps = 0;
    QEventLoop loop;
    std::function<void()> step = [&] {
        // Each step comes from a timer of its own, so the next one fires
        // even while this one runs a game.
        if (std::chrono::steady_clock::now() >= end) {
            window.close();
            loop.quit();
            return;
        }
        QTimer::singleShot(5 + pick(25), step);
        ++steps;
        for (int n = 0; n < 256; ++n) {
            ASSERT_TRUE(AllowedGrey(window.Display()->CellColor(n))) << "cell " << n;
        }
        if (QWidget* report = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "a report at step " << steps;
            report->close();
        }
        const int roll = pick(100);
        const double scale = window.Scale();
        if (roll < 45) {
            window.Keypad(1 + pick(12))->click();
        } else if (roll < 60) {
            const QPoint at(24 + pick(128), 24 + pick(128));
            QTest::mouseClick(&window, Qt::LeftButton, {}, at * scale);
        } else if (roll < 88) {
            const layout::Point at = layout::CentreIn(layout::kSlotPanel, controls[pick(6)]);
            if (QWidget* target = window.childAt(QPointF(at.x * scale, at.y * scale).toPoint())) {
                QTest::mouseClick(target, Qt::LeftButton);
            }
        } else {
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus != nullptr ? focus : &window, static_cast<Qt::Key>(keys[pick(11)]));
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
