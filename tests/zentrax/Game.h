#pragma once

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "cartridges/Host.h"
#include "cartridges/zentrax/Zentrax.h"
#include "console/Console.h"
#include "console/Slot.h"
#include "support/Glyphs.h"
#include "support/VirtualPlatform.h"

namespace lumidot::testing {

// The window as the game leaves it: the keypad, the overlay, the report.
class RecordingHost : public Host {
  public:
    void SetOverlayPicture(const std::string& path) override {
        overlay = path;
        ++dressings;
    }
    void SetKeyVisible(std::int16_t index, bool visible) override { At(index).visible = visible; }
    void SetKeyCaption(std::int16_t index, const std::string& caption) override {
        At(index).caption = caption;
    }
    void SetKeyPicture(std::int16_t index, const std::string& path) override {
        At(index).picture = path;
    }
    void SetKeyName(std::int16_t index, const std::string& name) override { At(index).name = name; }
    void ShowErrorBox(const std::string& text, const std::string& title) override {
        report = title + " " + text;
    }
    void CloseMainWindow() override { closed = true; }

    // Each key as a player sees it, 1 to 12: its caption, or its picture's
    // path and what a screen reader calls it; "-" when hidden.
    std::string Keypad() const {
        std::string out;
        for (const Key& key : keys_) {
            out += !key.visible           ? "-"
                   : !key.caption.empty() ? key.caption
                                          : key.picture + "=" + key.name;
            out += ' ';
        }
        return out;
    }

    std::string overlay;
    int dressings = 0;
    std::string report;
    bool closed = false;

  private:
    struct Key {
        bool visible = true;
        std::string caption, picture, name;
    };
    Key& At(std::int16_t index) { return keys_.at(static_cast<std::size_t>(index - 1)); }
    std::array<Key, 12> keys_{};
};

// The keypad once Zentrax has dressed it.
inline const std::string kDressedKeypad =
    "Size Speed Targets - Go - /virtual/lumidot/buttons/zx_kp_07.gif=Fire left "
    "/virtual/lumidot/buttons/zx_kp_08.gif=Fire up /virtual/lumidot/buttons/zx_kp_09.gif=Fire "
    "right - - - ";

// Zentrax in the slot of a console on the virtual clock, driven through the
// operations the window uses: keys pressed, the cartridge in and out.
class GameTest : public ::testing::Test {
  protected:
    explicit GameTest(double start = 0.0) : platform(start), start_(start) {
        slot.Plug(game);
        // A game that outlives its script fails instead of hanging.
        At(900.0, [this] {
            ADD_FAILURE() << "the game still ran at the end of the script";
            slot.Close();
        });
    }

    // Times are counted from the start of the virtual clock.
    double Now() { return platform.Seconds() - start_; }
    void At(double t, std::function<void()> action) { platform.At(start_ + t, std::move(action)); }
    void Key(double t, std::int16_t key) {
        At(t, [this, key] { console.PressKey(key); });
    }
    void Remove(double t) {
        At(t, [this] { slot.Remove(); });
    }
    // When each playing of the sound started.
    std::vector<double> Played(const std::string& name) const {
        std::vector<double> times;
        for (const auto& sound : platform.played) {
            if (sound.path == "/virtual/lumidot/samples/" + name) {
                times.push_back(sound.at - start_);
            }
        }
        return times;
    }

    VirtualPlatform platform;
    Console console{platform};
    RecordingHost host;
    Zentrax game{console, host};
    Slot slot{console};

  private:
    double start_;
};

}  // namespace lumidot::testing
