#include "window/MainWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include "cartridges/zentrax/Zentrax.h"
#include "console/Console.h"
#include "console/Slot.h"
#include "support/VirtualPlatform.h"
#include "window/DotMatrix.h"
#include "window/PictureBox.h"

namespace lumidot {
namespace {

using testing::VirtualPlatform;

class WindowTest : public ::testing::Test {
  protected:
    WindowTest() {
        slot.Plug(zentrax);
        window.Load();
    }

    template <typename T>
    T* Control(const char* name) {
        T* control = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    VirtualPlatform platform;
    Console console{platform};
    Slot slot{console};
    MainWindow window{console, slot};
    Zentrax zentrax{console, window};
};

TEST_F(WindowTest, IsAFixedWindowWithItsIconAndTwelveKeys) {
    EXPECT_EQ(window.windowTitle(), "Lumidot v0.21");
    EXPECT_EQ(window.size(), QSize(332, 308));
    EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "the window must not resize";
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(window.windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}}));

    // Keypad(1) to Keypad(12) carry their index; where each stands is
    // seen end to end, where the pointer finds them.
    ASSERT_EQ(window.findChildren<QPushButton*>("Keypad").size(), 12);
    for (int k = 1; k <= 12; ++k) {
        EXPECT_EQ(window.Keypad(k)->property("Index").toInt(), k);
    }
}

TEST_F(WindowTest, StartsWithTheSlotEmptyAndTheCartridgeListFilled) {
    auto* combo = Control<QComboBox>("Combo1");
    EXPECT_EQ(combo->count(), 1);
    EXPECT_EQ(combo->currentText(), "Zentrax");
    EXPECT_FALSE(combo->isEditable());
    EXPECT_FALSE(console.CartridgeOn());
    EXPECT_EQ(platform.Seedings(), 1);

    // Only the display, "remove cartridge" and the enhanced controls are
    // greyed; the refresh waits for a cartridge.
    for (QWidget* control : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        EXPECT_EQ(control->isEnabled(), control->objectName() != "Frame1")
            << control->objectName().toStdString();
    }
    EXPECT_FALSE(Control<QPushButton>("Command2")->isEnabled());
    EXPECT_TRUE(Control<QCheckBox>("Check3")->isEnabled());
    EXPECT_FALSE(Control<QCheckBox>("Check3")->isChecked());
    EXPECT_FALSE(window.RefreshTimer()->isActive());
    EXPECT_EQ(window.RefreshTimer()->interval(), 25);
}

TEST_F(WindowTest, EveryCaptionFitsItsRectangle) {
    const QStyle* style = window.style();
    for (QLabel* label : window.findChildren<QLabel*>()) {
        const QFontMetrics fm(label->font());
        EXPECT_LE(fm.horizontalAdvance(label->text()), label->width())
            << label->objectName().toStdString();
        EXPECT_LE(fm.height(), label->height() + 2) << label->objectName().toStdString();
    }
    for (QCheckBox* box : window.findChildren<QCheckBox*>()) {
        const QFontMetrics fm(box->font());
        const int room = box->width() -
                         style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box) -
                         style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box);
        EXPECT_LE(fm.horizontalAdvance(box->text()), room) << box->text().toStdString();
        EXPECT_LE(fm.height(), box->height()) << box->text().toStdString();
    }
    for (const char* name : {"Command1", "Command2"}) {
        auto* button = Control<QPushButton>(name);
        const QFontMetrics fm(button->font());
        const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        EXPECT_LE(fm.horizontalAdvance(button->text()) + 2 * margin, button->width()) << name;
    }
}

TEST_F(WindowTest, TabVisitsTheEnabledControlsInTheConsolesOrder) {
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ASSERT_EQ(QApplication::focusWidget(), Control<QWidget>("Combo1"));

    // "remove cartridge" and "enhanced game controls" are disabled and
    // skipped; the panels, labels and the display take no focus.
    QStringList expected{"Command1", "Check1", "Check2", "Check3"};
    for (int k = 1; k <= 12; ++k) {
        expected << QStringLiteral("Keypad(%1)").arg(k);
    }
    expected << "Combo1";
    for (const QString& next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        const QString name =
            focus->objectName() == "Keypad"
                ? QStringLiteral("Keypad(%1)").arg(focus->property("Index").toInt())
                : focus->objectName();
        EXPECT_EQ(name, next);
    }
}

class RefreshTest : public WindowTest {
  protected:
    QRgb Cell(int n) const { return window.Display()->CellColor(n); }
    static QRgb Grey(int level) { return qRgb(level, level, level); }
};

TEST_F(RefreshTest, PaintsLitDotsBlackAndEveryOtherValueUnlit) {
    console.DotOn(1, 1);
    console.DotOn(16, 16);
    console.DotOn(5, 3);
    window.RefreshDisplay();
    for (int n = 0; n < 256; ++n) {
        const bool lit = n == 0 || n == 255 || n == 2 * 16 + 4;
        ASSERT_EQ(Cell(n), Grey(lit ? 0 : 208)) << "cell " << n;
    }
    // The window's events ran once after each cell.
    EXPECT_EQ(platform.Pumps(), 256);

    // A refresh keeps nothing of its own: a cleared display paints unlit.
    console.ClearDots();
    window.RefreshDisplay();
    for (int n = 0; n < 256; ++n) {
        ASSERT_EQ(Cell(n), Grey(208)) << "cell " << n;
    }
}

TEST_F(RefreshTest, AWeakBatteryGivesAllLitDotsOneRandomDarkGreyPerTick) {
    Control<QCheckBox>("Check2")->setChecked(true);
    console.DotOn(2, 1);
    console.DotOn(9, 9);
    platform.ScriptRandom({0.5f, 0.99999f, 0.0f});
    const int cells[] = {1, 8 * 16 + 8};
    for (const int level : {64, 95, 32}) {
        window.RefreshDisplay();
        for (const int n : cells) {
            EXPECT_EQ(Cell(n), Grey(level)) << "cell " << n;
        }
        EXPECT_EQ(Cell(0), Grey(208));
    }
    // Back to black once the battery is fine again; no draw is taken.
    Control<QCheckBox>("Check2")->setChecked(false);
    platform.ScriptRandom({0.5f});
    window.RefreshDisplay();
    EXPECT_EQ(Cell(1), Grey(0));
    EXPECT_EQ(platform.Random(), 0.5f);
}

TEST_F(RefreshTest, AChangeMadeDuringATickShowsInTheCellsStillToCome) {
    // Between cells 100 and 101 a handler lights two dots: one the tick
    // has passed, one it has yet to reach. Another tick comes due there
    // too; it does not run inside this one.
    platform.AtPump(100, [&] {
        console.DotOn(2, 4);   // cell 50
        console.DotOn(8, 13);  // cell 200
        window.RefreshDisplay();
    });
    window.RefreshDisplay();
    EXPECT_EQ(platform.Pumps(), 256);
    EXPECT_EQ(Cell(49), Grey(208));
    EXPECT_EQ(Cell(199), Grey(0));
    window.RefreshDisplay();
    EXPECT_EQ(Cell(49), Grey(0));
}

TEST_F(RefreshTest, RepaintsOnlyWhatChanged) {
    platform.OnEveryPump([] { QApplication::processEvents(); });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    console.DotOn(1, 1);
    window.RefreshDisplay();
    QApplication::processEvents();
    const auto shown = [&] { return window.grab().toImage().pixel(27, 27) & 0xffffff; };
    EXPECT_EQ(shown(), 0u);

    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    window.Display()->installEventFilter(&counter);
    window.RefreshDisplay();
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 0) << "a tick that changes nothing repainted the display";

    console.DotOff(1, 1);
    window.RefreshDisplay();
    QApplication::processEvents();
    EXPECT_GE(counter.paints, 1);
    EXPECT_EQ(shown(), Grey(208) & 0xffffff);
    window.Display()->removeEventFilter(&counter);
}

TEST_F(WindowTest, TheOverlayIsStretchedBeneathTheCellsAndNotGreyed) {
    QPixmap red(2, 2);
    red.fill(QColor(200, 0, 0));
    window.Overlay()->SetPicture(red);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QImage image = window.grab().toImage();
    // Two pixels stretched over the whole holder, in full colour although
    // the display panel is disabled; the cells stay on top.
    EXPECT_EQ(image.pixel(3, 3) & 0xffffff, 0xc80000u);
    EXPECT_EQ(image.pixel(12, 100) & 0xffffff, 0xc80000u);
    EXPECT_EQ(image.pixel(170, 170) & 0xffffff, 0xc80000u);
    EXPECT_EQ(image.pixel(31, 27) & 0xffffff, 0xc80000u) << "the gap between two cells";
    EXPECT_EQ(image.pixel(27, 27) & 0xffffff, 0xc0c0c0u) << "the first cell";
}

}  // namespace
}  // namespace lumidot
