#include "zentrax/Session.h"

namespace lumidot {
namespace {

using testing::DotPicture;
using testing::kDressing;
using testing::ReadMenu;
using testing::ZentraxTest;

TEST_F(ZentraxTest, TheMenuCyclesEachSettingAndEndsWithTheCartridge) {
    console.PressKey(5);  // clicked before the cartridge went in: ignored
    ReadAt(0.005);
    // key, and the menu it leaves behind
    // clang-format off
    const std::vector<std::pair<std::int16_t, std::string>> script = {
        // the size counts down
        {1, "3S1 0"}, {1, "2S1 0"}, {1, "1S1 0"}, {1, "CS1 0"}, {1, "4S1 0"},
        // slow, fast, random
        {2, "4F1 0"}, {2, "4C1 0"}, {2, "4S1 0"},
        // the targets count up and wrap
        {3, "4S2 0"}, {3, "4S3 0"}, {3, "4S4 0"}, {3, "4S5 0"}, {3, "4S6 0"},
        {3, "4S7 0"}, {3, "4S8 0"}, {3, "4S9 0"}, {3, "4S1 0"},
        // keys the menu has no use for stay in the latch until the next click
        {7, "4S1 7"}, {4, "4S1 4"}, {12, "4S1 12"}, {2, "4F1 0"},
    };
    // clang-format on
    double t = 0.010;
    for (const auto& step : script) {
        Click(t, step.first);
        ReadAt(t + 0.005);
        t += 0.010;
    }
    // Two clicks handled in one pump: only the last one is there to take.
    platform.At(t, [this] {
        console.PressKey(1);
        console.PressKey(1);
    });
    ReadAt(t + 0.005);
    Remove(t + 0.010);

    Insert();

    std::vector<std::string> expected = {"4S1 0"};
    for (const auto& step : script) {
        expected.push_back(step.second);
    }
    expected.push_back("3F1 0");
    EXPECT_EQ(readings, expected);
    EXPECT_EQ(ReadMenu(DotPicture(console)), "...") << "removal clears the display";
    EXPECT_NEAR(platform.Seconds(), t + 0.010, 0.0015) << "the game ends at the first look";
    EXPECT_EQ(host.calls, kDressing) << "dressed once, and nothing else";
}

TEST_F(ZentraxTest, GoStartsPlayWithTheGunInTheMiddleAndPlayLeavesOtherKeysLatched) {
    Click(0.010, 1);
    Click(0.020, 5);
    platform.At(0.030, [this] {
        // The first target has come in from the left on the top row (every
        // draw is 0), three dots long since "Size" went down to 3.
        EXPECT_EQ(DotPicture(console), testing::Picture().Dots(1, {1, 2, 3}).Gun(2).Text());
        EXPECT_EQ(console.KeyPressed(), 5) << "the 5 of \"Go\" is left alone";
    });
    Click(0.040, 1);
    platform.At(0.050, [this] { EXPECT_EQ(console.KeyPressed(), 1); });
    Remove(2.0);
    Insert();
    EXPECT_NEAR(platform.Seconds(), 2.0, 0.0015);
    EXPECT_EQ(DotPicture(console), testing::Picture().Text());

    // The next insertion dresses the console again and starts from the
    // first settings.
    readings.clear();
    ReadAt(2.010);
    Remove(2.020);
    Insert();
    EXPECT_EQ(readings, std::vector<std::string>{"4S1 0"});
    std::vector<std::string> twice = kDressing;
    twice.insert(twice.end(), kDressing.begin(), kDressing.end());
    EXPECT_EQ(host.calls, twice);
}

}  // namespace
}  // namespace lumidot
