// The window on Qt's offscreen platform, its game on the virtual clock.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <random>

#include "Handheld.h"
#include "console/RuntimeError.h"
#include "support/Glyphs.h"
#include "support/VirtualPlatform.h"
#include "window/DotMatrix.h"
#include "window/LoadPicture.h"
#include "window/PictureBox.h"
#include "window/QtPlatform.h"
#include "window/SignalWatcher.h"

namespace lumidot {
namespace {

// The display's greys as the console's manual gives them, not the program's
// own table: lit 0, unlit 208, the panel 224 (208 hiding unlit dots), and
// 192 before the first refresh.
QRgb Grey(int level) {
    return qRgb(level, level, level);
}

// The handheld as the program wires it, on the virtual clock.
struct Machine {
    testing::VirtualPlatform platform;
};
struct Rig : Machine, Handheld {
    Rig() : Handheld(platform) {
        platform.folder = LUMIDOT_PROGRAM_FOLDER;
        platform.At(600, [this] { window.close(); });  // a game left running ends
        // A report nobody expected is answered, so that a fault fails a test
        // rather than hanging it.
        QObject::connect(&unexpected, &QTimer::timeout, [] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "a report came up";
                box->close();
            }
        });
        unexpected.start(200);
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

    QTimer unexpected;
};

class WindowTest : public ::testing::Test, public Rig {};

TEST_F(WindowTest, ARefreshPaintsEachCellFromTheDisplayMemoryInItsGrey) {
    EXPECT_EQ(window.Display()->CellColor(0), Grey(192)) << "before any refresh";
    console.DotOn(1, 1);
    console.DotOn(16, 16);
    window.RefreshDisplay();
    EXPECT_EQ(platform.pumps, 256) << "the window's events run after each cell";
    EXPECT_EQ(Cells(), testing::Picture().Dots(1, {1}).Dots(16, {16}).Text());
    // A weak battery gives all lit dots of a tick one dark grey, drawn anew
    // each tick; a good one draws nothing.
    window.findChild<QCheckBox*>("Check2")->setChecked(true);
    platform.draws = {0.5f, 0.99999f, 0.0f};
    for (const int level : {64, 95, 32}) {
        window.RefreshDisplay();
        EXPECT_EQ(window.Display()->CellColor(0), Grey(level));
        EXPECT_EQ(window.Display()->CellColor(255), Grey(level));
        EXPECT_EQ(window.Display()->CellColor(1), Grey(208));
    }
    window.findChild<QCheckBox*>("Check2")->setChecked(false);
    // A dot changed between two cells of a tick shows in the cells still to
    // come; a tick that comes due there does not run inside this one.
    platform.At(platform.Seconds() + 0.100, [this] {
        console.DotOn(2, 4);   // cell 50, passed
        console.DotOn(8, 13);  // cell 200, to come
        window.RefreshDisplay();
    });
    window.RefreshDisplay();
    EXPECT_EQ(Cells(), testing::Picture().Dots(1, {1}).Dots(13, {8}).Dots(16, {16}).Text());
    EXPECT_EQ(platform.drawsTaken, 3u);
    // "hide inactive dots" gives the panel the unlit dots' grey.
    for (const int grey : {208, 224}) {
        QTest::mouseClick(window.findChild<QCheckBox*>("Check1"), Qt::LeftButton, {}, QPoint(6, 8));
        EXPECT_EQ(window.findChild<QWidget*>("Frame1")->palette().color(QPalette::Window),
                  QColor(Grey(grey)));
    }
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
        const std::pair<int, int> others[] = {{Qt::Key_Left, 7},  {Qt::Key_Up, 8},
                                              {Qt::Key_Right, 9}, {Qt::Key_Return, 5},
                                              {Qt::Key_Enter, 5}, {Qt::Key_A, 0}};
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
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_8, Qt::NoModifier, QStringLiteral("8"), true);
    QApplication::sendEvent(QApplication::focusWidget(), &repeat);
    EXPECT_EQ(console.KeyPressed(), 0);
    window.findChild<QComboBox*>("Combo1")->showPopup();
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_2);
    EXPECT_EQ(console.KeyPressed(), 0);
}

// "insert cartridge" clicked between two cells of a refresh must not run
// the game inside the tick, or no tick would run until the game ends.
TEST_F(WindowTest, AnInsertionHandledInsideARefreshTickShowsTheGameOnTheCells) {
    platform.At(0.010, [this] { Click("Command1"); });
    window.RefreshDisplay();
    EXPECT_FALSE(slot.Running()) << "the game started inside the tick";
    platform.At(0.5, [this] {
        window.RefreshDisplay();
        EXPECT_EQ(testing::ReadMenu(Cells()), "4S1");
        Click("Command2");
    });
    platform.RunDeferred();  // the event loop's next turn
    EXPECT_GT(platform.Seconds(), 0.5) << "the game did not run";
    window.RefreshDisplay();
    EXPECT_EQ(Cells(), testing::Picture().Text());
}

// Whatever its size, the window keeps its proportions: the dots are crisp
// squares of one width (only the cells' grey and the panel's, never a
// blend) and every caption fits its control.
TEST_F(WindowTest, TheWindowStepsThroughItsSizesWithCrispDotsAndFittingCaptions) {
    window.SetStartScale(2);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const std::pair<QKeySequence, double> steps[] = {
        {Qt::CTRL | Qt::Key_Minus, 1.5}, {Qt::CTRL | Qt::Key_Minus, 1},
        {Qt::CTRL | Qt::Key_Minus, 1},   {Qt::CTRL | Qt::Key_Equal, 1.5},
        {Qt::CTRL | Qt::Key_Plus, 2},    {Qt::CTRL | Qt::Key_Plus, 3},
        {Qt::CTRL | Qt::Key_0, 2}};
    for (const auto& [keys, scale] : steps) {
        QTest::keySequence(&window, keys);
        SCOPED_TRACE(scale);
        ASSERT_EQ(window.size(), QSize(332, 308) * scale);
        EXPECT_EQ(window.minimumSize(), window.maximumSize());
        const QImage shot = window.grab().toImage();
        const auto at = [scale](double logical) { return static_cast<int>(logical * scale); };
        std::vector<int> runs{0};
        for (int x = at(24); x < at(152); ++x) {
            const int grey = qRed(shot.pixel(x, at(27)));
            ASSERT_TRUE(grey == 192 || grey == 224) << x;
            if (grey == 192) {
                ++runs.back();
            } else if (runs.back() > 0) {
                runs.push_back(0);
            }
        }
        runs.erase(std::remove(runs.begin(), runs.end(), 0), runs.end());
        ASSERT_EQ(runs.size(), 16u);
        EXPECT_GE(*std::min_element(runs.begin(), runs.end()), at(6.4));
        EXPECT_LE(*std::max_element(runs.begin(), runs.end()), at(6.4) + 1);
        for (QWidget* control : window.findChildren<QWidget*>()) {
            const int box = qobject_cast<QCheckBox*>(control) != nullptr ? at(20) : 0;
            EXPECT_LE(
                control->fontMetrics().horizontalAdvance(control->property("text").toString()),
                control->width() - box);
        }
    }
}

TEST_F(WindowTest, WithTheEnhancedControlsAClickOnTheDisplayFiresFromTheThirdUnderIt) {
    window.SetStartScale(1.5);
    // x in pixels at scale 1: cell n (1 to 16) spans 24 + 8 (n - 1) to 6.4
    // further, and a gap belongs to the cell on its left.
    const auto fired = [this](double x) {
        console.ClearKey();
        QTest::mouseClick(&window, Qt::LeftButton, {}, (QPointF(x, 60) * window.Scale()).toPoint());
        return console.KeyPressed();
    };
    auto* enhanced = window.findChild<QCheckBox*>("Check3");
    EXPECT_TRUE(enhanced->isEnabled() && !enhanced->isChecked());
    EXPECT_EQ(fired(30), 0) << "off at start";
    enhanced->setChecked(true);
    const std::pair<double, int> points[] = {{24.4, 7},  {59, 7},    {63.6, 7},  {64.4, 8},
                                             {107, 8},   {111.6, 8}, {112.4, 9}, {150.3, 9},
                                             {151.6, 9}, {23.6, 0},  {152.4, 0}};
    for (const auto& [x, key] : points) {
        EXPECT_EQ(fired(x), key) << "at " << x;
    }
    window.findChild<QComboBox*>("Combo1")->addItem(QStringLiteral("Another"));
    window.findChild<QComboBox*>("Combo1")->setCurrentIndex(1);
    EXPECT_EQ(fired(30), 0) << "only for Zentrax";
}

// The system's signals close the window as its close button does, in the
// menu, in play, and after the sound that is playing.
TEST(SignalTest, ASignalClosesTheWindowInEveryPhase) {
    for (const double at : {0.05, 0.5, -1.0}) {
        Rig rig;
        rig.window.show();
        rig.platform.onPump = [] { QApplication::processEvents(); };
        rig.platform.onSound = [](const std::string&) { std::raise(SIGTERM); };
        // The refresh's ticks would move the virtual clock at random.
        rig.platform.At(0.001, [&] { rig.window.RefreshTimer()->stop(); });
        rig.platform.At(0.1, [&] { rig.window.Keypad(5)->click(); });
        if (at > 0) {
            rig.platform.At(at, [] { std::raise(SIGHUP); });
        }
        const SignalWatcher ends(rig.window);
        rig.Click("Command1");
        EXPECT_FALSE(rig.window.isVisible()) << at;
        EXPECT_EQ(rig.platform.played.size(), at > 0 ? 0u : 1u);
        EXPECT_LT(rig.platform.Seconds(),
                  at > 0 ? at + 0.01 : rig.platform.played[0].second + 0.26);
    }
}

// Waits sleep in the event dispatcher until an event or their deadline,
// and never once something was handled since the last wait.
TEST(QtPlatformTest, AWaitSleepsUntilAnEventAndNeverAfterOneWasHandled) {
    QtPlatform platform;
    bool deferred = false;
    platform.Defer([&] { deferred = true; });
    EXPECT_FALSE(deferred) << "run inside the call that deferred it";
    constexpr double kLong = 60.0;  // a wait that sleeps through an event fails
    bool clicked = false;
    QTimer::singleShot(20, [&] { clicked = true; });
    int turns = 0;
    for (const double start = platform.Seconds(); !clicked && platform.Seconds() < start + kLong;
         ++turns) {
        platform.AwaitEvents(start + kLong);
    }
    EXPECT_TRUE(clicked);
    EXPECT_LE(turns, 10) << "a loop waiting for a click spun";
    clicked = false;
    QTimer::singleShot(0, [&] { clicked = true; });
    while (!clicked) {
        platform.PumpEvents();
    }
    const double handled = platform.Seconds();
    platform.AwaitEvents(handled + kLong);
    EXPECT_LT(platform.Seconds(), handled + kLong / 2);
    EXPECT_TRUE(deferred) << "the event loop ran it";
}

// A GIF whose logical screen is w x h, holding one image of iw x ih of which
// only the first pixel is coded.
QByteArray Gif(int w, int h, int iw, int ih) {
    const auto word = [](int value) {
        return QByteArray(1, char(value & 0xff)) + char(value >> 8);
    };
    return "GIF89a" + word(w) + word(h) + QByteArray("\x80\0\0\xff\xff\xff\0\0\0\x2c", 10) +
           word(0) + word(0) + word(iw) + word(ih) + QByteArray("\0\x02\x02\x44\x01\0\x3b", 7);
}

// A picture is judged by its file and header before it is decoded: each
// large one decodes without an error when nothing is judged first.
TEST(LoadPictureTest, AFileThatIsNoPictureOrTooLargeIsRefusedWithItsNumber) {
    QTemporaryDir folder;
    const auto file = [&folder](const QByteArray& bytes, qint64 size = 0) {
        QFile made(folder.filePath("picture.gif"));
        made.open(QIODevice::WriteOnly | QIODevice::Truncate);
        made.write(bytes);
        made.resize(std::max(size, made.size()));
        return made.fileName();
    };
    const auto number = [](const QString& path) {
        try {
            LoadPicture(path.toStdString());
        } catch (const RuntimeError& error) {
            return error.Number();
        }
        return 0;
    };
    EXPECT_EQ(number(file(Gif(2, 2, 1, 1))), 0);
    const std::pair<QByteArray, qint64> refused[] = {{"", 0},
                                                     {"GIF89a, or so it says", 0},
                                                     {Gif(8192, 4095, 1, 1), 0},
                                                     {Gif(1280, 24084, 1280, 24084), 0},
                                                     {Gif(8192, 1000, 1, 1), 0},
                                                     {Gif(4096, 4000, 4096, 4000), 0},
                                                     {Gif(1, 1, 1, 1), 100'000'000}};
    for (const auto& [bytes, size] : refused) {
        EXPECT_EQ(number(file(bytes, size)), kErrInvalidPicture) << bytes.size() << " bytes";
    }
    EXPECT_EQ(number(folder.filePath("missing.gif")), kErrFileNotFound);
    EXPECT_EQ(number(folder.path()), kErrFileNotFound) << "a folder";
    EXPECT_EQ(LoadPicture(LUMIDOT_PROGRAM_FOLDER "/overlays/Zentrax.gif").size(), QSize(169, 169));
}

// The soak: tens of random clicks and keys a second on the real clock and
// event loop, in this process where the sanitizers watch. After every step
// every cell shows a grey the console can show and no report is up; at the
// end the window closes and the game returns. LUMIDOT_SOAK_SECONDS sets
// its length (3 by default; `make soak` runs longer), LUMIDOT_SOAK_SEED
// repeats a run.
struct ProgramPlatform : QtPlatform {
    std::string AppFolder() override { return LUMIDOT_PROGRAM_FOLDER; }
};

TEST(SoakTest, RandomClicksAndKeysNeverBreakTheProgram) {
    int seconds = qEnvironmentVariableIntValue("LUMIDOT_SOAK_SECONDS");
    seconds = seconds > 0 ? seconds : 3;
    const auto seed = qEnvironmentVariableIsSet("LUMIDOT_SOAK_SEED")
                          ? static_cast<unsigned>(qEnvironmentVariableIntValue("LUMIDOT_SOAK_SEED"))
                          : std::random_device{}();
    std::printf("soak: %d s, LUMIDOT_SOAK_SEED=%u\n", seconds, seed);
    std::mt19937 random(seed);
    const auto pick = [&random](int n) {
        return std::uniform_int_distribution<int>(0, n - 1)(random);
    };
    ProgramPlatform platform;
    Handheld handheld(platform);
    MainWindow& window = handheld.window;
    window.show();
    const char* controls[] = {"Command1", "Command2", "Check1", "Check2", "Check3", "Combo1"};
    const int keys[] = {Qt::Key_1, Qt::Key_2,  Qt::Key_3,     Qt::Key_5,
                        Qt::Key_7, Qt::Key_Up, Qt::Key_Return};
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int steps = 0;
    QEventLoop loop;
    std::function<void()> step = [&] {
        if (std::chrono::steady_clock::now() >= end) {
            window.close();
            return loop.quit();
        }
        // A timer of its own for each step: the next fires even while this
        // one runs a game.
        QTimer::singleShot(5 + pick(25), step);
        ++steps;
        for (int n = 0; n < 256; ++n) {
            const int grey = qRed(window.Display()->CellColor(n));
            EXPECT_TRUE(grey == 0 || grey == 208 || grey == 192 || (grey >= 32 && grey <= 95))
                << "cell " << n << " at step " << steps;
        }
        if (QWidget* report = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "a report at step " << steps;
            report->close();
        }
        const int roll = pick(10);
        QWidget* focus = QApplication::focusWidget();
        if (roll < 5) {
            window.Keypad(1 + pick(12))->click();
        } else if (roll < 7) {
            QTest::mouseClick(&window, Qt::LeftButton, {},
                              QPoint(24 + pick(128), 24 + pick(128)) * window.Scale());
        } else if (roll < 9) {
            QTest::mouseClick(window.findChild<QWidget*>(controls[pick(6)]), Qt::LeftButton, {},
                              QPoint(6, 8));
        } else {
            QTest::keyClick(focus != nullptr ? focus : &window,
                            static_cast<Qt::Key>(keys[pick(7)]));
        }
    };
    QTimer::singleShot(0, step);
    loop.exec();
    std::printf("soak: %d steps\n", steps);
    EXPECT_GT(steps, seconds * 10);
    EXPECT_FALSE(handheld.slot.Running()) << "the game outlived its window";
}

}  // namespace
}  // namespace lumidot
