#include "zentrax/Game.h"

namespace lumidot {
namespace {

using testing::Shown;

using MenuTest = testing::GameTest;

TEST_F(MenuTest, EachKeyStepsItsSettingRoundAndRemovalEndsTheGameBlank) {
    std::vector<std::string> readings;
    const auto readAt = [&](double t) {
        At(t, [&] { readings.push_back(Shown(console) + std::to_string(console.KeyPressed())); });
    };
    console.PressKey(5);  // pressed with the slot empty: forgotten
    readAt(0.005);
    // Each key, and the menu and the latch after it.
    // clang-format off
    const std::vector<std::pair<std::int16_t, std::string>> script = {
        {1, "3S10"}, {1, "2S10"}, {1, "1S10"}, {1, "CS10"}, {1, "4S10"}, {2, "4F10"}, {2, "4C10"},
        {2, "4S10"}, {3, "4S20"}, {3, "4S30"}, {3, "4S40"}, {3, "4S50"}, {3, "4S60"}, {3, "4S70"},
        {3, "4S80"}, {3, "4S90"}, {3, "4S10"}, {7, "4S17"}, {4, "4S14"}, {12, "4S112"}, {2, "4F10"}};
    // clang-format on
    // The menu "4S1" and the key "0" as the display and the latch show them.
    const auto shown = [](const std::string& menu) {
        return testing::MenuPicture(menu.substr(0, 3)) + menu.substr(3);
    };
    std::vector<std::string> expected = {shown("4S10")};
    double t = 0.010;
    for (const auto& [key, menu] : script) {
        Key(t, key);
        readAt(t + 0.005);
        expected.push_back(shown(menu));
        t += 0.010;
    }
    // Two presses within one pump: the latch holds one key.
    At(t, [this] {
        console.PressKey(1);
        console.PressKey(1);
    });
    readAt(t + 0.005);
    expected.push_back(shown("3F10"));
    At(t + 0.010, [this] { slot.Remove(); });
    slot.Insert();
    EXPECT_EQ(readings, expected);
    EXPECT_NEAR(Now(), t + 0.010, 0.0015) << "the game ends at its first look";
    EXPECT_EQ(Shown(console), testing::Picture().Text());
    const std::string buttons = platform.folder + "/buttons/zx_kp_0";
    EXPECT_EQ(host.Keypad(), "Size Speed Targets - Go - " + buttons + "7.gif=Fire left " + buttons +
                                 "8.gif=Fire up " + buttons + "9.gif=Fire right - - - ");
    EXPECT_EQ(host.overlay, platform.folder + "/overlays/Zentrax.gif");
}

}  // namespace
}  // namespace lumidot
