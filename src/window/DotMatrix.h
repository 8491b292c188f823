#pragma once

#include <QRectF>
#include <QRgb>
#include <QWidget>
#include <array>

#include "console/Console.h"

namespace lumidot {

// The display's 256 liquid-crystal dot cells, Dotmatrix(0) to Dotmatrix(255),
// row by row from the top left. Each is a flat square filled with its own
// colour; the widget is transparent between them, so the overlay picture
// beneath shows through the gaps.
class DotMatrix : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kCells = Console::kDots;

    explicit DotMatrix(QWidget* parent = nullptr);

    QRgb CellColor(int index) const { return colors_.at(static_cast<std::size_t>(index)); }

    // Repaints the cell only when its colour changes.
    void SetCellColor(int index, QRgb color);

    // The window's size factor: the cells keep their fractional positions.
    void SetScale(double scale);

    // Cell n's square in the coordinates of the display panel, at its exact
    // fractional position: at scale 1 the pitch is 8 pixels, the square 6.4.
    QRectF CellRect(int index) const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::array<QRgb, kCells> colors_;
    double scale_ = 1.0;
};

}  // namespace lumidot
