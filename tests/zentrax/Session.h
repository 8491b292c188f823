#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "cartridges/Host.h"
#include "cartridges/zentrax/Zentrax.h"
#include "console/Console.h"
#include "console/RuntimeError.h"
#include "console/Slot.h"
#include "support/DotPicture.h"
#include "support/Glyphs.h"
#include "support/VirtualPlatform.h"

namespace lumidot::testing {

inline const std::string kFolder = "/virtual/lumidot";

// Writes down what the game does to the window, paths relative to the
// program's folder.
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
    void SetKeyName(std::int16_t index, const std::string& name) override {
        calls.push_back(Key(index) + "named \"" + name + "\"");
    }
    void ShowErrorBox(const std::string& text, const std::string& title) override {
        calls.push_back("box \"" + title + "\": " + text);
    }
    void CloseMainWindow() override { calls.push_back("close window"); }

    std::vector<std::string> calls;

  private:
    static std::string Key(std::int16_t index) { return "key " + std::to_string(index) + " "; }

    static std::string Loaded(const std::string& path) {
        return path.substr(0, kFolder.size()) == kFolder ? path.substr(kFolder.size())
                                                         : "outside the program's folder: " + path;
    }
};

// What the game does to the window at its start-up.
// clang-format off
inline const std::vector<std::string> kDressing = {
    "overlay /overlays/Zentrax.gif",
    "key 1 shown", "key 1 caption \"Size\"", "key 1 picture none",
    "key 2 shown", "key 2 caption \"Speed\"", "key 2 picture none",
    "key 3 shown", "key 3 caption \"Targets\"", "key 3 picture none",
    "key 4 hidden",
    "key 5 shown", "key 5 caption \"Go\"", "key 5 picture none",
    "key 6 hidden",
    "key 7 shown", "key 7 caption \"\"", "key 7 picture /buttons/zx_kp_07.gif",
    "key 7 named \"Fire left\"",
    "key 8 shown", "key 8 caption \"\"", "key 8 picture /buttons/zx_kp_08.gif",
    "key 8 named \"Fire up\"",
    "key 9 shown", "key 9 caption \"\"", "key 9 picture /buttons/zx_kp_09.gif",
    "key 9 named \"Fire right\"",
    "key 10 hidden", "key 11 hidden", "key 12 hidden",
};
// clang-format on

// A console with the Zentrax cartridge in it, on the virtual clock.
class ZentraxTest : public ::testing::Test {
  protected:
    ZentraxTest() {
        slot.Plug(game);
        // A game that outlives its script fails the test instead of hanging.
        platform.At(600.0, [this] {
            ADD_FAILURE() << "the game still ran at the end of the script";
            slot.Close();
        });
    }

    // What the window's handlers do, run inside one of the game's pumps.
    void Click(double t, std::int16_t key) {
        platform.At(t, [this, key] { console.PressKey(key); });
    }
    void Remove(double t) {
        platform.At(t, [this] { slot.Remove(); });
    }
    // The menu on the display and the key left in the latch.
    void ReadAt(double t) {
        platform.At(t, [this] {
            readings.push_back(ReadMenu(DotPicture(console)) + " " +
                               std::to_string(console.KeyPressed()));
        });
    }
    void Insert() { slot.Insert(); }

    VirtualPlatform platform;
    Console console{platform};
    RecordingHost host;
    Zentrax game{console, host};
    Slot slot{console};
    std::vector<std::string> readings;
};

}  // namespace lumidot::testing
