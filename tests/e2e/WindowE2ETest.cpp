#include <gtest/gtest.h>

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

}  // namespace
}  // namespace lumidot::e2e
