#pragma once

#include "cartridges/zentrax/Zentrax.h"
#include "console/Console.h"
#include "console/Slot.h"
#include "window/MainWindow.h"

namespace lumidot {

// The handheld as the program wires it: the console on a platform, its
// slot, its window, and the one cartridge, dressing that window, plugged
// into the slot. The window has loaded: the cartridge is listed.
struct Handheld {
    explicit Handheld(Platform& platform) : console(platform) {
        slot.Plug(zentrax);
        window.Load();
    }

    Console console;
    Slot slot{console};
    MainWindow window{console, slot};
    Zentrax zentrax{console, window};
};

}  // namespace lumidot
