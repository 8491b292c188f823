#include "e2e/XSession.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <signal.h>

#include <stdexcept>
#include <thread>

#include "window/Greys.h"

namespace lumidot::e2e {

namespace {

constexpr int kDeadlineMs = 30000;

// Windows that vanish while they are looked at are expected.
int IgnoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

void Stop(QProcess& process) {
    if (process.state() != QProcess::NotRunning) {
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
}

}  // namespace

bool WaitFor(const std::function<bool()>& condition, Clock::duration deadline) {
    const auto end = Clock::now() + deadline;
    while (!condition()) {
        if (Clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

Screenshot::Screenshot(Display* display, Window window) {
    XWindowAttributes attributes;
    if (window != 0 && XGetWindowAttributes(display, window, &attributes) != 0) {
        width_ = attributes.width;
        height_ = attributes.height;
        image_ = XGetImage(display, window, 0, 0, static_cast<unsigned>(width_),
                           static_cast<unsigned>(height_), AllPlanes, ZPixmap);
    }
}

Screenshot::~Screenshot() {
    if (image_ != nullptr) {
        XDestroyImage(image_);
    }
}

int Screenshot::Grey(int x, int y) const {
    const unsigned long p = XGetPixel(image_, x, y);
    const auto r = (p >> 16) & 0xff, g = (p >> 8) & 0xff, b = p & 0xff;
    return r == g && g == b ? static_cast<int>(r) : -1;
}

std::string Screenshot::Dots() const {
    std::string dots;
    for (int n = 0; n < 256; ++n) {
        const layout::Point at = layout::CentreIn(layout::kDisplayPanel, layout::DotCell(n));
        const int grey = Grey(static_cast<int>(at.x), static_cast<int>(at.y));
        dots += grey == greys::kLit ? '#' : grey == greys::kUnlit ? '.' : '?';
        dots += n % 16 == 15 ? "\n" : "";
    }
    return dots;
}

RunningProgram::RunningProgram(const QString& executable, const QStringList& arguments) {
    XSetErrorHandler(IgnoreXErrors);
    // Xvfb picks a free display and writes its number on standard output.
    server_.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-screen", "0", "1024x768x24", "-dpi",
                                           "96", "-nolisten", "tcp"});
    QByteArray number;
    WaitFor([&] {
        server_.waitForReadyRead(100);
        number += server_.readAllStandardOutput();
        return number.contains('\n') || server_.state() == QProcess::NotRunning;
    });
    const QString name = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
    display_ = XOpenDisplay(name.toLatin1().constData());
    if (display_ == nullptr) {
        throw std::runtime_error("no Xvfb");
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", name);
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.insert("SDL_AUDIODRIVER", environment.value("SDL_AUDIODRIVER", "dummy"));
    program_.setProcessEnvironment(environment);
    program_.setProcessChannelMode(QProcess::ForwardedChannels);
    program_.start(executable, arguments);
    program_.waitForStarted(kDeadlineMs);
}

RunningProgram::~RunningProgram() {
    Stop(program_);
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
    Stop(server_);
}

bool RunningProgram::Alive() {
    return program_.state() != QProcess::NotRunning && !program_.waitForFinished(0);
}

Window RunningProgram::WaitForWindow(const std::string& title) {
    Window found = 0;
    WaitFor([&] {
        Window root = DefaultRootWindow(display_), parent = 0, *children = nullptr;
        unsigned int count = 0;
        XQueryTree(display_, root, &root, &parent, &children, &count);
        for (unsigned int i = 0; i < count && found == 0; ++i) {
            char* name = nullptr;
            XWindowAttributes attributes;
            if (XFetchName(display_, children[i], &name) != 0 && name != nullptr) {
                if (title == name && XGetWindowAttributes(display_, children[i], &attributes) &&
                    attributes.map_state == IsViewable) {
                    found = children[i];
                }
                XFree(name);
            }
        }
        XFree(children);
        return found != 0 || !Alive();
    });
    window_ = window_ == 0 ? found : window_;
    return found;
}

void RunningProgram::Click(layout::Point point) {
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(display_, window_, DefaultRootWindow(display_), static_cast<int>(point.x),
                          static_cast<int>(point.y), &x, &y, &child);
    XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
    XTestFakeButtonEvent(display_, 1, True, CurrentTime);
    XTestFakeButtonEvent(display_, 1, False, CurrentTime);
    XSync(display_, False);
}

void RunningProgram::Press(KeySym key, Window window) {
    XSetInputFocus(display_, window != 0 ? window : window_, RevertToParent, CurrentTime);
    const KeyCode code = XKeysymToKeycode(display_, key);
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    XSync(display_, False);
}

void RunningProgram::Close() {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window_;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    XSendEvent(display_, window_, False, NoEventMask, &event);
    XSync(display_, False);
}

void RunningProgram::Signal(int signal) {
    ::kill(static_cast<pid_t>(program_.processId()), signal);
}

int RunningProgram::WaitForExit() {
    if (program_.state() != QProcess::NotRunning && !program_.waitForFinished(kDeadlineMs)) {
        return -1;
    }
    return program_.exitStatus() == QProcess::NormalExit ? program_.exitCode() : -1;
}

bool RunningProgram::WaitForScreen(const std::function<bool(const Screenshot&)>& test) {
    return WaitFor([&] {
        const Screenshot shot(display_, window_);
        return shot.Valid() && test(shot);
    });
}

}  // namespace lumidot::e2e
