#include "KeyToScreen.h"

#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include "Measures.h"
#include "Version.h"
#include "window/Layout.h"

namespace lumidot::bench {

namespace {

// The shown top-level window with this title, or 0.
Window Titled(Display* x, const std::string& title) {
    Window root = DefaultRootWindow(x);
    Window parent = 0;
    Window* children = nullptr;
    Window found = 0;
    unsigned int count = 0;
    XQueryTree(x, root, &root, &parent, &children, &count);
    for (unsigned int i = 0; i < count; ++i) {
        char* name = nullptr;
        XWindowAttributes shown{};
        XGetWindowAttributes(x, children[i], &shown);
        if (XFetchName(x, children[i], &name) != 0 && title == name &&
            shown.map_state == IsViewable) {
            found = children[i];
        }
        XFree(name);
    }
    XFree(children);
    return found;
}

// The display's 256 dots as the screen shows them, one pixel each.
std::vector<unsigned long> Dots(Display* x, Window window) {
    std::vector<unsigned long> dots;
    XImage* image = XGetImage(x, window, 0, 0, 180, 180, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return dots;
    }
    for (int n = 0; n < 256; ++n) {
        const layout::Point at = layout::CentreIn(layout::kDisplayPanel, layout::DotCell(n));
        dots.push_back(XGetPixel(image, static_cast<int>(at.x), static_cast<int>(at.y)));
    }
    XDestroyImage(image);
    return dots;
}

// The time from the key's press to the first read of the screen that
// differs, in seconds; negative when none did within a second.
double PressAndWatch(Display* x, Window window, KeyCode key) {
    const std::vector<unsigned long> before = Dots(x, window);
    XSetInputFocus(x, window, RevertToParent, CurrentTime);
    const double pressed = MonotonicSeconds();
    XTestFakeKeyEvent(x, key, True, CurrentTime);
    XTestFakeKeyEvent(x, key, False, CurrentTime);
    XSync(x, False);
    while (MonotonicSeconds() < pressed + 1.0) {
        if (Dots(x, window) != before) {
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
    const Window window = Titled(x, std::string(kProgramName) + " v" + kVersion);
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
