// The built program as a person uses it: started, clicked and typed at on
// its own X server, and read back from the screen.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "Version.h"
#include "e2e/XSession.h"
#include "support/Glyphs.h"

namespace lumidot::e2e {
namespace {

using namespace layout;

TEST(SmokeE2E, AGameIsPlayedAndAReportWaitsForItsAnswerThoughTheWindowClosed) {
    // The program in a folder of its own, so that a picture can go missing.
    QTemporaryDir copy;
    const QDir built = QFileInfo(LUMIDOT_EXECUTABLE).dir();
    ASSERT_TRUE(QFile::copy(LUMIDOT_EXECUTABLE, copy.filePath("lumidot")));
    for (const char* folder : {"overlays", "buttons", "samples"}) {
        QDir(copy.path()).mkpath(folder);
        for (const QString& name : QDir(built.filePath(folder)).entryList(QDir::Files)) {
            QFile::copy(built.filePath(folder) + "/" + name, copy.filePath(folder) + "/" + name);
        }
    }
    RunningProgram program(copy.filePath("lumidot"));
    ASSERT_NE(program.WaitForWindow(std::string(kProgramName) + " v" + kVersion), 0u);
    const auto shows = [&](const std::string& menu) {
        return program.WaitForDots(
            [&](const std::string& dots) { return testing::ReadMenu(dots) == menu; });
    };
    program.Click(CentreIn(kSlotPanel, kInsertButton));
    ASSERT_TRUE(shows("4S1"));
    program.Click(CentreIn(kKeypadPanel, KeypadKey(5)));
    const std::string gun = testing::Picture().Gun(2).Text().substr(13 * 17);
    ASSERT_TRUE(
        program.WaitForDots([&](const std::string& dots) { return dots.substr(13 * 17) == gun; }));
    program.Press(XK_Up);
    // A beam climbs column 8, below the targets' rows.
    EXPECT_TRUE(program.WaitForDots([](const std::string& dots) {
        for (std::size_t row = 8; row < 13; ++row) {
            if (dots[row * 17 + 7] == '#') {
                return true;
            }
        }
        return false;
    })) << "no shot from the middle";

    program.Click(CentreIn(kSlotPanel, kRemoveButton));
    EXPECT_TRUE(shows("...")) << "removal did not blank the display";
    ASSERT_TRUE(QFile::remove(copy.filePath("overlays/Zentrax.gif")));
    program.Click(CentreIn(kSlotPanel, kInsertButton));
    const Window report = program.WaitForWindow("Whoops...");
    ASSERT_NE(report, 0u) << "no report";
    program.Close();
    EXPECT_EQ(program.WaitForWindow("Whoops..."), report);
    EXPECT_TRUE(program.Alive()) << "the program must wait for the report's answer";
    program.Press(XK_Return, report);
    EXPECT_EQ(program.WaitForExit(), 0);
}

}  // namespace
}  // namespace lumidot::e2e
