// The window on Qt's offscreen platform, its game on the virtual clock.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>

#include "cartridges/zentrax/Zentrax.h"
#include "console/Console.h"
#include "console/Slot.h"
#include "support/Glyphs.h"
#include "support/VirtualPlatform.h"
#include "window/DotMatrix.h"
#include "window/Greys.h"
#include "window/MainWindow.h"
#include "window/PictureBox.h"
#include "window/QtPlatform.h"
#include "window/SignalWatcher.h"

namespace lumidot {
namespace {

QRgb Grey(int level) {
    return qRgb(level, level, level);
}

class WindowTest : public ::testing::Test {
  protected:
    WindowTest() {
        platform.folder = LUMIDOT_PROGRAM_FOLDER;
        slot.Plug(zentrax);
        window.Load();
        // A game that outlives its script fails instead of hanging.
        platform.At(600, [this] {
            ADD_FAILURE() << "the game still ran at the end of the script";
            window.close();
        });
    }

    template <typename T = QPushButton>
    T* Control(const char* name) {
        return window.findChild<T*>(QString::fromLatin1(name));
    }
    void Click(const char* name) { QTest::mouseClick(Control(name), Qt::LeftButton); }

    // The display as its cells show it: '#' black, '.' unlit, '?' else.
    std::string Cells() const {
        std::string shown;
        for (int n = 0; n < 256; ++n) {
            const QRgb cell = window.Display()->CellColor(n);
            shown += cell == Grey(greys::kLit) ? '#' : cell == Grey(greys::kUnlit) ? '.' : '?';
            shown += n % 16 == 15 ? "\n" : "";
        }
        return shown;
    }

    testing::VirtualPlatform platform;
    Console console{platform};
    Slot slot{console};
    MainWindow window{console, slot};
    Zentrax zentrax{console, window};
};

TEST_F(WindowTest, ARefreshPaintsEachCellFromTheDisplayMemoryInItsGrey) {
    EXPECT_EQ(window.Display()->CellColor(0), Grey(greys::kInitial)) << "before any refresh";
    console.DotOn(1, 1);
    console.DotOn(16, 16);
    window.RefreshDisplay();
    EXPECT_EQ(platform.pumps, 256) << "the window's events run after each cell";
    EXPECT_EQ(Cells(), testing::Picture().Dots(1, {1}).Dots(16, {16}).Text());

    // A weak battery gives all lit dots of a tick one dark grey, drawn anew
    // each tick.
    Control<QCheckBox>("Check2")->setChecked(true);
    platform.draws = {0.5f, 0.99999f, 0.0f};
    for (const int level : {64, 95, 32}) {
        window.RefreshDisplay();
        EXPECT_EQ(window.Display()->CellColor(0), Grey(level));
        EXPECT_EQ(window.Display()->CellColor(255), Grey(level));
        EXPECT_EQ(window.Display()->CellColor(1), Grey(greys::kUnlit));
    }
    Control<QCheckBox>("Check2")->setChecked(false);
    window.RefreshDisplay();
    EXPECT_EQ(platform.drawsTaken, 3u) << "a good battery draws nothing";

    // A dot changed between two cells of a tick shows in the cells still to
    // come; a tick that comes due there does not run inside this one.
    platform.At(platform.Seconds() + 0.100, [this] {
        console.DotOn(2, 4);   // cell 50, passed
        console.DotOn(8, 13);  // cell 200, to come
        window.RefreshDisplay();
    });
    window.RefreshDisplay();
    EXPECT_EQ(Cells(), testing::Picture().Dots(1, {1}).Dots(13, {8}).Dots(16, {16}).Text());

    // "hide inactive dots" gives the panel the unlit dots' grey.
    auto* panel = window.findChild<QWidget*>("Frame1");
    QTest::mouseClick(Control<QCheckBox>("Check1"), Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(Grey(greys::kUnlit)));
    QTest::mouseClick(Control<QCheckBox>("Check1"), Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(Grey(greys::kPanel)));
}

TEST_F(WindowTest, TheKeyboardPressesTheKeypadWhicheverControlHasTheFocus) {
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const auto latched = [this](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        console.ClearKey();
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
        return console.KeyPressed();
    };
    for (const char* focus : {"Combo1", "Check1"}) {
        window.findChild<QWidget*>(focus)->setFocus();
        for (int k = 1; k <= 9; ++k) {
            EXPECT_EQ(latched(Qt::Key_0 + k), k) << focus;
            EXPECT_EQ(latched(Qt::Key_0 + k, Qt::KeypadModifier), k) << focus;
        }
        const std::pair<int, int> others[] = {
            {Qt::Key_Left, 7},  {Qt::Key_Up, 8}, {Qt::Key_Right, 9}, {Qt::Key_Return, 5},
            {Qt::Key_Enter, 5}, {Qt::Key_0, 0},  {Qt::Key_A, 0}};
        for (const auto& [key, index] : others) {
            EXPECT_EQ(latched(key), index) << focus << " " << key;
        }
        EXPECT_EQ(latched(Qt::Key_1, Qt::ControlModifier), 0) << "a shortcut is not a key";
        EXPECT_EQ(QApplication::focusWidget()->objectName(), focus) << "the focus stays";
    }
    // A hidden key cannot be pressed, a key held down presses once, and an
    // open drop-down list keeps its keys.
    window.Keypad(4)->hide();
    EXPECT_EQ(latched(Qt::Key_4), 0);
    console.ClearKey();
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_8, Qt::NoModifier, QStringLiteral("8"), true);
    QApplication::sendEvent(QApplication::focusWidget(), &repeat);
    EXPECT_EQ(console.KeyPressed(), 0);
    Control<QComboBox>("Combo1")->showPopup();
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_2);
    EXPECT_EQ(console.KeyPressed(), 0);
}

// The refresh handles events between its cells: "insert cartridge" clicked
// there must not run the game inside the tick, or no tick would run until
// the game ends and the display would stay as it was.
TEST_F(WindowTest, AnInsertionHandledInsideARefreshTickShowsTheGameOnTheCells) {
    platform.At(0.010, [this] { Click("Command1"); });
    window.RefreshDisplay();
    EXPECT_FALSE(slot.Running()) << "the game started inside the tick";
    double removed = 0;
    platform.At(0.5, [&] {
        window.RefreshDisplay();
        EXPECT_EQ(testing::ReadMenu(Cells()), "4S1");
        Click("Command2");
        removed = platform.Seconds();
    });
    platform.RunDeferred();  // the event loop's next turn
    EXPECT_NEAR(platform.Seconds(), removed, 0.002) << "the game ran and ended with the removal";
    window.RefreshDisplay();
    EXPECT_EQ(Cells(), testing::Picture().Text());
}

// The start-up stops at the picture that fails: what it dressed before
// stays, the report comes up, and the window closes once it is answered.
TEST_F(WindowTest, APictureThatCannotBeLoadedIsReportedAndTheWindowCloses) {
    struct Case {
        const char* file;
        int key;  // the key the picture is for; 0: the overlay
        bool missing;
        int number;
    };
    const Case cases[] = {{"overlays/Zentrax.gif", 0, true, 53},
                          {"buttons/zx_kp_08.gif", 8, false, 481}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        QTemporaryDir copy;
        for (const char* folder : {"overlays", "buttons", "samples"}) {
            QDir(copy.path()).mkpath(folder);
            const QDir from(QDir(LUMIDOT_PROGRAM_FOLDER).filePath(folder));
            for (const QString& name : from.entryList(QDir::Files)) {
                QFile::copy(from.filePath(name), QDir(copy.filePath(folder)).filePath(name));
            }
        }
        QFile::remove(copy.filePath(c.file));
        if (!c.missing) {
            QFile broken(copy.filePath(c.file));
            ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
            broken.write("GIF89a, or so it says");
        }
        testing::VirtualPlatform machine;
        machine.folder = copy.path().toStdString();
        Console box{machine};
        Slot boxSlot{box};
        MainWindow boxWindow{box, boxSlot};
        Zentrax game{box, boxWindow};
        boxSlot.Plug(game);
        boxWindow.show();
        box.DotOn(5, 9);
        QString report;
        QTimer::singleShot(0, [&report] {
            auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(shown, nullptr);
            EXPECT_EQ(shown->icon(), QMessageBox::Critical);
            report = shown->windowTitle() + " " + shown->text();
            shown->button(QMessageBox::Ok)->click();
        });
        QTest::mouseClick(boxWindow.findChild<QPushButton*>("Command1"), Qt::LeftButton);
        EXPECT_EQ(report, "Whoops... Error in Zentrax_Init(), cannot continue. Error number: " +
                              QString::number(c.number));
        EXPECT_FALSE(boxWindow.isVisible());
        EXPECT_EQ(box.Dots(8 * 16 + 5), kTrue) << "the display was not cleared yet";
        EXPECT_EQ(boxWindow.Overlay()->Picture().isNull(), c.key == 0);
        for (int k = 1; k <= 12; ++k) {
            const bool dressed = c.key != 0 && k <= c.key;
            EXPECT_EQ(boxWindow.Keypad(k)->isHidden(), dressed && (k == 4 || k == 6)) << k;
            EXPECT_EQ(boxWindow.Keypad(k)->text().isEmpty(), !dressed || k >= 7 || k == 4 || k == 6) << k;
            EXPECT_EQ(boxWindow.Keypad(k)->icon().isNull(), !(dressed && k == 7)) << k;
        }
    }
}

// Whatever its size, the window keeps its proportions: the dots are crisp
// squares of one width (only the cells' grey and the panel's, never a
// blend) and every caption fits its control.
TEST_F(WindowTest, TheWindowStepsThroughItsSizesWithCrispDotsAndFittingCaptions) {
    window.SetStartScale(2);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const std::pair<QKeySequence, double> steps[] = {{QKeySequence(Qt::CTRL | Qt::Key_Minus), 1.5},
                                                     {QKeySequence(Qt::CTRL | Qt::Key_Minus), 1},
                                                     {QKeySequence(Qt::CTRL | Qt::Key_Minus), 1},
                                                     {QKeySequence(Qt::CTRL | Qt::Key_Equal), 1.5},
                                                     {QKeySequence(Qt::CTRL | Qt::Key_Plus), 2},
                                                     {QKeySequence(Qt::CTRL | Qt::Key_Plus), 3},
                                                     {QKeySequence(Qt::CTRL | Qt::Key_0), 2}};
    for (const auto& [keys, scale] : steps) {
        QTest::keySequence(&window, keys);
        SCOPED_TRACE(scale);
        ASSERT_EQ(window.size(), QSize(332, 308) * scale);
        EXPECT_EQ(window.minimumSize(), window.maximumSize());
        const QImage shot = window.grab().toImage();
        const auto at = [scale](double logical) { return static_cast<int>(logical * scale); };
        std::vector<int> runs;
        for (int x = at(24); x < at(152); ++x) {
            const QRgb pixel = shot.pixel(x, at(27)) & 0xffffff;
            ASSERT_TRUE(pixel == (Grey(greys::kInitial) & 0xffffff) ||
                        pixel == (Grey(greys::kPanel) & 0xffffff))
                << x;
            const bool cell = pixel == (Grey(greys::kInitial) & 0xffffff);
            if (cell && (runs.empty() || (shot.pixel(x - 1, at(27)) & 0xffffff) != pixel)) {
                runs.push_back(0);
            }
            runs.back() += cell ? 1 : 0;
        }
        ASSERT_EQ(runs.size(), 16u);
        EXPECT_GE(*std::min_element(runs.begin(), runs.end()), at(6.4));
        EXPECT_LE(*std::max_element(runs.begin(), runs.end()), at(6.4) + 1);
        for (QWidget* control : window.findChildren<QWidget*>()) {
            const QString text = control->property("text").toString();
            const int box = qobject_cast<QCheckBox*>(control) != nullptr ? at(20) : 0;
            const int room = control->width() - box;
            EXPECT_LE(control->fontMetrics().horizontalAdvance(text), room) << text.toStdString();
        }
    }
}

TEST_F(WindowTest, WithTheEnhancedControlsAClickOnTheDisplayFiresFromTheThirdUnderIt) {
    window.SetStartScale(1.5);
    auto* enhanced = Control<QCheckBox>("Check3");
    // x in pixels at scale 1: cell n (1 to 16) spans 24 + 8 (n - 1) to 6.4
    // further, and a gap belongs to the cell on its left.
    const auto fired = [this](double x) {
        console.ClearKey();
        QTest::mouseClick(&window, Qt::LeftButton, {}, (QPointF(x, 60) * window.Scale()).toPoint());
        return console.KeyPressed();
    };
    EXPECT_TRUE(enhanced->isEnabled());
    EXPECT_FALSE(enhanced->isChecked());
    EXPECT_EQ(fired(30), 0) << "off at start";
    enhanced->setChecked(true);
    const std::pair<double, int> points[] = {{24.4, 7},  {59, 7},    {63.6, 7},  {64.4, 8},
                                             {107, 8},   {111.6, 8}, {112.4, 9}, {150.3, 9},
                                             {151.6, 9}, {23.6, 0},  {152.4, 0}};
    for (const auto& [x, key] : points) {
        EXPECT_EQ(fired(x), key) << "at " << x;
    }
    Control<QComboBox>("Combo1")->addItem(QStringLiteral("Another"));
    Control<QComboBox>("Combo1")->setCurrentIndex(1);
    EXPECT_EQ(fired(30), 0) << "only for Zentrax";
}

// The system's signal closes the window as its close button does; a sound
// that is playing ends first.
TEST_F(WindowTest, ASignalDuringASoundClosesTheWindowOnceItHasPlayed) {
    const SignalWatcher watcher(window);
    window.show();
    platform.onPump = [] { QApplication::processEvents(); };
    platform.onSound = [](const std::string&) { std::raise(SIGTERM); };
    platform.At(0.1, [this] {
        window.RefreshTimer()->stop();  // its ticks would move the virtual clock
        window.Keypad(5)->click();
    });
    Click("Command1");
    // Ten targets went by; the tune played and the window closed after it.
    ASSERT_EQ(platform.played.size(), 1u);
    EXPECT_NEAR(platform.Seconds(), platform.played[0].at + platform.soundSeconds, 0.01);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(slot.Running());
}

// Waits sleep in the event dispatcher until an event or their deadline,
// and never once something was handled since the last wait.
TEST(QtPlatformTest, AWaitSleepsUntilAnEventAndNeverAfterOneWasHandled) {
    QtPlatform platform;
    constexpr double kLongWait = 60.0;  // a wait that sleeps through an event fails
    bool clicked = false;
    QTimer::singleShot(20, [&] { clicked = true; });
    const double start = platform.Seconds();
    int turns = 0;
    while (!clicked && platform.Seconds() < start + kLongWait) {
        platform.AwaitEvents(start + kLongWait);
        ++turns;
    }
    EXPECT_TRUE(clicked);
    EXPECT_LE(turns, 10) << "a loop waiting for a click spun";
    clicked = false;
    QTimer::singleShot(0, [&] { clicked = true; });
    while (!clicked) {
        platform.PumpEvents();
    }
    const double handled = platform.Seconds();
    platform.AwaitEvents(handled + kLongWait);
    EXPECT_LT(platform.Seconds(), handled + kLongWait / 2);
}

}  // namespace
}  // namespace lumidot
