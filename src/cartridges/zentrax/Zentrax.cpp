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

std::int16_t Zentrax::PointerKey(int column) const {
    if (column < 1 || column > 16) {
        return 0;
    }
    return column <= 5 ? 7 : column <= 11 ? 8 : 9;
}

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
    Ending ending = Ending::CartridgeOut;
    if (SettingsMenu()) {
        Play play(console_, settings_);
        if (play.Run() == Play::Outcome::GameOver) {
            ending = GameOver(play.Hits());
        }
    }
    if (ending == Ending::CartridgeOut) {
        // What the game drew after the removal cleared the display (the
        // rest of a turn, a hit) goes too: an empty slot shows nothing.
        console_.ClearDots();
    }
    return ending;
}

void Zentrax::StartUp() {
    host_.SetOverlayPicture(console_.FilePath("overlays/Zentrax.gif"));
    DressKeypad();
    console_.ClearDots();
    // A key pressed before the game was ready must not count in the menu.
    console_.ClearKey();
    settings_ = Settings{};
    DrawSizeIndicator(console_, settings_.size);
    DrawSpeedIndicator(console_, settings_.speed);
    DrawTargetCount(console_, settings_.targets);
}

void Zentrax::DressKeypad() {
    struct Dressing {
        bool visible;
        const char* caption;  // nullptr: left as it is
        const char* picture;  // nullptr: left as it is; "": cleared
        const char* name;     // for a key that shows only a picture
    };
    static constexpr Dressing kKeypad[Console::kKeys] = {
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
    for (std::int16_t index = 1; index <= Console::kKeys; ++index) {
        const Dressing& key = kKeypad[index - 1];
        host_.SetKeyVisible(index, key.visible);
        if (key.caption != nullptr) {
            host_.SetKeyCaption(index, key.caption);
        }
        if (key.picture != nullptr) {
            const std::string file = key.picture;
            host_.SetKeyPicture(
                index, file.empty() ? std::string() : console_.FilePath("buttons/" + file));
        }
        if (key.name != nullptr) {
            host_.SetKeyName(index, key.name);
        }
    }
}

bool Zentrax::SettingsMenu() {
    for (;;) {
        // At most one key counts per turn: a handled key leaves 0 behind.
        if (console_.KeyPressed() == kKeySize) {
            settings_.size = Stepped(settings_.size, -1, 0, 4);
            DrawSizeIndicator(console_, settings_.size);
            console_.ClearKey();
        }
        if (console_.KeyPressed() == kKeySpeed) {
            settings_.speed = Stepped(settings_.speed, 1, 0, 2);
            DrawSpeedIndicator(console_, settings_.speed);
            console_.ClearKey();
        }
        if (console_.KeyPressed() == kKeyTargets) {
            settings_.targets = Stepped(settings_.targets, 1, 1, 9);
            DrawTargetCount(console_, settings_.targets);
            console_.ClearKey();
        }
        if (console_.KeyPressed() == kKeyGo) {
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
    // A cartridge taken out as the last target was hit or went (in the hit
    // test's pause, say) ends the game here: no score on an empty slot, and
    // no tune.
    if (!console_.CartridgeOn()) {
        return Ending::CartridgeOut;
    }
    console_.ClearDots();
    DrawScore(console_, score);
    console_.Pause(kSoundPause);
    if (!console_.CartridgeOn()) {
        return Ending::CartridgeOut;
    }
    console_.PlaySample("zx_gameover.wav");
    // Only a "Go" pressed once the tune has ended starts the next game.
    console_.ClearKey();
    for (;;) {
        if (console_.KeyPressed() == kKeyGo) {
            return Ending::NewGame;
        }
        if (!DoEventsCartridgeIn()) {
            return Ending::CartridgeOut;
        }
    }
}

bool Zentrax::DoEventsCartridgeIn() {
    // Nothing here is timed: only an event can change the key or the slot.
    console_.AwaitEvents(std::numeric_limits<double>::infinity());
    return console_.CartridgeOn();
}

void Zentrax::ReportError(std::int32_t number) {
    host_.ShowErrorBox(kErrorText + std::to_string(number), kErrorTitle);
    host_.CloseMainWindow();
}

}  // namespace lumidot
