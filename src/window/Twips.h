#pragma once

#include <QRect>
#include <QRectF>
#include <cmath>

#include "window/Layout.h"

namespace lumidot {

// A layout rectangle in logical pixels, the window drawn `scale` times its
// size. Qt scales logical pixels further for high-DPI screens, so the
// layout keeps its proportions everywhere.
inline QRectF ToPixels(const layout::Rect& twips, double scale) {
    const double k = scale / layout::kTwipsPerPixel;
    return {twips.left * k, twips.top * k, twips.width * k, twips.height * k};
}

// The same on whole pixels, each edge rounded on its own so that controls
// side by side keep their gaps.
inline QRect ToWholePixels(const layout::Rect& twips, double scale) {
    const QRectF exact = ToPixels(twips, scale);
    const auto left = static_cast<int>(std::lround(exact.left()));
    const auto top = static_cast<int>(std::lround(exact.top()));
    return {left, top, static_cast<int>(std::lround(exact.right())) - left,
            static_cast<int>(std::lround(exact.bottom())) - top};
}

}  // namespace lumidot
