#pragma once

#include <string>
#include <vector>

#include <X11/Xlib.h>

// The program's window as an X server shows it, for the benchmark and the
// end-to-end tests alike.
namespace lumidot::xscreen {

// The shown top-level window with this title, or 0.
Window Titled(Display* x, const std::string& title);

// The colour (0xRRGGBB) at the centre of each of the display's 256 dots, row
// by row from the top left, as the screen shows them; none when the window
// cannot be read.
std::vector<unsigned long> Dots(Display* x, Window window);

}  // namespace lumidot::xscreen
