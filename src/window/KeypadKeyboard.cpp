#include "window/KeypadKeyboard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace lumidot {

KeypadKeyboard::KeypadKeyboard(QWidget& window,
                               const std::array<QPushButton*, Console::kKeys>& keypad)
    : QObject(&window), window_(window), keypad_(keypad) {
    QCoreApplication::instance()->installEventFilter(this);
}

int KeypadKeyboard::KeypadKeyFor(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return 0;
    }
    const int key = event.key();
    if (key >= Qt::Key_1 && key <= Qt::Key_9) {
        return key - Qt::Key_0;
    }
    switch (key) {
        case Qt::Key_Left:
            return 7;
        case Qt::Key_Up:
            return 8;
        case Qt::Key_Right:
            return 9;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 5;
        default:
            return 0;
    }
}

QString KeypadKeyboard::Hint(int key) {
    QString hint = QStringLiteral("Keypad key %1").arg(key);
    if (key <= 9) {
        hint += QStringLiteral("; on the keyboard %1").arg(key);
    }
    if (key == 5) {
        hint += QStringLiteral(" or Return");
    } else if (key >= 7 && key <= 9) {
        const char* arrows[] = {"Left", "Up", "Right"};
        hint += QStringLiteral(" or the %1 arrow").arg(QLatin1String(arrows[key - 7]));
    }
    return hint;
}

bool KeypadKeyboard::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) {
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != &window_ ||
        QApplication::activePopupWidget() != nullptr) {
        return false;
    }
    const auto& keyEvent = static_cast<const QKeyEvent&>(*event);
    const int index = KeypadKeyFor(keyEvent);
    if (index == 0) {
        return false;
    }
    if (type == QEvent::KeyRelease) {
        releasedCode_ = keyEvent.nativeScanCode();
        releasedAt_ = keyEvent.timestamp();
    } else if (!Repeats(keyEvent)) {
        QPushButton* key = keypad_.at(static_cast<std::size_t>(index - 1));
        if (!key->isHidden() && key->isEnabled()) {
            key->click();
        }
    }
    return true;
}

bool KeypadKeyboard::Repeats(const QKeyEvent& press) const {
    if (press.isAutoRepeat()) {
        return true;
    }
    // Qt flags an X11 repeat only when its press is already queued behind
    // its release; when it comes a moment later, only the equal times tell.
    // Events made up by a program carry neither a code nor a time.
    return press.nativeScanCode() != 0 && press.timestamp() != 0 &&
           press.nativeScanCode() == releasedCode_ && press.timestamp() == releasedAt_;
}

}  // namespace lumidot
