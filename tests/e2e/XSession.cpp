#include "e2e/XSession.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cstring>
#include <stdexcept>
#include <thread>

namespace lumidot::e2e {

namespace {

constexpr int kDeadlineMs =
    static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(kDeadline).count());

// Errors from windows that vanish while they are looked at are expected.
int IgnoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

void Stop(QProcess& process) {
    if (process.state() == QProcess::NotRunning) {
        return;
    }
    // Asked first, so that an X server removes its lock and socket.
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
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

XServer::XServer() {
    // Xvfb picks a free display and writes its number on standard output.
    server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server_.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-screen", "0", "1024x768x24", "-dpi",
                                           "96", "-nolisten", "tcp", "-noreset"});
    QByteArray number;
    WaitFor([&] {
        server_.waitForReadyRead(100);
        number += server_.readAllStandardOutput();
        return number.contains('\n') || server_.state() == QProcess::NotRunning;
    });
    if (!number.contains('\n')) {
        throw std::runtime_error("Xvfb did not start");
    }
    name_ = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
    display_ = XOpenDisplay(name_.toLatin1().constData());
    if (display_ == nullptr) {
        throw std::runtime_error("cannot connect to Xvfb");
    }
}

XServer::~XServer() {
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
    Stop(server_);
}

Screenshot::Screenshot(Display* display, Window window) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) == 0) {
        return;
    }
    width_ = attributes.width;
    height_ = attributes.height;
    image_ = XGetImage(display, window, 0, 0, static_cast<unsigned>(width_),
                       static_cast<unsigned>(height_), AllPlanes, ZPixmap);
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

std::string ShownDots(const Screenshot& shot) {
    std::string dots;
    for (int n = 0; n < 256; ++n) {
        const int grey = shot.Grey(CellX(n), CellY(n));
        dots += grey == 0 ? '#' : grey == 208 ? '.' : '?';
        if (n % 16 == 15) {
            dots += '\n';
        }
    }
    return dots;
}

RunningProgram::RunningProgram(const QString& executable, const QStringList& environment) {
    XSetErrorHandler(IgnoreXErrors);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", x_.Name());
    env.insert("QT_QPA_PLATFORM", "xcb");
    // Silent unless the caller picked an audio driver to listen with.
    if (!env.contains("SDL_AUDIODRIVER")) {
        env.insert("SDL_AUDIODRIVER", "dummy");
    }
    for (const QString& setting : environment) {
        env.insert(setting.section('=', 0, 0), setting.section('=', 1));
    }
    program_.setProcessEnvironment(env);
    program_.setProcessChannelMode(QProcess::ForwardedChannels);
    program_.start(executable, {});
    if (!program_.waitForStarted(kDeadlineMs)) {
        throw std::runtime_error("cannot start " + executable.toStdString());
    }
}

RunningProgram::~RunningProgram() {
    Stop(program_);
}

bool RunningProgram::Alive() {
    return program_.state() != QProcess::NotRunning && !program_.waitForFinished(0);
}

int RunningProgram::WaitForExit() {
    if (program_.state() != QProcess::NotRunning && !program_.waitForFinished(kDeadlineMs)) {
        return -1;
    }
    return program_.exitStatus() == QProcess::NormalExit ? program_.exitCode() : -1;
}

Window RunningProgram::FindWindow(const char* title) {
    Display* d = x_.Connection();
    Window root = DefaultRootWindow(d), parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (XQueryTree(d, root, &root, &parent, &children, &count) == 0) {
        return 0;
    }
    for (unsigned int i = 0; i < count && found == 0; ++i) {
        char* name = nullptr;
        XWindowAttributes attributes;
        if (XFetchName(d, children[i], &name) != 0 && name != nullptr) {
            if (std::strcmp(name, title) == 0 &&
                XGetWindowAttributes(d, children[i], &attributes) != 0 &&
                attributes.map_state == IsViewable) {
                found = children[i];
            }
            XFree(name);
        }
    }
    XFree(children);
    return found;
}

bool RunningProgram::WaitForWindow() {
    WaitFor([this] {
        window_ = FindWindow("Lumidot v0.21");
        return window_ != 0 || !Alive();
    });
    return window_ != 0;
}

Window RunningProgram::WaitForWindowTitled(const char* title) {
    Window found = 0;
    WaitFor([&] {
        found = FindWindow(title);
        return found != 0 || !Alive();
    });
    return found;
}

void RunningProgram::Press(KeySym key, Window window) {
    Display* d = x_.Connection();
    XSetInputFocus(d, window != 0 ? window : window_, RevertToParent, CurrentTime);
    const KeyCode code = XKeysymToKeycode(d, key);
    XTestFakeKeyEvent(d, code, True, CurrentTime);
    XTestFakeKeyEvent(d, code, False, CurrentTime);
    XSync(d, False);
}

void RunningProgram::Click(int x, int y) {
    Display* d = x_.Connection();
    int rootX = 0, rootY = 0;
    Window child = 0;
    XTranslateCoordinates(d, window_, DefaultRootWindow(d), x, y, &rootX, &rootY, &child);
    XTestFakeMotionEvent(d, -1, rootX, rootY, CurrentTime);
    XTestFakeButtonEvent(d, 1, True, CurrentTime);
    XTestFakeButtonEvent(d, 1, False, CurrentTime);
    XSync(d, False);
}

void RunningProgram::Close() {
    Display* d = x_.Connection();
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window_;
    event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, window_, False, NoEventMask, &event);
    XSync(d, False);
}

bool RunningProgram::WaitForScreen(const std::function<bool(const Screenshot&)>& test,
                                   Clock::duration deadline) {
    return WaitFor(
        [&] {
            Screenshot shot(x_.Connection(), window_);
            return shot.Valid() && test(shot);
        },
        deadline);
}

}  // namespace lumidot::e2e
