#pragma once

#include <cstdint>
#include <string>

namespace lumidot {

class Console;
class Host;

// Zentrax, the console's shooting game: set the targets' length, speed and
// number on the keypad, press "Go", and shoot the bars that cross the
// upper half of the display.
class Zentrax {
  public:
    Zentrax(Console& console, Host& host);

    // The game's entry routine. It keeps control while the cartridge is in,
    // running the window's events in every wait, and returns once the
    // cartridge is out or after the fault report.
    void Zentrax_Init();

  private:
    enum class Ending { CartridgeOut, NewGame };

    // One game, from dressing the console to its end.
    Ending Game();
    void StartUp();
    void DressKeypad(const std::string& buttons);
    // True when "Go" ends the menu, false when the cartridge comes out.
    bool SettingsMenu();
    // Shows the score and plays the closing tune, then waits for "Go" or
    // the cartridge's removal.
    Ending GameOver(std::int16_t score);
    void ReportError(std::int32_t number);

    // Runs the window's pending events once; false once the cartridge is
    // out.
    bool DoEventsCartridgeIn();

    Console& console_;
    Host& host_;

    // The settings of the game being set up; every game starts them afresh.
    std::int16_t SizeSetting = 0;
    std::int16_t SpeedSetting = 0;
    std::int16_t TargetsSetting = 0;
};

}  // namespace lumidot
