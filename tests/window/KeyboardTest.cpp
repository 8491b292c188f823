#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>

#include "cartridges/zentrax/Zentrax.h"
#include "console/Console.h"
#include "console/Slot.h"
#include "support/VirtualPlatform.h"
#include "window/DotMatrix.h"
#include "window/MainWindow.h"

namespace lumidot {
namespace {

class KeyboardTest : public ::testing::Test {
  protected:
    KeyboardTest() {
        slot.Plug(zentrax);
        window.Load();
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    // What a key typed on the focused control leaves in the keypad latch.
    int Latched(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        console.PressKey(0);
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        return console.KeyPressed();
    }

    testing::VirtualPlatform platform;
    Console console{platform};
    Slot slot{console};
    MainWindow window{console, slot};
    Zentrax zentrax{console, window};
};

TEST_F(KeyboardTest, KeysPressTheKeypadWhicheverControlHasTheFocus) {
    auto* combo = window.findChild<QComboBox*>("Combo1");
    auto* check = window.findChild<QCheckBox*>("Check1");
    for (QWidget* focus : {static_cast<QWidget*>(combo), static_cast<QWidget*>(check)}) {
        focus->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), focus);
        for (int k = 1; k <= 9; ++k) {
            EXPECT_EQ(Latched(static_cast<Qt::Key>(Qt::Key_0 + k)), k);
            EXPECT_EQ(Latched(static_cast<Qt::Key>(Qt::Key_0 + k), Qt::KeypadModifier), k);
        }
        EXPECT_EQ(Latched(Qt::Key_Left), 7);
        EXPECT_EQ(Latched(Qt::Key_Up), 8);
        EXPECT_EQ(Latched(Qt::Key_Right), 9);
        EXPECT_EQ(Latched(Qt::Key_Return), 5);
        EXPECT_EQ(Latched(Qt::Key_Enter, Qt::KeypadModifier), 5);
        EXPECT_EQ(Latched(Qt::Key_1, Qt::ControlModifier), 0) << "a shortcut is not a key";
        EXPECT_EQ(QApplication::focusWidget(), focus) << "the arrows do not move the focus";
    }
    EXPECT_FALSE(check->isChecked());

    // A hidden key cannot be pressed, and a key held down presses once.
    window.Keypad(4)->hide();
    EXPECT_EQ(Latched(Qt::Key_4), 0);
    console.PressKey(0);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_8, Qt::NoModifier, QStringLiteral("8"), true);
    QApplication::sendEvent(QApplication::focusWidget(), &repeat);
    EXPECT_EQ(console.KeyPressed(), 0);

    // An open drop-down list keeps its keys.
    combo->setFocus();
    combo->showPopup();
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    console.PressKey(0);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_2);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Up);
    EXPECT_EQ(console.KeyPressed(), 0);
    combo->hidePopup();
}

TEST_F(KeyboardTest, EveryControlIsNamedAndDescribedForScreenReaders) {
    QList<QWidget*> controls = window.findChildren<QWidget*>();
    controls.removeIf([](QWidget* widget) {
        return widget->objectName().isEmpty() || widget->objectName().startsWith("qt_");
    });
    ASSERT_GE(controls.size(), 25);
    for (QWidget* control : controls) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(accessible, nullptr) << control->objectName().toStdString();
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty())
            << control->objectName().toStdString();
    }
    const QAccessibleInterface* display = QAccessible::queryAccessibleInterface(window.Display());
    EXPECT_EQ(display->text(QAccessible::Name), "Dot display");
    const QAccessibleInterface* key = QAccessible::queryAccessibleInterface(window.Keypad(7));
    EXPECT_EQ(key->text(QAccessible::Name), "Key 7");
    EXPECT_EQ(key->text(QAccessible::Description),
              "Keypad key 7; on the keyboard 7 or the Left arrow");
    EXPECT_EQ(window.Keypad(7)->toolTip(), key->text(QAccessible::Description));
}

}  // namespace
}  // namespace lumidot
