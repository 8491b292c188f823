#include "XScreen.h"

#include <X11/Xutil.h>

#include "window/Layout.h"

namespace lumidot::xscreen {

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

std::vector<unsigned long> Dots(Display* x, Window window) {
    std::vector<unsigned long> dots;
    XImage* image = XGetImage(x, window, 0, 0, 180, 180, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return dots;
    }
    for (int n = 0; n < 256; ++n) {
        const layout::Point at = layout::CentreIn(layout::kDisplayPanel, layout::DotCell(n));
        dots.push_back(XGetPixel(image, static_cast<int>(at.x), static_cast<int>(at.y)) & 0xffffff);
    }
    XDestroyImage(image);
    return dots;
}

}  // namespace lumidot::xscreen
