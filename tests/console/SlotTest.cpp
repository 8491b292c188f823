#include "console/Slot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "console/Cartridge.h"
#include "console/Console.h"
#include "support/VirtualPlatform.h"

namespace lumidot {
namespace {

// A game that waits in the console's pumps until its cartridge comes out,
// and writes down how it was run.
class FakeCartridge : public Cartridge {
  public:
    explicit FakeCartridge(Console& console) : console_(console) {}
    std::string Name() const override { return "Fake"; }
    void Run() override {
        ++runs;
        maxRunning = std::max(maxRunning, ++running);
        pumpDepthAtStart.push_back(console_.PumpDepth());
        while (console_.CartridgeOn()) {
            console_.AwaitEvents(std::numeric_limits<double>::infinity());
        }
        --running;
    }

    int runs = 0;
    int running = 0;
    int maxRunning = 0;
    std::vector<int> pumpDepthAtStart;

  private:
    Console& console_;
};

class SlotTest : public ::testing::Test {
  protected:
    SlotTest() { slot.Plug(cartridge); }

    testing::VirtualPlatform platform;
    Console console{platform};
    FakeCartridge cartridge{console};
    Slot slot{console};
};

TEST_F(SlotTest, AGameRunsInsideTheInsertionUntilTheCartridgeComesOut) {
    EXPECT_EQ(slot.CartridgeName(), "Fake");
    platform.At(0.5, [this] {
        EXPECT_TRUE(console.CartridgeOn());
        EXPECT_TRUE(slot.Running());
        console.DotOn(3, 3);
        slot.Remove();
    });
    slot.Insert();
    EXPECT_EQ(cartridge.runs, 1);
    EXPECT_NEAR(platform.Seconds(), 0.5, 0.0015);
    EXPECT_FALSE(console.CartridgeOn());
    EXPECT_FALSE(slot.Running());
    EXPECT_EQ(console.Dots(35), kFalse) << "removal clears the display";
}

TEST_F(SlotTest, AnInsertionInsideAPumpStartsOnceThePumpHasReturned) {
    // Clicked while a refresh tick handles events between its cells.
    platform.At(0.001, [this] { slot.Insert(); });
    console.PumpEvents();
    EXPECT_EQ(cartridge.runs, 0) << "a game started inside the pump";
    EXPECT_TRUE(slot.Waiting());
    platform.At(1.0, [this] { slot.Remove(); });
    platform.RunDeferred();
    EXPECT_EQ(cartridge.runs, 1);
    EXPECT_EQ(cartridge.pumpDepthAtStart, std::vector<int>{0});
    EXPECT_NEAR(platform.Seconds(), 1.0, 0.0015);
}

TEST_F(SlotTest, OutAndInWithinAGamesWaitStartsTheNextGameAfterItNeverInside) {
    platform.At(1.0, [this] {
        slot.Remove();
        slot.Insert();
        EXPECT_FALSE(console.CartridgeOn()) << "the old game must see the cartridge out";
    });
    // Out, in and out again: the last word is the removal.
    platform.At(2.0, [this] {
        slot.Remove();
        slot.Insert();
        slot.Remove();
    });
    slot.Insert();
    EXPECT_EQ(cartridge.runs, 2);
    EXPECT_EQ(cartridge.maxRunning, 1) << "games nested";
    EXPECT_EQ(cartridge.pumpDepthAtStart, (std::vector<int>{0, 0}));
    EXPECT_NEAR(platform.Seconds(), 2.0, 0.0015);
    EXPECT_FALSE(slot.Waiting());
}

TEST_F(SlotTest, AClosedSlotEndsItsGameAndStartsNoOther) {
    platform.At(1.0, [this] {
        slot.Remove();
        slot.Insert();
        slot.Close();
    });
    slot.Insert();
    EXPECT_EQ(cartridge.runs, 1);
    slot.Insert();
    platform.RunDeferred();
    EXPECT_EQ(cartridge.runs, 1);
    EXPECT_FALSE(console.CartridgeOn());

    // The window's final release gives its last events a tenth of a second.
    const double closed = platform.Seconds();
    slot.Terminate();
    EXPECT_NEAR(platform.Seconds(), closed + 0.1, 0.0015);
}

}  // namespace
}  // namespace lumidot
