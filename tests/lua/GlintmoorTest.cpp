// Glintmoor, the shipped Lua cartridge, played through the slot on the
// virtual clock with its draws and its player's keys scripted. What it
// should do is what the README's "Glintmoor" section promises.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cartridges/lua/LuaCartridge.h"
#include "console/Console.h"
#include "console/Slot.h"
#include "support/Glyphs.h"
#include "support/RecordingHost.h"
#include "support/VirtualPlatform.h"

namespace lumidot {
namespace {

using testing::Picture;
using testing::Shown;

TEST(GlintmoorTest, FiveGlintsGatheredThenCaughtScoreFiveAndGoAgain) {
    const std::string folder = std::filesystem::canonical(LUMIDOT_CARTRIDGES "/Glintmoor");
    testing::VirtualPlatform platform;
    platform.waiting = true;
    Console console{platform};
    testing::RecordingHost host;
    LuaCartridge game{console, host, "Glintmoor", folder};
    Slot slot{console};
    slot.Plug(game);
    std::vector<std::string> seen, sounds;
    std::string pointer;
    const auto look = [&](double t) { platform.At(t, [&] { seen.push_back(Shown(console)); }); };
    const auto press = [&](double t, std::int16_t key) {
        platform.At(t, [&console, key] { console.PressKey(key); });
    };
    // Glints on row 14 at columns 4 to 8, each the dot right of the player:
    // of the 251 dots free of him and the wraith, the (203 + column)th.
    for (const float column : {4.f, 5.f, 6.f, 7.f, 8.f})
        platform.draws.push_back((202.5f + column) / 251);
    look(0.05);  // the title
    press(0.1, 5);
    for (const double t : {0.2, 0.6, 1.0, 1.4, 1.8})
        press(t, 6);
    // When the wraith's block (the first 2 x 2 of lit dots) is seen moved.
    std::vector<double> moves;
    std::size_t block = 0;
    platform.onPump = [&] {
        const std::string shown = Shown(console);
        for (std::size_t i = 0; i + 18 < shown.size(); ++i) {
            if (shown.substr(i, 2) != "##" || shown.substr(i + 17, 2) != "##") continue;
            if (i != block && platform.Seconds() > 0.15) moves.push_back(platform.Seconds());
            block = i;
            break;
        }
    };
    platform.onSound = [&](const std::string& path) {
        sounds.push_back(path.substr(std::min(path.size(), folder.size() + 1)));
        if (sounds.back() != "caught.wav") return;
        seen.push_back(Shown(console));
        platform.onPump = nullptr;
        for (int column = 1; column <= 16; ++column)
            pointer += std::to_string(slot.PointerKey(column));
        const double caught = platform.Seconds();
        press(caught + 0.3, 6);  // not "Go": the score stays
        look(caught + 0.5);
        press(caught + 1.0, 5);
        look(caught + 1.05);  // the new game
        platform.At(caught + 1.1, [&] { slot.Remove(); });
    };
    platform.At(300, [&] { slot.Close(); });
    slot.Insert();

    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0],
              "................\n......####......\n.....#....#.....\n....########....\n"
              "....#......#....\n....#..##..#....\n....#.####.#....\n....#..##..#....\n"
              "....#......#....\n....########....\n................\n.#............#.\n"
              "###..........###\n.#............#.\n................\n#.#.#.#.#.#.#.#.\n")
        << "a lantern over the moor";
    // Its steps, every 0.45 s at first and 0.02 s sooner for each glint (the
    // README): the first at 0.55, every 0.35 s once five are gathered.
    ASSERT_GE(moves.size(), 3u);
    EXPECT_NEAR(moves[0], 0.55, 0.003);
    EXPECT_NEAR(moves.end()[-1] - moves.end()[-2], 0.35, 0.003);
    EXPECT_NEAR(moves.end()[-2] - moves.end()[-3], 0.35, 0.003);
    // The wraith, having come down from the upper right, covers the player
    // at (8, 14); the next glint, the first free dot, may be blinked out.
    seen[1][0] = '.';
    EXPECT_EQ(seen[1], Picture().Dots(13, {8, 9}).Dots(14, {8, 9}).Text());
    EXPECT_EQ(seen[2], Picture()
                           .Dots(6, {7, 8, 9})
                           .Dots(7, {7})
                           .Dots(8, {7, 8, 9})
                           .Dots(9, {9})
                           .Dots(10, {7, 8, 9})
                           .Text());
    // A new game: the glint at (1, 1), the wraith at the upper right, the
    // player at the lower left.
    EXPECT_EQ(seen[3],
              Picture().Dots(1, {1}).Dots(2, {13, 14}).Dots(3, {13, 14}).Dots(14, {3}).Text());
    EXPECT_EQ(sounds, (std::vector<std::string>{"glint.wav", "glint.wav", "glint.wav", "glint.wav",
                                                "milestone.wav", "caught.wav"}));
    EXPECT_EQ(Shown(console), Picture().Text()) << "removal blanks the display";
    EXPECT_FALSE(slot.Running());
    EXPECT_LT(double(platform.pumps), 100 * platform.Seconds()) << "the game sleeps in its waits";
    // The keypad and pointer as the README gives them.
    const std::string k = folder + "/";
    EXPECT_EQ(host.Keypad(), "- " + k + "up.gif=Up - " + k + "left.gif=Left Go " + k +
                                 "right.gif=Right - " + k + "down.gif=Down - - - - ");
    EXPECT_EQ(host.overlay, k + "overlay.gif");
    EXPECT_EQ(pointer, "4444222288886666") << "by quarters: left, up, down, right";
}

}  // namespace
}  // namespace lumidot
