#pragma once

#include <cstdint>
#include <string>

#include "cartridges/zentrax/Settings.h"
#include "console/Cartridge.h"

namespace lumidot {

class Console;
class Host;

// Zentrax, the console's shooting game: set the targets' length, speed and
// number on the keypad, press "Go", and shoot the bars that cross the
// upper half of the display.
class Zentrax : public Cartridge {
  public:
    Zentrax(Console& console, Host& host);

    std::string Name() const override { return "Zentrax"; }
    void Run() override { Zentrax_Init(); }
    // Fires from the third of the display under the pointer: columns 1 to 5
    // press 7, 6 to 11 press 8, 12 to 16 press 9.
    std::int16_t PointerKey(int column) const override;

    // The game's entry routine. It keeps control while the cartridge is in,
    // running the window's events in every wait, and returns once the
    // cartridge is out or after the fault report.
    void Zentrax_Init();

  private:
    enum class Ending { CartridgeOut, NewGame };

    // One game, from dressing the console to its end.
    Ending Game();
    void StartUp();
    void DressKeypad();
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
    zentrax::Settings settings_;
};

}  // namespace lumidot
