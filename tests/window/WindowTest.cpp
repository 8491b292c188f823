// The window on Qt's offscreen platform, its game on the virtual clock.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "Handheld.h"
#include "support/Glyphs.h"
#include "support/VirtualPlatform.h"
#include "window/DotMatrix.h"
#include "window/ObjectNames.h"

namespace lumidot {
namespace {

// The display's greys as docs/manual.md gives them: lit 0, unlit 208,
// the panel 224 (208 hiding unlit dots), and 192 before the first refresh.
QRgb Grey(int level) {
    return qRgb(level, level, level);
}

struct Machine {
    testing::VirtualPlatform platform;
};
class WindowTest : public ::testing::Test, public Machine, public Handheld {
  protected:
    WindowTest() : Handheld(platform) {
        platform.folder = LUMIDOT_PROGRAM_FOLDER;
        platform.At(600, [this] {
            ADD_FAILURE() << "a game outlived its test";
            slot.Remove();
        });
    }
    bool ShowActive() {
        window.show();
        QApplication::setActiveWindow(&window);
        return QTest::qWaitForWindowActive(&window);
    }
    void Click(const char* name) {
        QTest::mouseClick(window.findChild<QPushButton*>(name), Qt::LeftButton);
    }
    // The display as its cells show it: '#' black, '.' unlit, '?' else.
    std::string Cells() const {
        testing::Picture shown('?');
        for (std::size_t n = 0; n < 256; ++n) {
            const QRgb cell = window.Display()->CellColor(static_cast<int>(n));
            shown.lines[n / 16][n % 16] = cell == Grey(0) ? '#' : cell == Grey(208) ? '.' : '?';
        }
        return shown.Text();
    }
};

TEST_F(WindowTest, ARefreshPaintsEachCellFromTheDisplayMemoryInItsGrey) {
    EXPECT_EQ(window.Display()->CellColor(0), Grey(192)) << "before any refresh";
    console.DotOn(1, 1);
    console.DotOn(16, 16);
    window.RefreshDisplay();
    EXPECT_EQ(platform.pumps, 256) << "the window's events run after each cell";
    EXPECT_EQ(Cells(), testing::Picture().Dots(1, {1}).Dots(16, {16}).Text());
    // "hide inactive dots" gives the panel the unlit dots' grey.
    for (const int grey : {208, 224}) {
        QTest::mouseClick(window.findChild<QCheckBox*>(objectnames::kHideInactiveDots),
                          Qt::LeftButton, {}, QPoint(6, 8));
        EXPECT_EQ(window.findChild<QWidget*>(objectnames::kDisplayPanel)
                      ->palette()
                      .color(QPalette::Window),
                  QColor(Grey(grey)));
    }
    // Once a cartridge is in, a tick comes only while there is something to
    // paint; its single-shot timer fires here at the next pump.
    auto* weak = window.findChild<QCheckBox*>(objectnames::kWeakBattery);
    QTimer* timer = window.RefreshTimer();
    weak->setChecked(true);
    weak->setChecked(false);
    EXPECT_FALSE(timer->isActive()) << "a tick before the first insertion";
    std::vector<std::string> shown;   // the cells after each tick
    std::vector<int> greys;           // each tick's grey of the lit dots, -2 for several
    long began = -1000;               // the pump the last tick began at
    std::function<void()> atCell200;  // between cells 200 and 201 of the tick then
    platform.onPump = [&] {
        if (atCell200 && platform.pumps == began + 200) std::exchange(atCell200, nullptr)();
        if (!timer->isActive()) return;
        timer->stop();
        began = platform.pumps;
        window.RefreshDisplay();
        shown.push_back(Cells());
        greys.push_back(-1);
        for (int n = 0, g = 0; n < 256; ++n)
            if ((g = qRed(window.Display()->CellColor(n))) != 208)
                greys.back() = greys.back() == -1 || greys.back() == g ? g : -2;
    };
    const double t = platform.Seconds();
    platform.At(t + 1, [&] {
        EXPECT_EQ(shown, std::vector{testing::MenuPicture("4S1")}) << "then a second of nothing";
        window.Keypad(1)->click();  // the size, 4 to 3
        shown.clear();
    });
    platform.At(t + 2, [&] {
        EXPECT_EQ(shown, std::vector{testing::MenuPicture("3S1")}) << "one tick for the key";
        platform.draws = {0.5f, 0.99999f};  // then 0
        weak->setChecked(true);
        greys.clear();
    });
    platform.At(t + 2.9, [&] {
        ASSERT_GE(greys.size(), 3u) << "a weak battery keeps the ticks coming";
        EXPECT_EQ(std::vector(greys.begin(), greys.begin() + 3), (std::vector{64, 95, 32}));
        weak->setChecked(false);
    });
    platform.At(t + 3.9, [&] {
        EXPECT_EQ(shown.back(), testing::MenuPicture("3S1")) << "black again, and no more";
        EXPECT_FALSE(timer->isActive());
        // Taken out between two cells of a tick: the cells to come show it,
        // and a tick that comes due there does not run inside this one.
        atCell200 = [this] { Click(objectnames::kRemoveButton), window.RefreshDisplay(); };
        window.Keypad(1)->click();
    });
    Click(objectnames::kInsertButton);
    const std::string blank = testing::Picture().Text();
    EXPECT_EQ(shown.back(), testing::MenuPicture("2S1").substr(0, 212) + blank.substr(212));
    platform.PumpEvents();  // the event loop's next turn
    EXPECT_EQ(shown.back(), blank) << "blank at the next tick";
    EXPECT_FALSE(timer->isActive());
}

TEST_F(WindowTest, TheKeyboardPressesTheKeypadWhicheverControlHasTheFocus) {
    ASSERT_TRUE(ShowActive());
    const auto latched = [this](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        console.ClearKey();
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
        return console.KeyPressed();
    };
    window.findChild<QWidget*>(objectnames::kHideInactiveDots)->setFocus();
    for (int k = 1; k <= 9; ++k)
        EXPECT_EQ(latched(Qt::Key_0 + k, Qt::KeypadModifier), k);
    // clang-format off
    const std::pair<int, int> others[] = {{Qt::Key_1, 1}, {Qt::Key_9, 9}, {Qt::Key_Left, 7},
        {Qt::Key_Up, 8}, {Qt::Key_Right, 9}, {Qt::Key_Return, 5}, {Qt::Key_Enter, 5}, {Qt::Key_A, 0}};
    // clang-format on
    for (const auto& [key, index] : others)
        EXPECT_EQ(latched(key), index) << key;
    EXPECT_EQ(latched(Qt::Key_1, Qt::ControlModifier), 0) << "a shortcut is not a key";
    EXPECT_EQ(QApplication::focusWidget()->objectName(), objectnames::kHideInactiveDots)
        << "the focus stays";
    // A hidden key cannot be pressed, and a key held down presses once.
    window.Keypad(4)->hide();
    EXPECT_EQ(latched(Qt::Key_4), 0);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_8, Qt::NoModifier, QStringLiteral("8"), true);
    QApplication::sendEvent(QApplication::focusWidget(), &repeat);
    EXPECT_EQ(console.KeyPressed(), 0);
}

// "insert cartridge" clicked between two cells of a refresh must not run
// the game inside the tick, or no tick would run until the game ends. A
// closed window ends the game at its next look.
TEST_F(WindowTest, AnInsertionInsideARefreshTickShowsTheGameAndAClosedWindowEndsIt) {
    platform.At(0.010, [this] { Click(objectnames::kInsertButton); });
    window.RefreshDisplay();
    EXPECT_FALSE(slot.Running()) << "the game started inside the tick";
    platform.At(0.5, [this] {
        window.RefreshDisplay();
        EXPECT_EQ(Cells(), testing::MenuPicture("4S1"));
        window.close();
    });
    platform.RunDeferred();  // the event loop's next turn
    EXPECT_NEAR(platform.Seconds(), 0.5 + 0.256, 0.01) << "ended by the close after 256 pumps";
}

// At every size the dots are crisp squares of one width (the cells' grey and
// the panel's, never a blend) and every caption fits its control.
TEST_F(WindowTest, TheWindowStepsThroughItsSizesWithCrispDotsAndFittingCaptions) {
    window.SetStartScale(2);
    ASSERT_TRUE(ShowActive());
    // clang-format off
    const std::pair<QKeySequence, double> steps[] = {{Qt::CTRL | Qt::Key_Minus, 1.5},
        {Qt::CTRL | Qt::Key_Minus, 1}, {Qt::CTRL | Qt::Key_Minus, 1}, {Qt::CTRL | Qt::Key_Equal, 1.5},
        {Qt::CTRL | Qt::Key_Plus, 2}, {Qt::CTRL | Qt::Key_Plus, 3}, {Qt::CTRL | Qt::Key_0, 2}};
    // clang-format on
    for (const auto& [keys, scale] : steps) {
        QTest::keySequence(&window, keys);
        SCOPED_TRACE(scale);
        ASSERT_EQ(window.size(), QSize(332, 308) * scale);
        const QImage shot = window.grab().toImage();
        const auto at = [scale](double logical) { return static_cast<int>(logical * scale); };
        // The runs of the dots' grey across the first row of cells and down
        // the first column: as tall as wide, 6.4 pixels at scale 1.
        for (const bool down : {false, true}) {
            std::vector<int> runs;
            for (int i = at(24), run = 0; i < at(152); ++i) {
                const int grey = qRed(down ? shot.pixel(at(27), i) : shot.pixel(i, at(27)));
                ASSERT_TRUE(grey == 192 || grey == 224) << i << (down ? " down" : " across");
                if (grey == 224 && run > 0) runs.push_back(run);
                run = grey == 192 ? run + 1 : 0;
            }
            ASSERT_EQ(runs.size(), 16u) << (down ? "down" : "across");
            EXPECT_GE(*std::min_element(runs.begin(), runs.end()), at(6.4)) << down;
            EXPECT_LE(*std::max_element(runs.begin(), runs.end()), at(6.4) + 1) << down;
        }
        for (QWidget* control : window.findChildren<QWidget*>()) {
            const int box = qobject_cast<QCheckBox*>(control) != nullptr ? at(20) : 0;
            EXPECT_LE(
                control->fontMetrics().horizontalAdvance(control->property("text").toString()),
                control->width() - box);
        }
    }
}

// What a column presses comes from the inserted cartridge: Zentrax's thirds.
TEST_F(WindowTest, WithTheEnhancedControlsAClickOnTheDisplayPressesTheInsertedCartridgesKey) {
    window.SetStartScale(1.5);
    // x in pixels at scale 1: cell n (1 to 16) spans 24 + 8 (n - 1) to 6.4
    // further, and a gap belongs to the cell on its left.
    const auto fired = [this](double x) {
        console.ClearKey();
        QTest::mouseClick(&window, Qt::LeftButton, {}, (QPointF(x, 60) * window.Scale()).toPoint());
        return console.KeyPressed();
    };
    auto* enhanced = window.findChild<QCheckBox*>(objectnames::kEnhancedControls);
    enhanced->setChecked(true);
    EXPECT_EQ(fired(30), 0) << "no cartridge in";
    enhanced->setChecked(false);
    platform.At(0.1, [&] {
        EXPECT_EQ(fired(30), 0) << "off at start";
        enhanced->setChecked(true);
        const std::pair<double, int> points[] = {{24.4, 7},  {63.6, 7},  {64.4, 8}, {111.6, 8},
                                                 {112.4, 9}, {151.6, 9}, {23.6, 0}, {152.4, 0}};
        for (const auto& [x, key] : points) {
            EXPECT_EQ(fired(x), key) << "at " << x;
        }
        Click(objectnames::kRemoveButton);
    });
    Click(objectnames::kInsertButton);
}

}  // namespace
}  // namespace lumidot
