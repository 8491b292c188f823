#pragma once

#include <cstdint>
#include <string>

namespace lumidot {

// What a cartridge game may do to the console's window: lay its overlay
// beneath the dots, dress the keypad, report a fault and close the window.
// The window implements it; the game knows nothing else of the window.
class Host {
  public:
    virtual ~Host() = default;

    // Loads the picture file and lays it beneath the dots. A file that is
    // missing or is not a readable picture raises a RuntimeError.
    virtual void SetOverlayPicture(const std::string& path) = 0;

    // The keypad buttons by index, 1 to 12.
    virtual void SetKeyVisible(std::int16_t index, bool visible) = 0;
    virtual void SetKeyCaption(std::int16_t index, const std::string& caption) = 0;
    // Loads the picture file for the button, failing as the overlay does;
    // an empty path clears the button's picture.
    virtual void SetKeyPicture(std::int16_t index, const std::string& path) = 0;
    // What a screen reader calls a key whose face is only a picture.
    virtual void SetKeyName(std::int16_t index, const std::string& name) = 0;

    // Shows a modal error box (an error icon and one OK button) and
    // returns once the player has answered it.
    virtual void ShowErrorBox(const std::string& text, const std::string& title) = 0;

    // Closes the console's window; the program ends once the game returns.
    virtual void CloseMainWindow() = 0;

    // Takes the cartridge out as "remove cartridge" does: the slot's
    // controls are given back and the display is cleared. The game returns
    // at its next look at the cartridge.
    virtual void EjectCartridge() = 0;
};

}  // namespace lumidot
