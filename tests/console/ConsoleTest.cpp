#include "console/Console.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "console/Cartridge.h"
#include "console/Slot.h"

#include "console/RuntimeError.h"
#include "support/Glyphs.h"
#include "support/VirtualPlatform.h"

namespace lumidot {
namespace {

class ConsoleTest : public ::testing::Test {
  protected:
    // The error a dot operation raises, or 0.
    int ErrorOf(std::int16_t x, std::int16_t y, bool on) {
        try {
            on ? console.DotOn(x, y) : console.DotOff(x, y);
        } catch (const RuntimeError& e) {
            return e.Number();
        }
        return 0;
    }

    testing::VirtualPlatform platform;
    Console console{platform};
};

// Column first; only the combined index (y - 1) x 16 + x is checked, in 16
// bits: outside 1 to 256 is error 9, an overflow on the way error 6.
TEST_F(ConsoleTest, DotsAreAddressedColumnFirstAndOnlyTheCombinedIndexIsChecked) {
    const struct {
        std::int16_t x, y;
        int cell, error;
    } cases[] = {{1, 1, 1, 0},    {16, 16, 256, 0},  {17, 1, 17, 0},  {0, 4, 48, 0},
                 {5, 9, 133, 0},  {0, 1, 0, 9},      {1, 17, 0, 9},   {1, 0, 0, 9},
                 {2048, 0, 0, 9}, {-32768, 1, 0, 9}, {1, 2048, 0, 6}, {1, -2048, 0, 6},
                 {32767, 2, 0, 6}};
    console.DotOn(7, 7);  // cell 103, which no case touches
    const auto lit = [this] {
        const std::string shown = testing::Shown(console);
        return std::count(shown.begin(), shown.end(), '#');
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y));
        EXPECT_EQ(ErrorOf(c.x, c.y, true), c.error);
        EXPECT_EQ(lit(), c.error == 0 ? 2 : 1);
        EXPECT_EQ(console.Dots(c.error == 0 ? c.cell : 103), kTrue);
        EXPECT_EQ(ErrorOf(c.x, c.y, false), c.error);
        EXPECT_EQ(lit(), 1);
    }
    EXPECT_THROW((void)console.Dots(257), RuntimeError);
    console.ClearDots();
    EXPECT_EQ(lit(), 0);
}

// A game that waits in the console's pumps until its cartridge comes out.
class FakeCartridge : public Cartridge {
  public:
    explicit FakeCartridge(Console& console) : console_(console) {}
    std::string Name() const override { return "Fake"; }
    void Run() override {
        started.push_back(running++ == 0 ? console_.PumpDepth() : -1);  // -1: nested
        while (console_.CartridgeOn()) {
            console_.AwaitEvents(std::numeric_limits<double>::infinity());
        }
        --running;
    }
    std::vector<int> started;  // the pump depth each game started at

  private:
    Console& console_;
    int running = 0;
};

class SlotTest : public ::testing::Test {
  protected:
    SlotTest() { slot.Plug(cartridge); }

    testing::VirtualPlatform platform;
    Console console{platform};
    FakeCartridge cartridge{console};
    Slot slot{console};
};

TEST_F(SlotTest, OutAndInWithinAGamesWaitStartsTheNextGameOnceItHasReturned) {
    platform.At(1.0, [this] {
        console.DotOn(3, 3);
        slot.Remove();
        slot.Insert();
        EXPECT_FALSE(console.CartridgeOn()) << "the old game must see the cartridge out";
        EXPECT_EQ(console.Dots(35), kFalse) << "removal clears the display";
    });
    // Out, in and out again: the last word is the removal.
    platform.At(2.0, [this] {
        slot.Remove();
        slot.Insert();
        slot.Remove();
    });
    slot.Insert();
    EXPECT_EQ(cartridge.started, (std::vector<int>{0, 0}));
    EXPECT_NEAR(platform.Seconds(), 2.0, 0.0015);
    EXPECT_FALSE(slot.Running() || slot.Waiting() || console.CartridgeOn());
}

// Inside a pump (a refresh tick's, say) a game would hold up the handler
// that pumps: it starts from the event loop's next turn instead.
TEST_F(SlotTest, AnInsertionInsideAPumpStartsOnceThePumpHasReturned) {
    platform.At(0.001, [this] { slot.Insert(); });
    console.PumpEvents();
    EXPECT_TRUE(cartridge.started.empty() && slot.Waiting());
    platform.At(1.0, [this] { slot.Remove(); });
    platform.RunDeferred();
    EXPECT_EQ(cartridge.started, std::vector<int>{0});
    EXPECT_NEAR(platform.Seconds(), 1.0, 0.0015);
}

TEST_F(SlotTest, AClosedSlotEndsItsGameAndStartsNoOther) {
    platform.At(1.0, [this] {
        slot.Remove();
        slot.Insert();
        slot.Close();
    });
    slot.Insert();
    slot.Insert();
    platform.RunDeferred();
    EXPECT_EQ(cartridge.started.size(), 1u);
    // The window's final release gives its last events a tenth of a second.
    slot.Terminate();
    EXPECT_NEAR(platform.Seconds(), 1.1, 0.0015);
    EXPECT_FALSE(console.CartridgeOn());
}

}  // namespace
}  // namespace lumidot
