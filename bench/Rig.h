#pragma once

#include <functional>

#include "Handheld.h"

class QWidget;

namespace lumidot::bench {

// The handheld wired as the program wires it, on the given platform. The
// application must exist first.
using Rig = Handheld;

// Without a display the window opens on Qt's offscreen platform, so that a
// child can still measure what does not need a screen.
void UseOffscreenWithoutDisplay();

// Runs the action once the widget has been painted for the first time, on
// the event loop's next turn: by then the window has reached the screen.
void WhenPainted(QWidget& widget, std::function<void()> action);

}  // namespace lumidot::bench
