#pragma once

namespace lumidot::bench {

// On the X server the benchmark runs on, presses keypad key `key` (a
// character '1' to '9') on the keyboard of the window, `presses` times,
// each at a random moment once the display shows the last one, and reads
// the screen back until the display's dots change. Returns the median time
// from a press to the screen in milliseconds, or -1 when there is no X
// server or no window, or a press showed nothing within a second.
double KeyToScreenMedian(char key, int presses);

}  // namespace lumidot::bench
