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

// The window as the game leaves it.
class RecordingHost : public Host {
  public:
    void SetOverlayPicture(const std::string& path) override {
        overlay = path;
        ++dressings;
    }
    void SetKeyVisible(std::int16_t k, bool visible) override {
        Key(k)[0] = visible ? "" : "hidden";
    }
    void SetKeyCaption(std::int16_t k, const std::string& caption) override { Key(k)[1] = caption; }
    void SetKeyPicture(std::int16_t k, const std::string& path) override { Key(k)[2] = path; }
    void SetKeyName(std::int16_t k, const std::string& name) override { Key(k)[3] = name; }
    void ShowErrorBox(const std::string& text, const std::string& title) override {
        report = title + " " + text;
    }
    void CloseMainWindow() override { closed = true; }

    // Each key 1 to 12 as a player sees it: "-" when hidden, else its
    // caption, or its picture and what a screen reader calls it.
    std::string Keypad() const {
        std::string out;
        for (const auto& [hidden, caption, picture, name] : keys_)
            out += !hidden.empty()    ? "- "
                   : !caption.empty() ? caption + " "
                                      : picture + "=" + name + " ";
        return out;
    }

    std::string overlay, report;
    int dressings = 0;
    bool closed = false;

  private:
    std::array<std::string, 4>& Key(std::int16_t k) { return keys_.at(std::size_t(k - 1)); }
    std::array<std::array<std::string, 4>, 12> keys_{};  // hidden, caption, picture, name
};

// Zentrax in the slot of a console on the virtual clock, driven through
// what the window does: keys pressed, the cartridge in and out.
class GameTest : public ::testing::Test {
  protected:
    explicit GameTest(double start = 0.0) : platform(start), start_(start) {
        slot.Plug(game);
        At(900.0, [this] {
            ADD_FAILURE() << "the game outlived its script";
            slot.Close();
        });
    }

    // Times count from the start of the virtual clock.
    double Now() { return platform.Seconds() - start_; }
    void At(double t, std::function<void()> action) { platform.At(start_ + t, std::move(action)); }
    void Key(double t, std::int16_t key) {
        At(t, [this, key] { console.PressKey(key); });
    }
    std::vector<double> Played(const std::string& name) const {
        std::vector<double> times;
        for (const auto& [path, at] : platform.played) {
            if (path == platform.folder + "/samples/" + name) times.push_back(at - start_);
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
