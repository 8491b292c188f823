#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "cartridges/zentrax/Zentrax.h"
#include "console/Console.h"
#include "console/Slot.h"
#include "support/DotPicture.h"
#include "support/Glyphs.h"
#include "support/VirtualPlatform.h"
#include "window/DotMatrix.h"
#include "window/MainWindow.h"
#include "window/PictureBox.h"

namespace lumidot {
namespace {

using testing::DotPicture;
using testing::ReadMenu;
using testing::VirtualPlatform;

// The keypad's captions once Zentrax has dressed it.
const char* const kCaptions[] = {"Size", "Speed", "Targets", "", "Go", "", "", "", "", "", "", ""};

// The game runs inside the "insert cartridge" click, so everything a test
// does while it runs is scheduled on the virtual clock before that click.
// Actions stand a second apart: a refresh pumps 256 times.
class CartridgeSlotTest : public ::testing::Test {
  protected:
    CartridgeSlotTest() {
        slot.Plug(zentrax);
        window.Load();
        platform.SetAppFolder(LUMIDOT_PROGRAM_FOLDER);
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        // A game that outlives its script fails the test instead of hanging.
        platform.At(600.0, [this] {
            ADD_FAILURE() << "the game still ran at the end of the script";
            window.close();
        });
    }

    template <typename T = QPushButton>
    T* Control(const char* name) {
        return window.findChild<T*>(QString::fromLatin1(name));
    }
    static void Click(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton); }

    // The settings as the display shows them after a refresh.
    std::string ShownMenu() {
        window.RefreshDisplay();
        std::string picture;
        for (int n = 0; n < 256; ++n) {
            const QRgb cell = window.Display()->CellColor(n);
            picture += cell == qRgb(0, 0, 0) ? '#' : cell == qRgb(208, 208, 208) ? '.' : '?';
            picture += n % 16 == 15 ? "\n" : "";
        }
        return ReadMenu(picture);
    }

    // Writes down the error box when it comes up, and answers it.
    void AnswerErrorBox(QWidget* parent) {
        auto* poll = new QTimer(parent);
        QObject::connect(poll, &QTimer::timeout, [this, poll] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            poll->stop();
            errorBox = box->windowTitle() + " | " + box->text();
            errorBoxIsStop = box->icon() == QMessageBox::Critical && box->buttons().size() == 1 &&
                             box->button(QMessageBox::Ok) != nullptr;
            box->button(QMessageBox::Ok)->click();
        });
        poll->start(5);
    }

    VirtualPlatform platform;
    Console console{platform};
    Slot slot{console};
    MainWindow window{console, slot};
    Zentrax zentrax{console, window};
    QString errorBox;
    bool errorBoxIsStop = false;
};

TEST_F(CartridgeSlotTest, InsertDressesTheConsoleTheMenuAnswersTheKeypadAndRemovalEndsIt) {
    console.PressKey(5);  // a click on "Go" with the slot still empty
    platform.At(1.0, [&] {
        EXPECT_FALSE(Control<QComboBox>("Combo1")->isEnabled());
        EXPECT_FALSE(Control("Command1")->isEnabled());
        EXPECT_TRUE(Control("Command2")->isEnabled());
        EXPECT_EQ(QApplication::focusWidget(), Control("Command2"));
        EXPECT_TRUE(window.RefreshTimer()->isActive());
        EXPECT_TRUE(console.CartridgeOn());
        EXPECT_EQ(window.Overlay()->Picture().size(), QSize(169, 169));
        const char* names[] = {"Size",      "Speed",   "Targets",    "Key 4",  "Go",     "Key 6",
                               "Fire left", "Fire up", "Fire right", "Key 10", "Key 11", "Key 12"};
        for (int k = 1; k <= 12; ++k) {
            QPushButton* key = window.Keypad(k);
            const bool shown = k != 4 && k != 6 && k < 10;
            EXPECT_EQ(key->isVisible(), shown) << "key " << k;
            EXPECT_EQ(key->text(), kCaptions[k - 1]) << "key " << k;
            EXPECT_EQ(QAccessible::queryAccessibleInterface(key)->text(QAccessible::Name),
                      names[k - 1]);
            EXPECT_EQ(!key->icon().isNull(), k >= 7 && k <= 9) << "key " << k;
        }
        EXPECT_EQ(ShownMenu(), "4S1");
        Click(window.Keypad(1));
    });
    platform.At(2.0, [&] {
        EXPECT_EQ(ShownMenu(), "3S1");
        // The keyboard's keys press the keypad as clicks do.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_2);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_3, Qt::KeypadModifier);
    });
    platform.At(3.0, [&] { EXPECT_EQ(ShownMenu(), "3S2"); });
    platform.At(3.5, [&] { Click(Control("Command2")); });

    Click(Control("Command1"));

    EXPECT_NEAR(platform.Seconds(), 3.5, 0.01) << "the game ended at removal";
    EXPECT_FALSE(slot.Running());
    EXPECT_FALSE(console.CartridgeOn());
    EXPECT_TRUE(Control<QComboBox>("Combo1")->isEnabled());
    EXPECT_TRUE(Control("Command1")->isEnabled());
    EXPECT_FALSE(Control("Command2")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), Control("Command1"));
    EXPECT_TRUE(window.RefreshTimer()->isActive()) << "the refresh goes on after removal";
    EXPECT_EQ(ShownMenu(), "...");
    EXPECT_EQ(window.Keypad(1)->text(), "Size") << "the keypad stays dressed";

    // In again: the settings start afresh.
    platform.At(4.0, [&] { EXPECT_EQ(ShownMenu(), "4S1"); });
    platform.At(4.5, [&] { Click(Control("Command2")); });
    Click(Control("Command1"));
    EXPECT_NEAR(platform.Seconds(), 4.5, 0.01);
}

TEST_F(CartridgeSlotTest, ACartridgeReinsertedWhileTheOldGameUnwindsStartsAfterIt) {
    int startedInside = 0;
    platform.At(1.0, [&] {
        Click(window.Keypad(1));
        // Out and in again before the game looks: the new game waits for
        // the old one to return.
        Click(Control("Command2"));
        Click(Control("Command1"));
        EXPECT_FALSE(console.CartridgeOn()) << "the old game must see the cartridge out";
        EXPECT_TRUE(Control("Command2")->isEnabled());
        platform.AtPump(1, [&] { startedInside = platform.Depth(); });
    });
    platform.At(2.0, [&] {
        EXPECT_EQ(platform.Depth(), 1) << "the new game runs beside the old one, not in it";
        EXPECT_EQ(ReadMenu(DotPicture(console)), "4S1");
        EXPECT_TRUE(console.CartridgeOn());
        // Out, in and out again: the last word is the removal.
        Click(Control("Command2"));
        Click(Control("Command1"));
        Click(Control("Command2"));
    });

    Click(Control("Command1"));

    EXPECT_EQ(startedInside, 1);
    EXPECT_NEAR(platform.Seconds(), 2.0, 0.01);
    EXPECT_FALSE(slot.Running());
    EXPECT_FALSE(console.CartridgeOn());
    EXPECT_TRUE(Control("Command1")->isEnabled());
}

TEST_F(CartridgeSlotTest, ClosingTheWindowEndsTheGame) {
    platform.At(1.0, [&] { Click(window.Keypad(5)); });
    platform.At(2.0, [&] {
        EXPECT_NE(DotPicture(console), testing::Picture().Text()) << "play is on";
        window.close();
    });
    Click(Control("Command1"));
    EXPECT_NEAR(platform.Seconds(), 2.0, 0.01);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(slot.Running());
    EXPECT_FALSE(console.CartridgeOn());

    window.Terminate();
    EXPECT_FALSE(window.RefreshTimer()->isActive());
    EXPECT_NEAR(platform.Seconds(), 2.1, 0.01);
}

// Each of the four pictures missing, empty, not a picture at all, or a
// folder in its place: the report with its number, then the window closes.
// The start-up stops at the failing picture: what it dressed before stays.
TEST_F(CartridgeSlotTest, APictureThatCannotBeLoadedIsReportedAndTheWindowCloses) {
    enum Breakage { kMissing, kEmpty, kNotAPicture, kFolder };
    const struct {
        const char* file;
        int key;  // the keypad button the picture is for; 0: the overlay
    } pictures[] = {{"overlays/Zentrax.gif", 0},
                    {"buttons/zx_kp_07.gif", 7},
                    {"buttons/zx_kp_08.gif", 8},
                    {"buttons/zx_kp_09.gif", 9}};
    for (const auto& picture : pictures) {
        for (const Breakage breakage : {kMissing, kEmpty, kNotAPicture, kFolder}) {
            SCOPED_TRACE(std::string(picture.file) + " broken as " + std::to_string(breakage));
            // The program's folders, with this one picture broken.
            QTemporaryDir copy;
            const QDir from(LUMIDOT_PROGRAM_FOLDER);
            for (const char* folder : {"overlays", "buttons", "samples"}) {
                QDir(copy.path()).mkpath(folder);
                for (const QString& name : QDir(from.filePath(folder)).entryList(QDir::Files)) {
                    const QString file = QStringLiteral("%1/%2").arg(folder, name);
                    ASSERT_TRUE(QFile::copy(from.filePath(file), copy.filePath(file)));
                }
            }
            const QString broken = copy.filePath(picture.file);
            ASSERT_TRUE(QFile::remove(broken));
            if (breakage == kFolder) {
                ASSERT_TRUE(QDir().mkpath(broken));
            } else if (breakage != kMissing) {
                QFile file(broken);
                ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                file.write(breakage == kEmpty ? "" : "GIF89a, or so it says");
            }
            struct Rig {
                VirtualPlatform platform;
                Console console{platform};
                Slot slot{console};
                MainWindow window{console, slot};
                Zentrax zentrax{console, window};
            } rig;
            rig.slot.Plug(rig.zentrax);
            rig.window.Load();
            rig.platform.SetAppFolder(copy.path().toStdString());
            rig.window.show();
            rig.console.DotOn(5, 9);

            AnswerErrorBox(&rig.window);
            Click(rig.window.findChild<QPushButton*>("Command1"));

            const int number = breakage == kMissing || breakage == kFolder ? 53 : 481;
            EXPECT_EQ(errorBox,
                      "Whoops... | Error in Zentrax_Init(), cannot continue. Error number: " +
                          QString::number(number));
            EXPECT_TRUE(errorBoxIsStop);
            EXPECT_FALSE(rig.window.isVisible()) << "the window closes after the report";
            EXPECT_FALSE(rig.console.CartridgeOn());
            EXPECT_EQ(rig.platform.Pumps(), 0) << "the game stopped at its failing step";
            EXPECT_EQ(rig.console.Dots(8 * 16 + 5), kTrue) << "the display was not yet cleared";
            EXPECT_EQ(rig.window.Overlay()->Picture().isNull(), picture.key == 0);
            for (int k = 1; k <= 12; ++k) {
                QPushButton* key = rig.window.Keypad(k);
                // Keys before the failing one are dressed; the failing one
                // has its caption but not its picture; the rest are as they
                // were.
                const bool dressed = picture.key != 0 && k <= picture.key;
                EXPECT_EQ(key->isHidden(), dressed && (k == 4 || k == 6)) << "key " << k;
                EXPECT_EQ(key->text(), dressed ? kCaptions[k - 1] : "") << "key " << k;
                EXPECT_EQ(key->icon().isNull(), !(dressed && k >= 7 && k < picture.key))
                    << "key " << k;
            }
        }
    }
}

}  // namespace
}  // namespace lumidot
