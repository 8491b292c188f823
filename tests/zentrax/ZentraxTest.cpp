#include "cartridges/zentrax/Zentrax.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "cartridges/Host.h"
#include "console/Console.h"
#include "console/RuntimeError.h"
#include "support/DotPicture.h"
#include "support/Glyphs.h"
#include "support/VirtualPlatform.h"

namespace lumidot {
namespace {

using testing::DotPicture;
using testing::ReadMenu;
using testing::VirtualPlatform;

const std::string kFolder = "/virtual/lumidot";

// Writes down what the game does to the window, paths relative to the
// program's folder. A picture listed in `failing` fails to load with its
// number.
class RecordingHost : public Host {
  public:
    void SetOverlayPicture(const std::string& path) override {
        calls.push_back("overlay " + Loaded(path));
    }
    void SetKeyVisible(std::int16_t index, bool visible) override {
        calls.push_back(Key(index) + (visible ? "shown" : "hidden"));
    }
    void SetKeyCaption(std::int16_t index, const std::string& caption) override {
        calls.push_back(Key(index) + "caption \"" + caption + "\"");
    }
    void SetKeyPicture(std::int16_t index, const std::string& path) override {
        calls.push_back(Key(index) + "picture " + (path.empty() ? "none" : Loaded(path)));
    }
    void ShowErrorBox(const std::string& text, const std::string& title) override {
        calls.push_back("box \"" + title + "\": " + text);
    }
    void CloseMainWindow() override { calls.push_back("close window"); }

    std::vector<std::string> calls;
    std::map<std::string, int> failing;

  private:
    static std::string Key(std::int16_t index) { return "key " + std::to_string(index) + " "; }

    std::string Loaded(const std::string& path) const {
        const std::string name = path.substr(0, kFolder.size()) == kFolder
                                     ? path.substr(kFolder.size())
                                     : "outside the program's folder: " + path;
        const auto failure = failing.find(name);
        if (failure != failing.end()) {
            throw RuntimeError(failure->second, "cannot load " + name);
        }
        return name;
    }
};

// clang-format off
const std::vector<std::string> kDressing = {
    "overlay /overlays/Zentrax.gif",
    "key 1 shown", "key 1 caption \"Size\"", "key 1 picture none",
    "key 2 shown", "key 2 caption \"Speed\"", "key 2 picture none",
    "key 3 shown", "key 3 caption \"Targets\"", "key 3 picture none",
    "key 4 hidden",
    "key 5 shown", "key 5 caption \"Go\"", "key 5 picture none",
    "key 6 hidden",
    "key 7 shown", "key 7 caption \"\"", "key 7 picture /buttons/zx_kp_07.gif",
    "key 8 shown", "key 8 caption \"\"", "key 8 picture /buttons/zx_kp_08.gif",
    "key 9 shown", "key 9 caption \"\"", "key 9 picture /buttons/zx_kp_09.gif",
    "key 10 hidden", "key 11 hidden", "key 12 hidden",
};
// clang-format on

class ZentraxTest : public ::testing::Test {
  protected:
    ZentraxTest() {
        // A game that outlives its script fails the test instead of hanging.
        platform.At(600.0, [this] {
            ADD_FAILURE() << "the game still ran at the end of the script";
            console.CartridgeOn = kFalse;
        });
    }

    // What the window's handlers do, run inside one of the game's pumps.
    void Click(double t, std::int16_t key) {
        platform.At(t, [this, key] { console.KeyPressed = key; });
    }
    void Remove(double t) {
        platform.At(t, [this] {
            console.CartridgeOn = kFalse;
            console.ClearDots();
        });
    }
    // The menu on the display and the key left in the latch.
    void ReadAt(double t) {
        platform.At(t, [this] {
            readings.push_back(ReadMenu(DotPicture(console)) + " " +
                               std::to_string(console.KeyPressed));
        });
    }
    void Insert() {
        console.CartridgeOn = kTrue;
        game.Zentrax_Init();
    }

    VirtualPlatform platform;
    Console console{platform};
    RecordingHost host;
    Zentrax game{console, host};
    std::vector<std::string> readings;
};

TEST_F(ZentraxTest, TheMenuCyclesEachSettingAndEndsWithTheCartridge) {
    console.KeyPressed = 5;  // clicked before the cartridge went in: ignored
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
        console.KeyPressed = 1;
        console.KeyPressed = 1;
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

TEST_F(ZentraxTest, GoClearsTheDisplayAndKeepsItsKeyUntilTheCartridgeComesOut) {
    Click(0.010, 1);
    Click(0.020, 5);
    platform.At(0.030, [this] {
        EXPECT_EQ(DotPicture(console), testing::Picture().Text());
        EXPECT_EQ(console.KeyPressed, 5);
    });
    Click(0.040, 1);  // the menu is over
    ReadAt(0.050);
    Remove(2.0);
    Insert();
    EXPECT_EQ(readings, std::vector<std::string>{"... 1"});
    EXPECT_NEAR(platform.Seconds(), 2.0, 0.0015);

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

TEST_F(ZentraxTest, APictureThatCannotBeLoadedEndsTheGameWithItsNumber) {
    struct Case {
        const char* picture;
        int number;
        std::size_t dressedBefore;  // calls of kDressing made before the failure
    };
    const Case cases[] = {
        {"/overlays/Zentrax.gif", kErrFileNotFound, 0},
        {"/buttons/zx_kp_07.gif", kErrInvalidPicture, 17},
        {"/buttons/zx_kp_08.gif", kErrFileNotFound, 20},
        {"/buttons/zx_kp_09.gif", 481, 23},
    };
    for (const Case& c : cases) {
        host.calls.clear();
        host.failing = {{c.picture, c.number}};
        console.ClearDots();
        console.DotOn(5, 9);
        Remove(1.0);  // in case the game went on
        const long pumps = platform.Pumps();

        Insert();

        std::vector<std::string> expected(kDressing.begin(),
                                          kDressing.begin() + static_cast<long>(c.dressedBefore));
        expected.push_back(
            "box \"Whoops...\": Error in Zentrax_Init(), cannot continue. "
            "Error number: " +
            std::to_string(c.number));
        expected.push_back("close window");
        EXPECT_EQ(host.calls, expected) << c.picture;
        EXPECT_EQ(platform.Pumps(), pumps) << "nothing after the failing step ran";
        EXPECT_EQ(console.Dots(8 * 16 + 5), kTrue) << "the display was not yet cleared";
    }
}

}  // namespace
}  // namespace lumidot
