#include "zentrax/Game.h"

namespace lumidot {
namespace {

using testing::kDressedKeypad;
using testing::ReadMenu;
using testing::Shown;

class MenuTest : public testing::GameTest {
  protected:
    // The menu on the display and the key left in the latch.
    void ReadAt(double t) {
        At(t, [this] {
            readings.push_back(ReadMenu(Shown(console)) + " " +
                               std::to_string(console.KeyPressed()));
        });
    }
    std::vector<std::string> readings;
};

TEST_F(MenuTest, EachKeyStepsItsSettingRoundAndRemovalEndsTheGameBlank) {
    console.PressKey(5);  // pressed before the cartridge went in: forgotten
    ReadAt(0.005);
    // clang-format off
    const std::vector<std::pair<std::int16_t, std::string>> script = {
        {1, "3S1 0"}, {1, "2S1 0"}, {1, "1S1 0"}, {1, "CS1 0"}, {1, "4S1 0"},
        {2, "4F1 0"}, {2, "4C1 0"}, {2, "4S1 0"},
        {3, "4S2 0"}, {3, "4S3 0"}, {3, "4S4 0"}, {3, "4S5 0"}, {3, "4S6 0"},
        {3, "4S7 0"}, {3, "4S8 0"}, {3, "4S9 0"}, {3, "4S1 0"},
        // keys the menu has no use for stay in the latch until the next one
        {7, "4S1 7"}, {4, "4S1 4"}, {12, "4S1 12"}, {2, "4F1 0"},
    };
    // clang-format on
    std::vector<std::string> expected = {"4S1 0"};
    double t = 0.010;
    for (const auto& [key, menu] : script) {
        Key(t, key);
        ReadAt(t + 0.005);
        expected.push_back(menu);
        t += 0.010;
    }
    // Two presses within one pump: the latch holds one key.
    At(t, [this] {
        console.PressKey(1);
        console.PressKey(1);
    });
    ReadAt(t + 0.005);
    expected.push_back("3F1 0");
    Remove(t + 0.010);

    slot.Insert();

    EXPECT_EQ(readings, expected);
    EXPECT_NEAR(Now(), t + 0.010, 0.0015) << "the game ends at its first look";
    EXPECT_EQ(Shown(console), testing::Picture().Text());
    EXPECT_EQ(host.Keypad(), kDressedKeypad) << "the keypad stays dressed";
    EXPECT_EQ(host.overlay, "/virtual/lumidot/overlays/Zentrax.gif");

    // In again: dressed again, the settings start afresh.
    readings.clear();
    ReadAt(t + 0.1);
    Remove(t + 0.2);
    slot.Insert();
    EXPECT_EQ(readings, std::vector<std::string>{"4S1 0"});
    EXPECT_EQ(host.dressings, 2);
}

TEST_F(MenuTest, GoStartsPlayWithTheGunInTheMiddleAndLeavesOtherKeysLatched) {
    Key(0.010, 1);
    Key(0.020, 5);
    At(0.030, [this] {
        // The first target has come in from the left on the top row (every
        // draw is 0), three dots long since "Size" went down to 3.
        EXPECT_EQ(Shown(console), testing::Picture().Dots(1, {1, 2, 3}).Gun(2).Text());
        EXPECT_EQ(console.KeyPressed(), 5) << "the 5 of \"Go\" is left alone";
    });
    Key(0.040, 1);
    At(0.050, [this] { EXPECT_EQ(console.KeyPressed(), 1); });
    Remove(2.0);
    slot.Insert();
    EXPECT_NEAR(Now(), 2.0, 0.0015);
    EXPECT_EQ(Shown(console), testing::Picture().Text());
}

}  // namespace
}  // namespace lumidot
