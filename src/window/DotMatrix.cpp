#include "window/DotMatrix.h"

#include <QPaintEvent>
#include <QPainter>

#include "window/Twips.h"

namespace lumidot {

DotMatrix::DotMatrix(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Dotmatrix"));
    colors_.fill(qRgb(kInitialGrey, kInitialGrey, kInitialGrey));
    setFocusPolicy(Qt::NoFocus);
}

QRectF DotMatrix::CellRect(int index) {
    const int column = index % 16;
    const int row = index / 16;
    return {Px(360 + 120 * column), Px(480 + 120 * row), Px(96), Px(96)};
}

void DotMatrix::SetCellColor(int index, QRgb color) {
    QRgb& cell = colors_.at(static_cast<std::size_t>(index));
    if (cell == color) {
        return;
    }
    cell = color;
    update(CellRect(index).toAlignedRect());
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
