#include "Rig.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <utility>

namespace lumidot::bench {

namespace {

// Watches the widget's paints until the first one, then lets it go.
class FirstPaint : public QObject {
  public:
    FirstPaint(QWidget& widget, std::function<void()> action)
        : QObject(&widget), action_(std::move(action)) {
        widget.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (action_ && event->type() == QEvent::Paint) {
            QTimer::singleShot(0, std::move(action_));
            action_ = nullptr;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> action_;
};

}  // namespace

void UseOffscreenWithoutDisplay() {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

void WhenPainted(QWidget& widget, std::function<void()> action) {
    new FirstPaint(widget, std::move(action));
}

}  // namespace lumidot::bench
