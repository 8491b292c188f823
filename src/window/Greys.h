#pragma once

#include <QRgb>

// The greys of the console's display: every colour it shows is one, red,
// green and blue alike.
namespace lumidot::greys {

constexpr int kLit = 0;
// A weak battery gives all lit dots of a refresh one random level in
// kWeakLowest .. kWeakLowest + kWeakLevels - 1.
constexpr int kWeakLowest = 32;
constexpr int kWeakLevels = 64;
constexpr int kUnlit = 208;
// The cells before the first refresh.
constexpr int kInitial = 192;
// The display panel; "hide inactive dots" gives it the unlit dots' grey.
constexpr int kPanel = 224;
constexpr int kPanelHidingUnlit = kUnlit;

// A grey level as a colour.
constexpr QRgb Grey(int level) {
    return qRgb(level, level, level);
}

}  // namespace lumidot::greys
