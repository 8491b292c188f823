#include "window/DotMatrix.h"

#include <QPaintEvent>
#include <QPainter>

#include "window/Greys.h"
#include "window/ObjectNames.h"
#include "window/Twips.h"

namespace lumidot {

DotMatrix::DotMatrix(QWidget* parent) : QWidget(parent) {
    setObjectName(QLatin1String(objectnames::kDotDisplay));
    colors_.fill(greys::Grey(greys::kInitial));
    setFocusPolicy(Qt::NoFocus);
}

QRectF DotMatrix::CellRect(int index) const {
    return ToPixels(layout::DotCell(index), scale_);
}

void DotMatrix::SetCellColor(int index, QRgb color) {
    QRgb& cell = colors_.at(static_cast<std::size_t>(index));
    if (cell == color) {
        return;
    }
    cell = color;
    update(CellRect(index).toAlignedRect());
}

void DotMatrix::SetScale(double scale) {
    scale_ = scale;
    update();
}

void DotMatrix::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect dirty = event->rect();
    for (int i = 0; i < kCells; ++i) {
        const QRectF cell = CellRect(i);
        if (dirty.intersects(cell.toAlignedRect())) {
            painter.fillRect(cell, QColor(colors_[static_cast<std::size_t>(i)]));
        }
    }
}

}  // namespace lumidot
