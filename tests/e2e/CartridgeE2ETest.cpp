#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "e2e/XSession.h"
#include "support/Glyphs.h"

namespace lumidot::e2e {
namespace {

using testing::ReadMenu;

// Button centres in the window's client area.
constexpr int kInsertX = 252, kInsertY = 62;
constexpr int kRemoveX = 252, kRemoveY = 86;
constexpr int kSizeX = 35, kSizeY = 200;

bool Shows(RunningProgram& program, const std::string& menu) {
    return program.WaitForScreen(
        [&](const Screenshot& shot) { return ReadMenu(ShownDots(shot)) == menu; });
}

TEST(CartridgeE2E, TheMenuIsPlayedWithThePointerAndTheWindowClosesDuringAGame) {
    RunningProgram program;
    ASSERT_TRUE(program.WaitForWindow());

    program.Click(kInsertX, kInsertY);
    ASSERT_TRUE(Shows(program, "4S1")) << "no 4 S 1 menu after insertion";
    program.Click(kSizeX, kSizeY);
    EXPECT_TRUE(Shows(program, "3S1")) << "\"Size\" did not count down";

    program.Click(kRemoveX, kRemoveY);
    EXPECT_TRUE(Shows(program, "...")) << "removal did not blank the display";

    program.Click(kInsertX, kInsertY);
    EXPECT_TRUE(Shows(program, "4S1")) << "a new insertion did not start afresh";

    // Closed in the menu: the game returns and the program ends.
    program.Close();
    EXPECT_EQ(program.WaitForExit(), 0);
}

TEST(CartridgeE2E, AMissingOverlayIsReportedAndTheProgramEndsOnceItIsAnswered) {
    // The program and its folders, without the overlay.
    QTemporaryDir copy;
    ASSERT_TRUE(copy.isValid());
    const QDir built = QFileInfo(QStringLiteral(LUMIDOT_EXECUTABLE)).dir();
    const QString executable = copy.filePath("lumidot");
    ASSERT_TRUE(QFile::copy(QStringLiteral(LUMIDOT_EXECUTABLE), executable));
    for (const char* folder : {"overlays", "buttons", "samples"}) {
        ASSERT_TRUE(QDir(copy.path()).mkpath(folder));
        for (const QString& name : QDir(built.filePath(folder)).entryList(QDir::Files)) {
            if (name != "Zentrax.gif") {
                const QString file = QStringLiteral("%1/%2").arg(folder, name);
                ASSERT_TRUE(QFile::copy(built.filePath(file), copy.filePath(file)));
            }
        }
    }

    RunningProgram program(executable);
    ASSERT_TRUE(program.WaitForWindow());
    program.Click(kInsertX, kInsertY);
    const Window report = program.WaitForWindowTitled("Whoops...");
    ASSERT_NE(report, 0u) << "no error report came up";
    EXPECT_TRUE(program.Alive()) << "the program must wait for the report's answer";
    // Closing the window meanwhile waits for the answer too.
    program.Close();
    EXPECT_EQ(program.WaitForWindowTitled("Whoops..."), report);
    EXPECT_TRUE(program.Alive());

    program.Press(XK_Return, report);
    EXPECT_EQ(program.WaitForExit(), 0);
}

}  // namespace
}  // namespace lumidot::e2e
