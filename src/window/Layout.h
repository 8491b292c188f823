#pragma once

// Where every control of the console's window stands, in twips (1/1440
// inch; 15 twips are one logical pixel at 96 dots per inch). The window
// places its controls from here, and the tests find them here. Plain C++:
// the tests that drive the program from outside read it too.
namespace lumidot::layout {

struct Rect {
    int left;
    int top;
    int width;
    int height;
};

constexpr double kTwipsPerPixel = 15.0;

// The window's client area.
constexpr Rect kWindow{0, 0, 4980, 4620};

// The display panel starts above the client area, so its top edge is cut
// off. The overlay and the dot cells lie in it.
constexpr Rect kDisplayPanel{0, -120, 2595, 2715};
constexpr Rect kOverlay{30, 150, 2535, 2535};
// Dot cell n (0 to 255), row by row from the top left, at a pitch of 120.
constexpr Rect DotCell(int n) {
    return {360 + 120 * (n % 16), 480 + 120 * (n / 16), 96, 96};
}

// The keypad panel and key k (1 to 12), four rows of three.
constexpr Rect kKeypadPanel{45, 2580, 2535, 1995};
constexpr Rect KeypadKey(int k) {
    return {120 + 780 * ((k - 1) % 3), 240 + 420 * ((k - 1) / 3), 735, 375};
}

// The cartridge slot and the options.
constexpr Rect kSlotPanel{2640, 0, 2295, 4575};
constexpr Rect kCartridgeLabel{120, 180, 675, 195};
constexpr Rect kCartridgeList{120, 420, 2055, 315};
constexpr Rect kInsertButton{120, 780, 2055, 315};
constexpr Rect kRemoveButton{120, 1140, 2055, 315};
constexpr Rect kOptionsLabel{120, 3360, 585, 195};
constexpr Rect kHideInactiveDots{120, 3600, 1575, 255};
constexpr Rect kWeakBattery{120, 3900, 1875, 255};
constexpr Rect kEnhancedControls{120, 4200, 2115, 255};

// A point in the window's client area, in logical pixels.
struct Point {
    double x;
    double y;
};

// The centre of a control inside a panel, in the window's client area.
constexpr Point CentreIn(const Rect& panel, const Rect& control) {
    return {(panel.left + control.left + control.width / 2.0) / kTwipsPerPixel,
            (panel.top + control.top + control.height / 2.0) / kTwipsPerPixel};
}

}  // namespace lumidot::layout
