#include "cartridges/zentrax/Zentrax.h"

#include <limits>
#include <new>
#include <stdexcept>

#include "cartridges/Host.h"
#include "cartridges/zentrax/Digits.h"
#include "cartridges/zentrax/Indicators.h"
#include "cartridges/zentrax/Play.h"
#include "console/Console.h"
#include "console/Int16.h"
#include "console/RuntimeError.h"

namespace lumidot {

using namespace zentrax;

namespace {

enum Key : std::int16_t { kKeySize = 1, kKeySpeed = 2, kKeyTargets = 3, kKeyGo = 5 };

// One press of a setting's key: a step through the setting's range that
// wraps around at its ends.
std::int16_t Stepped(std::int16_t value, std::int16_t step, std::int16_t first, std::int16_t last) {
    value = int16::Add(value, step);
    if (value < first) {
        return last;
    }
    if (value > last) {
        return first;
    }
    return value;
}

constexpr std::int16_t kSoundPause = 40;

const char* const kErrorTitle = "Whoops...";
const char* const kErrorText = "Error in Zentrax_Init(), cannot continue. Error number: ";

}  // namespace

Zentrax::Zentrax(Console& console, Host& host) : console_(console), host_(host) {}

void Zentrax::Zentrax_Init() {
    // The game's one error handler: any fault, from loading the first
    // picture to the last wait, ends the game with a report.
    try {
        // "Go" after a game over starts the next game here rather than in a
        // nested call, so a long session does not deepen the stack.
        while (Game() == Ending::NewGame) {
        }
    } catch (const RuntimeError& error) {
        ReportError(error.Number());
    } catch (const std::bad_alloc&) {
        ReportError(kErrOutOfMemory);
    } catch (const std::exception&) {
        ReportError(kErrInternal);
    }
}

Zentrax::Ending Zentrax::Game() {
    StartUp();
    if (!SettingsMenu()) {
        return Ending::CartridgeOut;
    }
    Play play(console_, {SizeSetting, SpeedSetting, TargetsSetting});
    if (play.Run() == Play::Outcome::CartridgeOut) {
        // The turn that saw the removal may have drawn after the removal
        // cleared the display; an empty slot shows nothing.
        console_.ClearDots();
        return Ending::CartridgeOut;
    }
    return GameOver(play.Hits());
}

void Zentrax::StartUp() {
    const std::string folder = console_.platform().AppFolder();
    host_.SetOverlayPicture(folder + "/overlays/Zentrax.gif");
    DressKeypad(folder + "/buttons/");
    console_.ClearDots();
    // A key pressed before the game was ready must not count in the menu.
    console_.KeyPressed = 0;
    SizeSetting = 4;
    DrawSizeIndicator(console_, SizeSetting);
    SpeedSetting = 1;
    DrawSpeedIndicator(console_, SpeedSetting);
    TargetsSetting = 1;
    DrawTargetCount(console_, TargetsSetting);
}

void Zentrax::DressKeypad(const std::string& buttons) {
    struct Dressing {
        bool visible;
        const char* caption;  // nullptr: left as it is
        const char* picture;  // nullptr: left as it is; "": cleared
        const char* name;     // for a key that shows only a picture
    };
    static constexpr Dressing kKeypad[12] = {
        {true, "Size", "", nullptr},
        {true, "Speed", "", nullptr},
        {true, "Targets", "", nullptr},
        {false, nullptr, nullptr, nullptr},
        {true, "Go", "", nullptr},
        {false, nullptr, nullptr, nullptr},
        {true, "", "zx_kp_07.gif", "Fire left"},
        {true, "", "zx_kp_08.gif", "Fire up"},
        {true, "", "zx_kp_09.gif", "Fire right"},
        {false, nullptr, nullptr, nullptr},
        {false, nullptr, nullptr, nullptr},
        {false, nullptr, nullptr, nullptr},
    };
    // Button by button: visibility, caption, then the picture, whose file is
    // read only now, and the name of a picture-only key.
    for (std::int16_t index = 1; index <= 12; ++index) {
        const Dressing& key = kKeypad[index - 1];
        host_.SetKeyVisible(index, key.visible);
        if (key.caption != nullptr) {
            host_.SetKeyCaption(index, key.caption);
        }
        if (key.picture != nullptr) {
            const std::string file = key.picture;
            host_.SetKeyPicture(index, file.empty() ? std::string() : buttons + file);
        }
        if (key.name != nullptr) {
            host_.SetKeyName(index, key.name);
        }
    }
}

bool Zentrax::SettingsMenu() {
    std::int16_t& key = console_.KeyPressed;
    for (;;) {
        // At most one key counts per turn: a handled key leaves 0 behind.
        if (key == kKeySize) {
            SizeSetting = Stepped(SizeSetting, -1, 0, 4);
            DrawSizeIndicator(console_, SizeSetting);
            key = 0;
        }
        if (key == kKeySpeed) {
            SpeedSetting = Stepped(SpeedSetting, 1, 0, 2);
            DrawSpeedIndicator(console_, SpeedSetting);
            key = 0;
        }
        if (key == kKeyTargets) {
            TargetsSetting = Stepped(TargetsSetting, 1, 1, 9);
            DrawTargetCount(console_, TargetsSetting);
            key = 0;
        }
        if (key == kKeyGo) {
            // The key stays latched: play starts with it.
            console_.ClearDots();
            return true;
        }
        if (!DoEventsCartridgeIn()) {
            return false;
        }
    }
}

Zentrax::Ending Zentrax::GameOver(std::int16_t score) {
    console_.ClearDots();
    DrawScore(console_, score);
    console_.Pause(kSoundPause);
    console_.PlaySample("zx_gameover.wav");
    // Only a "Go" pressed once the tune has ended starts the next game.
    std::int16_t& key = console_.KeyPressed;
    key = 0;
    for (;;) {
        if (key == kKeyGo) {
            return Ending::NewGame;
        }
        if (!DoEventsCartridgeIn()) {
            return Ending::CartridgeOut;
        }
    }
}

bool Zentrax::DoEventsCartridgeIn() {
    // Nothing here is timed: only an event can change the key or the slot.
    console_.platform().AwaitEvents(std::numeric_limits<double>::infinity());
    return console_.CartridgeOn == kTrue;
}

void Zentrax::ReportError(std::int32_t number) {
    host_.ShowErrorBox(kErrorText + std::to_string(number), kErrorTitle);
    host_.CloseMainWindow();
}

}  // namespace lumidot
