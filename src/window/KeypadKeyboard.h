#pragma once

#include <QObject>
#include <array>

#include "console/Console.h"

class QKeyEvent;
class QPushButton;
class QWidget;

namespace lumidot {

// Lets the keyboard press the keypad, whichever control of the window has
// the focus: 1 to 9 on the main row or the numeric keypad, the arrows for
// the fire keys 7, 8 and 9, Return or Enter for 5. A key clicks its button,
// so it takes the pointer's path; a hidden or disabled button is not
// pressed, and a key held down presses once. An open drop-down list and a
// message box keep their own keys.
class KeypadKeyboard : public QObject {
    Q_OBJECT

  public:
    KeypadKeyboard(QWidget& window, const std::array<QPushButton*, Console::kKeys>& keypad);

    // The keypad key a key of the keyboard presses, or 0.
    static int KeypadKeyFor(const QKeyEvent& event);
    // What a keypad key's tool tip says of its keys on the keyboard.
    static QString Hint(int key);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Whether a press is a held key's repeat rather than a new press.
    bool Repeats(const QKeyEvent& press) const;

    QWidget& window_;
    const std::array<QPushButton*, Console::kKeys>& keypad_;
    // The last release seen, by the key's code on the keyboard and the
    // display server's time: on X11 a held key repeats as a release and a
    // press of the same time.
    quint32 releasedCode_ = 0;
    quint64 releasedAt_ = 0;
};

}  // namespace lumidot
