#include "e2e/XSession.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "window/Greys.h"

namespace lumidot::e2e {

namespace {

bool WaitFor(const std::function<bool()>& condition) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

void Stop(QProcess& process) {
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

}  // namespace

RunningProgram::RunningProgram(const QString& executable) {
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });  // windows that vanish
    // Xvfb picks a free display and writes its number.
    server_.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    QByteArray number;
    WaitFor([&] {
        server_.waitForReadyRead(100);
        number += server_.readAllStandardOutput();
        return number.contains('\n') || server_.state() == QProcess::NotRunning;
    });
    const QString name = ":" + QString::fromLatin1(number.trimmed());
    if ((display_ = XOpenDisplay(name.toLatin1().constData())) == nullptr) {
        throw std::runtime_error("no Xvfb");
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", name);
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.insert("SDL_AUDIODRIVER", environment.value("SDL_AUDIODRIVER", "dummy"));
    program_.setProcessEnvironment(environment);
    program_.setProcessChannelMode(QProcess::ForwardedChannels);
    program_.start(executable, {});
}

RunningProgram::~RunningProgram() {
    Stop(program_);
    XCloseDisplay(display_);
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
        for (unsigned int i = 0; i < count; ++i) {
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

int RunningProgram::WaitForExit() {
    if (!program_.waitForFinished(30000) && program_.state() != QProcess::NotRunning) {
        return -1;
    }
    return program_.exitStatus() == QProcess::NormalExit ? program_.exitCode() : -1;
}

bool RunningProgram::WaitForDots(const std::function<bool(const std::string&)>& test) {
    return WaitFor([&] {
        XImage* image = XGetImage(display_, window_, 0, 0, 200, 200, AllPlanes, ZPixmap);
        if (image == nullptr) {
            return false;
        }
        std::string dots;
        for (int n = 0; n < 256; ++n) {
            const layout::Point at = layout::CentreIn(layout::kDisplayPanel, layout::DotCell(n));
            const unsigned long pixel =
                XGetPixel(image, static_cast<int>(at.x), static_cast<int>(at.y));
            const bool grey =
                (pixel & 0xff) == (pixel >> 8 & 0xff) && (pixel & 0xff) == (pixel >> 16 & 0xff);
            dots += !grey                             ? '?'
                    : (pixel & 0xff) == greys::kLit   ? '#'
                    : (pixel & 0xff) == greys::kUnlit ? '.'
                                                      : '?';
            dots += n % 16 == 15 ? "\n" : "";
        }
        XDestroyImage(image);
        return test(dots);
    });
}

}  // namespace lumidot::e2e
