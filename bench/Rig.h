#pragma once

#include <functional>

#include "cartridges/zentrax/Zentrax.h"
#include "console/Console.h"
#include "console/Slot.h"
#include "window/MainWindow.h"

class QWidget;

namespace lumidot::bench {

// The console, its slot, the window and Zentrax, wired as the program wires
// them, on the given platform. The application must exist first.
struct Rig {
    explicit Rig(Platform& platform) : console(platform), slot(console), window(console, slot) {
        slot.Plug(zentrax);
        window.Load();
    }

    Console console;
    Slot slot;
    MainWindow window;
    Zentrax zentrax{console, window};
};

// Without a display the window opens on Qt's offscreen platform, so that a
// child can still measure what does not need a screen.
void UseOffscreenWithoutDisplay();

// Runs the action once the widget has been painted for the first time, on
// the event loop's next turn: by then the window has reached the screen.
void WhenPainted(QWidget& widget, std::function<void()> action);

}  // namespace lumidot::bench
