#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "cartridges/Host.h"

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
    // Zentrax ejects nothing; a Lua cartridge does after its report.
    void EjectCartridge() override {
        if (onEject) {
            onEject();
        } else {
            ADD_FAILURE() << "an unexpected ejection";
        }
    }

    // Keys 1 to 12 as seen: "-" hidden, a caption, or a picture=its name.
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
    std::function<void()> onEject;
    // Key k's dressing: hidden ("hidden" or ""), caption, picture, name.
    const std::array<std::string, 4>& Dress(std::int16_t k) { return Key(k); }

  private:
    std::array<std::string, 4>& Key(std::int16_t k) { return keys_.at(std::size_t(k - 1)); }
    std::array<std::array<std::string, 4>, 12> keys_{};  // hidden, caption, picture, name
};

}  // namespace lumidot::testing
