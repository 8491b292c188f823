#include "console/Console.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "console/Cartridge.h"
#include "console/RuntimeError.h"
#include "console/Slot.h"
#include "support/Glyphs.h"
#include "support/VirtualPlatform.h"

namespace lumidot {
namespace {

// A game that waits in the console's pumps until its cartridge comes out,
// and writes down the pump depth it started at (-1: inside another game).
class FakeCartridge : public Cartridge {
  public:
    explicit FakeCartridge(Console& console) : console_(console) {}
    std::string Name() const override { return "Fake"; }
    std::int16_t PointerKey(int) const override { return 0; }
    void Run() override {
        started.push_back(running_++ == 0 ? console_.PumpDepth() : -1);
        while (console_.CartridgeOn())
            console_.AwaitEvents(std::numeric_limits<double>::infinity());
        --running_;
    }
    std::vector<int> started;

  private:
    Console& console_;
    int running_ = 0;
};

class ConsoleTest : public ::testing::Test {
  protected:
    ConsoleTest() {
        slot.Plug(cartridge);
        platform.At(60, [this] { slot.Remove(); });  // a game left running ends
    }
    // The error a dot operation raises, or 0.
    int ErrorOf(std::int16_t x, std::int16_t y, bool on) {
        try {
            on ? console.DotOn(x, y) : console.DotOff(x, y);
        } catch (const RuntimeError& e) {
            return e.Number();
        }
        return 0;
    }
    long Lit() const {
        const std::string shown = testing::Shown(console);
        return std::count(shown.begin(), shown.end(), '#');
    }

    testing::VirtualPlatform platform;
    Console console{platform};
    FakeCartridge cartridge{console};
    Slot slot{console};
};

// Column first; only the combined index (y - 1) x 16 + x is checked, in 16
// bits: outside 1 to 256 is error 9, an overflow on the way error 6.
TEST_F(ConsoleTest, DotsAreAddressedColumnFirstAndOnlyTheCombinedIndexIsChecked) {
    const struct {
        std::int16_t x, y;
        int cell, error;
    } cases[] = {{1, 1, 1, 0},         {16, 16, 256, 0},  {17, 1, 17, 0},  {0, 4, 48, 0},
                 {5, 9, 133, 0},       {0, 1, 0, 9},      {1, 17, 0, 9},   {1, 0, 0, 9},
                 {2048, 0, 0, 9},      {-32768, 1, 0, 9}, {1, 2048, 0, 6}, {1, -2048, 0, 6},
                 {-32751, 2048, 0, 6}, {32767, 2, 0, 6}};
    console.DotOn(7, 7);  // cell 103, which no case touches
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y));
        EXPECT_EQ(ErrorOf(c.x, c.y, true), c.error);
        EXPECT_EQ(Lit(), c.error == 0 ? 2 : 1);
        EXPECT_EQ(console.Dots(c.error == 0 ? c.cell : 103), kTrue);
        EXPECT_EQ(ErrorOf(c.x, c.y, false), c.error);
        EXPECT_EQ(Lit(), 1);
    }
    EXPECT_THROW((void)console.Dots(257), RuntimeError);
}

// Out and in within a game's wait: the new game starts after the old one
// returns. A removal calls off a waiting insertion; a closed slot starts none.
TEST_F(ConsoleTest, TheSlotNeverStartsAGameInsideAnotherAndAClosedSlotNone) {
    platform.At(1.0, [this] {
        console.DotOn(3, 3);
        slot.Remove();
        slot.Insert();
        EXPECT_FALSE(console.CartridgeOn());
        EXPECT_EQ(Lit(), 0) << "removal clears the display";
    });
    platform.At(2.0, [this] { slot.Remove(), slot.Insert(), slot.Remove(); });
    slot.Insert();
    EXPECT_EQ(cartridge.started, (std::vector<int>{0, 0}));
    EXPECT_NEAR(platform.Seconds(), 2.0, 0.0015);
    platform.At(3.0, [this] { slot.Remove(), slot.Insert(), slot.Close(); });
    slot.Insert();
    slot.Insert();
    platform.RunDeferred();
    EXPECT_EQ(cartridge.started.size(), 3u);
    // The window's final release gives its last events a tenth of a second.
    slot.Terminate();
    EXPECT_NEAR(platform.Seconds(), 3.1, 0.0025);
    EXPECT_FALSE(console.CartridgeOn());
}

// A pause waits at least its time, sleeping until then rather than spinning;
// zero or less returns at once without handling any event.
TEST_F(ConsoleTest, APauseSleepsItsTimeAndZeroOrLessHandlesNothing) {
    platform.waiting = true;
    for (const int ms : {0, -1, -32768}) {
        console.Pause(static_cast<std::int16_t>(ms));
        EXPECT_EQ(platform.pumps, 0) << ms;
    }
    const double start = platform.Seconds();
    console.Pause(250);
    EXPECT_NEAR(platform.Seconds(), start + 0.25, 0.0015) << "not on time";
    EXPECT_LE(platform.pumps, 3) << "it spun";
}

}  // namespace
}  // namespace lumidot
