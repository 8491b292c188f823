// The built program as a person uses it: started, clicked and typed at on
// its own X server, and read back from the screen.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>

#include "Version.h"
#include "e2e/XSession.h"
#include "support/Glyphs.h"

namespace lumidot::e2e {
namespace {

using namespace layout;

const std::string kTitle = std::string(kProgramName) + " v" + kVersion;
const QString kProgram = QStringLiteral(LUMIDOT_EXECUTABLE);

bool ShowsMenu(RunningProgram& program, const std::string& menu) {
    return program.WaitForScreen(
        [&](const Screenshot& shot) { return testing::ReadMenu(shot.Dots()) == menu; });
}

// Play has begun: the gun stands in the middle.
bool ShowsGun(RunningProgram& program) {
    const std::string gun = testing::Picture().Gun(2).Text().substr(13 * 17);
    return program.WaitForScreen(
        [&](const Screenshot& shot) { return shot.Dots().substr(13 * 17) == gun; });
}

// A beam climbs column 8 below the targets' rows.
bool ShowsBeam(RunningProgram& program) {
    return program.WaitForScreen([](const Screenshot& shot) {
        const std::string dots = shot.Dots();
        for (std::size_t row = 9; row <= 13; ++row) {
            if (dots[(row - 1) * 17 + 7] == '#') {
                return true;
            }
        }
        return false;
    });
}

TEST(SmokeE2E, AGameIsPlayedAndAReportClosedWindowWaitsForItsAnswer) {
    // The program in a folder of its own, so that a picture can go missing.
    QTemporaryDir copy;
    const QDir built = QFileInfo(kProgram).dir();
    ASSERT_TRUE(QFile::copy(kProgram, copy.filePath("lumidot")));
    for (const char* folder : {"overlays", "buttons", "samples"}) {
        QDir(copy.path()).mkpath(folder);
        for (const QString& name : QDir(built.filePath(folder)).entryList(QDir::Files)) {
            QFile::copy(built.filePath(folder) + "/" + name, copy.filePath(folder) + "/" + name);
        }
    }
    RunningProgram program(copy.filePath("lumidot"));
    ASSERT_NE(program.WaitForWindow(kTitle), 0u);
    program.Click(CentreIn(kSlotPanel, kInsertButton));
    ASSERT_TRUE(ShowsMenu(program, "4S1"));
    program.Click(CentreIn(kKeypadPanel, KeypadKey(5)));
    ASSERT_TRUE(ShowsGun(program));
    program.Press(XK_Up);
    EXPECT_TRUE(ShowsBeam(program)) << "no shot from the middle";

    program.Click(CentreIn(kSlotPanel, kRemoveButton));
    EXPECT_TRUE(ShowsMenu(program, "...")) << "removal did not blank the display";
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

TEST(SmokeE2E, ASignalEndsTheProgramInTheMenuAndInPlay) {
    {
        RunningProgram program(kProgram, {"--scale", "2"});
        ASSERT_NE(program.WaitForWindow(kTitle), 0u);
        EXPECT_TRUE(program.WaitForScreen(
            [](const Screenshot& shot) { return shot.Width() == 664 && shot.Height() == 616; }));
        program.Press(XK_Tab);
        program.Press(XK_space);
        program.Signal(SIGTERM);
        EXPECT_EQ(program.WaitForExit(), 0);
    }
    RunningProgram program(kProgram);
    ASSERT_NE(program.WaitForWindow(kTitle), 0u);
    program.Click(CentreIn(kSlotPanel, kInsertButton));
    ASSERT_TRUE(ShowsMenu(program, "4S1"));
    program.Press(XK_Return);
    ASSERT_TRUE(ShowsGun(program));
    program.Press(XK_Up);
    ASSERT_TRUE(ShowsBeam(program));
    program.Signal(SIGINT);
    EXPECT_EQ(program.WaitForExit(), 0);
}

// Without a display the program answers what needs none, and says in one
// line why it cannot open its window.
TEST(SmokeE2E, TheCommandLineAnswersWithoutADisplay) {
    const auto run = [](const QStringList& arguments, QByteArray* out = nullptr) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.remove("QT_QPA_PLATFORM");
        process.setProcessEnvironment(environment);
        process.start(kProgram, arguments);
        process.waitForFinished(30000);
        if (out != nullptr) {
            *out = process.readAllStandardOutput() + process.readAllStandardError();
        }
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    };
    QByteArray out;
    EXPECT_EQ(run({"--version"}, &out), 0);
    EXPECT_EQ(out, QByteArray("Lumidot ") + kVersion + "\n");
    EXPECT_EQ(run({"--help"}, &out), 0);
    EXPECT_TRUE(out.contains("--scale"));
    EXPECT_EQ(run({"--no-such-option"}), 2);
    EXPECT_EQ(run({"--scale", "5"}), 2);
    EXPECT_EQ(run({}, &out), 1);
    EXPECT_EQ(out.count('\n'), 1) << out.toStdString();
    EXPECT_TRUE(out.contains("DISPLAY") && out.contains("WAYLAND_DISPLAY"));
}

}  // namespace
}  // namespace lumidot::e2e
