// The built program as a person uses it: started on an X server of its own,
// clicked and typed at with the X test extension, and read back from the
// screen. Every wait polls with a generous deadline: a slow machine slows
// the test, never fails it.

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
#include "support/Glyphs.h"
#include "window/Greys.h"
#include "window/Layout.h"

namespace lumidot::e2e {
namespace {

using namespace layout;

bool WaitFor(const std::function<bool()>& condition) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition() && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

class RunningProgram {
  public:
    explicit RunningProgram(const QString& executable) {
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });  // windows that vanish
        server_.start("Xvfb",
                      {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
        QByteArray number;  // Xvfb picks a free display and writes its number
        WaitFor([&] {
            return server_.waitForReadyRead(100), (number += server_.readAll()).contains('\n');
        });
        const QString name = ":" + QString::fromLatin1(number.trimmed());
        display_ = XOpenDisplay(name.toLatin1().constData());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DISPLAY", name);
        environment.insert("QT_QPA_PLATFORM", "xcb");
        environment.insert("SDL_AUDIODRIVER", "dummy");
        program_.setProcessEnvironment(environment);
        program_.setProcessChannelMode(QProcess::ForwardedChannels);
        program_.start(executable, {});
    }
    ~RunningProgram() {
        program_.kill();
        program_.waitForFinished(5000);
        XCloseDisplay(display_);
        server_.kill();
        server_.waitForFinished(5000);
    }
    bool Alive() {
        return program_.state() != QProcess::NotRunning && !program_.waitForFinished(0);
    }
    // Waits for a shown window with this title; 0 if none came.
    Window WaitForWindow(const std::string& title) {
        Window found = 0;
        WaitFor([&] {
            Window root = DefaultRootWindow(display_), parent = 0, *children = nullptr;
            unsigned int count = 0;
            XQueryTree(display_, root, &root, &parent, &children, &count);
            for (unsigned int i = 0; i < count; ++i) {
                char* name = nullptr;
                XWindowAttributes shown;
                if (XFetchName(display_, children[i], &name) != 0 && title == name &&
                    XGetWindowAttributes(display_, children[i], &shown) &&
                    shown.map_state == IsViewable) {
                    found = children[i];
                }
                XFree(name);
            }
            XFree(children);
            return found != 0 || !Alive();
        });
        return window_ = window_ == 0 ? found : window_, found;
    }
    void Click(Point point) {
        int x = 0, y = 0;
        Window child = 0;
        XTranslateCoordinates(display_, window_, DefaultRootWindow(display_), int(point.x),
                              int(point.y), &x, &y, &child);
        XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
        XTestFakeButtonEvent(display_, 1, True, CurrentTime);
        XTestFakeButtonEvent(display_, 1, False, CurrentTime);
        XSync(display_, False);
    }
    void Press(KeySym key, Window window = 0) {
        XSetInputFocus(display_, window != 0 ? window : window_, RevertToParent, CurrentTime);
        for (const Bool down : {True, False})
            XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, key), down, CurrentTime);
        XSync(display_, False);
    }
    // As the window's close button does.
    void Close() {
        XEvent event{};
        event.xclient = {ClientMessage,
                         0,
                         True,
                         display_,
                         window_,
                         XInternAtom(display_, "WM_PROTOCOLS", False),
                         32,
                         {}};
        event.xclient.data.l[0] =
            static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
        XSendEvent(display_, window_, False, NoEventMask, &event);
        XSync(display_, False);
    }
    // The exit code; -1 after a crash, or when it did not end in time.
    int WaitForExit() {
        program_.waitForFinished(30000);
        return program_.state() == QProcess::NotRunning &&
                       program_.exitStatus() == QProcess::NormalExit
                   ? program_.exitCode()
                   : -1;
    }
    // Waits until the display, read off the screen as 16 lines of '#'
    // (black), '.' (unlit) and '?', passes the test.
    bool WaitForDots(const std::function<bool(const std::string&)>& test) {
        return WaitFor([&] {
            XImage* image = XGetImage(display_, window_, 0, 0, 180, 180, AllPlanes, ZPixmap);
            std::string dots;
            for (int n = 0; n < 256 && image != nullptr; ++n) {
                const Point at = CentreIn(kDisplayPanel, DotCell(n));
                const unsigned long pixel = XGetPixel(image, int(at.x), int(at.y));
                const unsigned long grey = pixel & 0xff;
                dots += pixel != grey * 0x010101 ? '?'
                        : grey == greys::kLit    ? '#'
                        : grey == greys::kUnlit  ? '.'
                                                 : '?';
                dots += n % 16 == 15 ? "\n" : "";
            }
            if (image != nullptr) XDestroyImage(image);
            return !dots.empty() && test(dots);
        });
    }

  private:
    QProcess server_, program_;
    Display* display_ = nullptr;
    Window window_ = 0;
};
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
