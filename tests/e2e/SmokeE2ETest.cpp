// The built program on xvfb-run's X server, clicked and typed at with the X
// test extension and read back from the screen; every wait has a deadline.

#include <gtest/gtest.h>

// Qt's headers before Xlib's macros.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <thread>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "Version.h"
#include "XScreen.h"
#include "support/Glyphs.h"
#include "window/Layout.h"

namespace lumidot {
namespace {

using namespace layout;

Display* const x = XOpenDisplay(nullptr);

bool WaitFor(const std::function<bool()>& condition) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition() && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

// The shown top-level window with this title, or 0.
Window Titled(const std::string& title) {
    return xscreen::Titled(x, title);
}

// A left click at a point of the window, or a key typed in it.
void Click(Window window, Point point) {
    int rootX = 0, rootY = 0;
    XTranslateCoordinates(x, window, DefaultRootWindow(x), int(point.x), int(point.y), &rootX,
                          &rootY, &window);
    XTestFakeMotionEvent(x, -1, rootX, rootY, CurrentTime);
    XTestFakeButtonEvent(x, 1, True, CurrentTime);
    XTestFakeButtonEvent(x, 1, False, CurrentTime);
    XSync(x, False);
}
// A key pressed and released, or held for a while: the X server repeats a
// held key by itself, as a release and a press each time.
void Press(Window window, KeySym key, std::chrono::milliseconds held = {}) {
    XSetInputFocus(x, window, RevertToParent, CurrentTime);
    XTestFakeKeyEvent(x, XKeysymToKeycode(x, key), True, CurrentTime);
    XSync(x, False);
    std::this_thread::sleep_for(held);
    XTestFakeKeyEvent(x, XKeysymToKeycode(x, key), False, CurrentTime);
    XSync(x, False);
}

// Waits until the display, read off the screen as 16 lines of '#' (black),
// '.' (the unlit grey 208) and '?', passes the test.
bool Shows(Window window, const std::function<bool(const std::string&)>& test) {
    return WaitFor([&] {
        std::string dots;
        for (const unsigned long pixel : xscreen::Dots(x, window)) {
            dots += pixel == 0 ? '#' : pixel == 0xd0d0d0 ? '.' : '?';
            dots += dots.size() % 17 == 16 ? "\n" : "";
        }
        return test(dots);
    });
}

TEST(SmokeE2E, AHeldKeyPressesOnceAGameIsPlayedAndAMissingPictureIsReported) {
    ASSERT_NE(x, nullptr) << "no X server";
    // The program in a folder of its own, so that a picture can go missing.
    QTemporaryDir copy;
    const QDir built = QFileInfo(LUMIDOT_EXECUTABLE).dir();
    ASSERT_EQ(QProcess::execute(
                  "cp", {"-r", LUMIDOT_EXECUTABLE, built.filePath("overlays"),
                         built.filePath("buttons"), built.filePath("samples"), copy.path()}),
              0);
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(copy.filePath("lumidot"), {"-platform", "xcb"});
    ASSERT_TRUE(program.waitForStarted());
    Window window = 0;
    ASSERT_TRUE(WaitFor([&] { return (window = Titled(std::string("Lumidot v") + kVersion)); }));
    Click(window, CentreIn(kSlotPanel, kInsertButton));
    ASSERT_TRUE(
        Shows(window, [](const std::string& dots) { return dots == testing::MenuPicture("4S1"); }));
    // "1" held for 1.2 s steps the size once, however often the server
    // repeats it; "2" (the speed) after it shows when the hold's keys are all
    // handled. Held five times: 3, 2, 1, C, 4.
    for (const std::string menu : {"3F1", "2C1", "1S1", "CF1", "4C1"}) {
        Press(window, XK_1, std::chrono::milliseconds(1200));
        Press(window, XK_2);
        ASSERT_TRUE(Shows(
            window, [&](const std::string& dots) { return dots == testing::MenuPicture(menu); }))
            << "after the hold that should show " << menu;
    }
    Click(window, CentreIn(kKeypadPanel, KeypadKey(5)));
    const std::string gun = testing::Picture().Gun(2).Text().substr(13 * 17);
    ASSERT_TRUE(
        Shows(window, [&](const std::string& dots) { return dots.substr(13 * 17) == gun; }));
    Press(window, XK_Up);
    EXPECT_TRUE(Shows(window, [](const std::string& dots) {
        return dots.substr(8 * 17, 5 * 17).find('#') % 17 == 7;  // the beam in column 8
    })) << "no shot from the middle";
    Click(window, CentreIn(kSlotPanel, kRemoveButton));

    QFile::remove(copy.filePath("overlays/Zentrax.gif"));
    Click(window, CentreIn(kSlotPanel, kInsertButton));
    Window report = 0;
    ASSERT_TRUE(WaitFor([&] { return (report = Titled("Whoops...")); })) << "no report";
    // Answered, the report closes the window, and the program ends with 0.
    Press(report, XK_Return);
    EXPECT_TRUE(program.waitForFinished(30000) && program.exitStatus() == QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    program.kill();
    program.waitForFinished();
}

// A cartridge being written, run with --cartridge as its author would: it
// draws and takes a key; its error is reported, the cartridge is out and the
// window stays, and it can be inserted again.
TEST(SmokeE2E, ACartridgeFromTheCommandLineDrawsTakesKeysAndSurvivesItsError) {
    ASSERT_NE(x, nullptr) << "no X server";
    QTemporaryDir folder;
    QDir(folder.path()).mkdir("Sketch");
    QFile script(folder.filePath("Sketch/cartridge.lua"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(
        "dot_on(1, 1)\nlocal k = wait_key()\ndot_on(k, 2)\nwait_key()\nerror('sketched')\n");
    script.close();
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(LUMIDOT_EXECUTABLE,
                  {"-platform", "xcb", "--cartridge", folder.filePath("Sketch")});
    ASSERT_TRUE(program.waitForStarted());
    Window window = 0;
    ASSERT_TRUE(WaitFor([&] { return (window = Titled(std::string("Lumidot v") + kVersion)); }));
    const std::string blank = testing::Picture().Text();
    for (int insertion = 0; insertion < 2; ++insertion) {
        Click(window, CentreIn(kSlotPanel, kInsertButton));
        ASSERT_TRUE(Shows(window,
                          [&](const std::string& dots) {
                              return dots == testing::Picture().Dots(1, {1}).Text();
                          }))
            << "insertion " << insertion;
        Press(window, XK_3);
        ASSERT_TRUE(Shows(window, [&](const std::string& dots) {
            return dots == testing::Picture().Dots(1, {1}).Dots(2, {3}).Text();
        }));
        Press(window, XK_1);
        Window report = 0;
        ASSERT_TRUE(WaitFor([&] { return (report = Titled("Whoops...")); })) << "no report";
        Press(report, XK_Return);
        ASSERT_TRUE(Shows(window, [&](const std::string& dots) { return dots == blank; }))
            << "the cartridge stayed in";
        ASSERT_NE(Titled(std::string("Lumidot v") + kVersion), 0u) << "the window went";
    }
    program.terminate();
    EXPECT_TRUE(program.waitForFinished(30000) && program.exitCode() == 0);
}

}  // namespace
}  // namespace lumidot
