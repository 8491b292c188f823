#include "KeyToScreen.h"

#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include "Measures.h"
#include "Version.h"
#include "XScreen.h"

namespace lumidot::bench {

namespace {

// The time from the key's press to the first read of the screen that
// differs, in seconds; negative when none did within a second.
double PressAndWatch(Display* x, Window window, KeyCode key) {
    const std::vector<unsigned long> before = xscreen::Dots(x, window);
    XSetInputFocus(x, window, RevertToParent, CurrentTime);
    const double pressed = MonotonicSeconds();
    XTestFakeKeyEvent(x, key, True, CurrentTime);
    XTestFakeKeyEvent(x, key, False, CurrentTime);
    XSync(x, False);
    while (MonotonicSeconds() < pressed + 1.0) {
        if (xscreen::Dots(x, window) != before) {
            return MonotonicSeconds() - pressed;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return -1.0;
}

}  // namespace

double KeyToScreenMedian(char key, int presses) {
    Display* x = XOpenDisplay(nullptr);
    if (x == nullptr) {
        return -1.0;
    }
    const Window window = xscreen::Titled(x, std::string(kProgramName) + " v" + kVersion);
    const char name[2] = {key, '\0'};
    const KeyCode code = XKeysymToKeycode(x, XStringToKeysym(name));
    std::mt19937 random(std::random_device{}());
    std::vector<double> times;
    for (int i = 0; i < presses && window != 0; ++i) {
        // A moment anywhere in the display's 25 ms beat.
        std::this_thread::sleep_for(
            std::chrono::milliseconds(std::uniform_int_distribution<int>(30, 55)(random)));
        const double seconds = PressAndWatch(x, window, code);
        if (seconds < 0) {
            times.clear();
            break;
        }
        times.push_back(seconds);
    }
    XCloseDisplay(x);
    return times.empty() ? -1.0 : 1000.0 * Percentile(times, 0.5);
}

}  // namespace lumidot::bench
