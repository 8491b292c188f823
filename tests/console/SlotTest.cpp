#include "console/Slot.h"

#include <gtest/gtest.h>

#include <limits>

#include "console/Cartridge.h"
#include "console/Console.h"
#include "support/VirtualPlatform.h"

namespace lumidot {
namespace {

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
