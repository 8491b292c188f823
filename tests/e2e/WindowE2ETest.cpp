#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "e2e/XSession.h"

namespace lumidot::e2e {
namespace {

// A point of the display panel outside the matrix, and one in the gap
// between two cells.
constexpr int kPanelX = 12, kPanelY = 100;
constexpr int kGapX = 31, kGapY = 27;

bool AllCellsGrey(const Screenshot& shot, int level) {
    for (int n = 0; n < 256; ++n) {
        if (shot.Grey(CellX(n), CellY(n)) != level) {
            return false;
        }
    }
    return true;
}

TEST(WindowE2E, ShowsTheUnpoweredDisplayAndAnswersTheDisplayOption) {
    RunningProgram program;
    ASSERT_TRUE(program.WaitForWindow()) << "no window \"Lumidot v0.21\" appeared";

    // Before a cartridge goes in, no refresh has run: the cells keep their
    // initial grey on the panel's lighter grey.
    ASSERT_TRUE(program.WaitForScreen([](const Screenshot& shot) {
        return shot.Width() == 332 && shot.Height() == 308 && AllCellsGrey(shot, 192) &&
               shot.Grey(kPanelX, kPanelY) == 224 && shot.Grey(kGapX, kGapY) == 224;
    })) << "the display did not show 256 cells of grey 192 on grey 224";

    // "hide inactive dots": the panel turns to the unlit dots' grey; the
    // cells themselves wait for a refresh.
    program.Click(176 + 8 + 6, 240 + 8);
    EXPECT_TRUE(program.WaitForScreen([](const Screenshot& shot) {
        return shot.Grey(kPanelX, kPanelY) == 208 && shot.Grey(kGapX, kGapY) == 208 &&
               AllCellsGrey(shot, 192);
    })) << "the panel did not turn to grey 208";

    // And back.
    program.Click(176 + 8 + 6, 240 + 8);
    EXPECT_TRUE(program.WaitForScreen(
        [](const Screenshot& shot) { return shot.Grey(kPanelX, kPanelY) == 224; }));

    program.Close();
    EXPECT_EQ(program.WaitForExit(), 0);
}

// The lengths of the runs of a grey along a line of the screen, from one
// point on, `steps` pixels long.
std::vector<int> Runs(const Screenshot& shot, int level, int x, int y, int dx, int dy, int steps) {
    std::vector<int> runs;
    bool inside = false;
    for (int i = 0; i < steps; ++i, x += dx, y += dy) {
        const bool on = shot.Grey(x, y) == level;
        if (on && !inside) {
            runs.push_back(0);
        }
        runs.back() += on ? 1 : 0;
        inside = on;
    }
    return runs;
}

// Scaled by 1, 1.5 and 2, the window grows with the factor and the dots
// stay crisp squares at their fractional positions: the matrix shows only
// the cells' grey and the panel's, never a blend of the two, and every
// cell of the first row and column is as wide as it is high.
TEST(WindowE2E, TheDotsStayCrispSquaresAtEveryScale) {
    for (const double factor : {1.0, 1.5, 2.0}) {
        SCOPED_TRACE(factor);
        RunningProgram program(QStringLiteral(LUMIDOT_EXECUTABLE),
                               {QStringLiteral("QT_SCALE_FACTOR=%1").arg(factor)});
        ASSERT_TRUE(program.WaitForWindow());
        const auto at = [factor](double logical) { return static_cast<int>(logical * factor); };
        std::string problem = "no screen read";
        const bool crisp = program.WaitForScreen([&](const Screenshot& shot) {
            if (shot.Width() != at(332) || shot.Height() != at(308)) {
                problem = "the window is " + std::to_string(shot.Width()) + "x" +
                          std::to_string(shot.Height());
                return false;
            }
            for (int y = at(24) + 1; y < at(150); ++y) {
                for (int x = at(24) + 1; x < at(150); ++x) {
                    const int grey = shot.Grey(x, y);
                    if (grey != 192 && grey != 224) {
                        problem = "grey " + std::to_string(grey) + " at " + std::to_string(x) +
                                  "," + std::to_string(y);
                        return false;
                    }
                }
            }
            const std::vector<int> across = Runs(shot, 192, at(24), at(27), 1, 0, at(128));
            const std::vector<int> down = Runs(shot, 192, at(27), at(24), 0, 1, at(128));
            problem =
                "cells of " + std::to_string(across.size()) + " and " + std::to_string(down.size());
            return across.size() == 16 && across == down &&
                   *std::min_element(across.begin(), across.end()) >= at(6.4) &&
                   *std::max_element(across.begin(), across.end()) <= at(6.4) + 1;
        });
        EXPECT_TRUE(crisp) << problem;
        program.Close();
        EXPECT_EQ(program.WaitForExit(), 0);
    }
}

}  // namespace
}  // namespace lumidot::e2e
