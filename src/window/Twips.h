#pragma once

#include <QRect>
#include <QRectF>

namespace lumidot {

// The console's window is laid out in twips, 1/1440 inch: 15 twips are one
// logical pixel at 96 dots per inch. Qt scales logical pixels for high-DPI
// screens, so the layout keeps its proportions everywhere.
constexpr double kTwipsPerPixel = 15.0;

constexpr double Px(int twips) {
    return twips / kTwipsPerPixel;
}

// For the controls, whose twip values are all whole pixels.
inline QRect TwipRect(int left, int top, int width, int height) {
    return QRectF(Px(left), Px(top), Px(width), Px(height)).toRect();
}

}  // namespace lumidot
