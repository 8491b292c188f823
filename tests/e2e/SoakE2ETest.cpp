#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "e2e/XSession.h"

namespace lumidot::e2e {
namespace {

struct Point {
    int x, y;
};

// Centres of the controls in the window's client area.
constexpr Point kInsert{252, 62}, kRemove{252, 86}, kCombo{252, 38};
constexpr Point kOptions[] = {{190, 248}, {190, 268}, {190, 288}};
Point KeypadKey(int k) {
    return {35 + 52 * ((k - 1) % 3), 200 + 28 * ((k - 1) / 3)};
}

// What a cell may show: black or a weak battery's dark grey when lit, 208
// when not, and 192 before the first refresh.
bool AllowedGrey(int grey) {
    return grey == 0 || (grey >= 32 && grey <= 95) || grey == 192 || grey == 208;
}

int EnvironmentNumber(const char* name, int fallback) {
    const QByteArray value = qgetenv(name);
    return value.isEmpty() ? fallback : value.toInt();
}

// Tens of random clicks a second on every control and on the display,
// with keys typed now and then, for LUMIDOT_SOAK_SECONDS (10 by default;
// `make soak` runs longer). After every one the program lives, every cell
// shows a grey the console can show, and no error report has come up.
// LUMIDOT_SOAK_SEED repeats a run.
TEST(SoakE2E, RandomClicksAndKeysNeverBreakTheProgram) {
    const int seconds = EnvironmentNumber("LUMIDOT_SOAK_SECONDS", 10);
    const auto seed = static_cast<unsigned>(
        EnvironmentNumber("LUMIDOT_SOAK_SEED", static_cast<int>(std::random_device{}() >> 1)));
    std::printf("soak: %d s, LUMIDOT_SOAK_SEED=%u\n", seconds, seed);
    std::mt19937 random(seed);
    const auto pick = [&random](int n) {
        return std::uniform_int_distribution<int>(0, n - 1)(random);
    };
    const KeySym keys[] = {XK_1, XK_2,    XK_3,  XK_5,     XK_7,     XK_8,
                           XK_9, XK_Left, XK_Up, XK_Right, XK_Return};

    RunningProgram program;
    ASSERT_TRUE(program.WaitForWindow());
    const auto end = Clock::now() + std::chrono::seconds(seconds);
    int steps = 0;
    while (Clock::now() < end) {
        const int roll = pick(100);
        if (roll < 45) {
            const Point key = KeypadKey(1 + pick(12));
            program.Click(key.x, key.y);
        } else if (roll < 60) {
            program.Click(24 + pick(128), 24 + pick(128));
        } else if (roll < 70) {
            program.Click(kInsert.x, kInsert.y);
        } else if (roll < 78) {
            program.Click(kRemove.x, kRemove.y);
        } else if (roll < 86) {
            const Point option = kOptions[pick(3)];
            program.Click(option.x, option.y);
        } else if (roll < 88) {
            program.Click(kCombo.x, kCombo.y);
        } else {
            program.Press(keys[pick(static_cast<int>(std::size(keys)))]);
        }
        ++steps;
        ASSERT_TRUE(program.Alive()) << "died at step " << steps;
        ASSERT_EQ(program.WindowTitled("Whoops..."), 0u) << "an error report at step " << steps;
        ASSERT_TRUE(program.WaitForScreen([&](const Screenshot& shot) {
            for (int n = 0; n < 256; ++n) {
                if (!AllowedGrey(shot.Grey(CellX(n), CellY(n)))) {
                    ADD_FAILURE() << "cell " << n << " shows " << shot.Grey(CellX(n), CellY(n))
                                  << " at step " << steps;
                }
            }
            return true;
        }));
        // Tens of clicks a second, whatever the checks took.
        std::this_thread::sleep_for(std::chrono::milliseconds(10 + pick(30)));
    }
    std::printf("soak: %d steps\n", steps);
    program.Close();
    EXPECT_EQ(program.WaitForExit(), 0);
}

}  // namespace
}  // namespace lumidot::e2e
