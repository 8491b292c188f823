#include "window/PictureBox.h"

#include <QPaintEvent>
#include <QPainter>

namespace lumidot {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void PictureBox::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    stretched_ = QPixmap();
    update();
}

void PictureBox::paintEvent(QPaintEvent* event) {
    if (picture_.isNull()) {
        return;
    }
    const qreal ratio = devicePixelRatioF();
    if (stretched_.isNull() || stretched_.deviceIndependentSize() != QSizeF(size()) ||
        stretched_.devicePixelRatio() != ratio) {
        stretched_ =
            picture_.scaled(size() * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        stretched_.setDevicePixelRatio(ratio);
    }
    // Only the parts that need it, each copied as it is: the dots above
    // repaint a few small squares at a time, and a whole picture drawn at
    // every tick would be blended on Qt's thread pool, waking its threads.
    QPainter painter(this);
    for (const QRect& part : event->region()) {
        painter.drawPixmap(part.topLeft(), stretched_,
                           QRectF(QPointF(part.topLeft()) * ratio, QSizeF(part.size()) * ratio));
    }
}

}  // namespace lumidot
