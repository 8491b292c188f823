#pragma once

#include <memory>
#include <vector>

#include "cartridges/lua/LuaCartridge.h"
#include "cartridges/lua/Shelf.h"
#include "cartridges/zentrax/Zentrax.h"
#include "console/Console.h"
#include "console/Slot.h"
#include "window/MainWindow.h"

namespace lumidot {

// The handheld as the program wires it: the console on a platform, its
// slot, its window, and the cartridges, each dressing that window, plugged
// into the slot: Zentrax first, then those written in Lua that the shelf
// found, the one it chose selected. The window has loaded: the cartridges
// are listed.
struct Handheld {
    explicit Handheld(Platform& platform, const Shelf& shelf = Shelf{}) : console(platform) {
        slot.Plug(zentrax);
        for (const CartridgeFolder& found : shelf.cartridges) {
            written.push_back(
                std::make_unique<LuaCartridge>(console, window, found.name, found.folder));
            slot.Plug(*written.back());
        }
        if (shelf.chosen >= 0) {
            slot.Select(static_cast<std::size_t>(shelf.chosen) + 1);
        }
        window.Load();
    }

    Console console;
    Slot slot{console};
    MainWindow window{console, slot};
    Zentrax zentrax{console, window};
    std::vector<std::unique_ptr<LuaCartridge>> written;
};

}  // namespace lumidot
