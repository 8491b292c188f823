#pragma once

#include <QPixmap>
#include <QWidget>

namespace lumidot {

// An image holder that stretches its picture to its own size. It paints the
// picture as it is even inside a disabled panel, where a label would grey it.
class PictureBox : public QWidget {
    Q_OBJECT

  public:
    explicit PictureBox(QWidget* parent = nullptr);

    const QPixmap& Picture() const { return picture_; }
    void SetPicture(const QPixmap& picture);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap picture_;
    // The picture stretched to the box's size in device pixels, made when
    // the picture or the size changes.
    QPixmap stretched_;
};

}  // namespace lumidot
