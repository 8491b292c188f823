#include "e2e/XSession.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace lumidot::e2e {

bool WaitFor(const std::function<bool()>& condition, Clock::duration deadline) {
    const auto end = Clock::now() + deadline;
    while (true) {
        if (condition()) {
            return true;
        }
        if (Clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// ---------------------------------------------------------------------------

Child::Child(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
             int passFd) {
    std::map<std::string, std::string> merged;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry(*e);
        const auto eq = entry.find('=');
        if (eq != std::string::npos) {
            merged[entry.substr(0, eq)] = entry.substr(eq + 1);
        }
    }
    for (const auto& [key, value] : env) {
        merged[key] = value;
    }
    std::vector<std::string> envStrings;
    for (const auto& [key, value] : merged) {
        envStrings.push_back(key + "=" + value);
    }
    std::vector<char*> envp;
    for (auto& s : envStrings) {
        envp.push_back(s.data());
    }
    envp.push_back(nullptr);
    std::vector<std::string> args(argv);
    std::vector<char*> argp;
    for (auto& a : args) {
        argp.push_back(a.data());
    }
    argp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (passFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, passFd, 3);
    }
    const int rc = posix_spawnp(&pid_, argp[0], &actions, nullptr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        throw std::runtime_error("cannot start " + args[0] + ": " + std::strerror(rc));
    }
}

Child::~Child() {
    Kill();
}

bool Child::Running() {
    if (reaped_) {
        return false;
    }
    if (waitpid(pid_, &status_, WNOHANG) == pid_) {
        reaped_ = true;
    }
    return !reaped_;
}

int Child::WaitForExit(Clock::duration deadline) {
    if (!WaitFor([this] { return !Running(); }, deadline)) {
        return -1;
    }
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
}

void Child::Kill() {
    if (!Running()) {
        return;
    }
    // Asked first, so that an X server removes its lock and socket.
    ::kill(pid_, SIGTERM);
    if (!WaitFor([this] { return !Running(); }, std::chrono::seconds(5))) {
        ::kill(pid_, SIGKILL);
        waitpid(pid_, &status_, 0);
        reaped_ = true;
    }
}

// ---------------------------------------------------------------------------

XServer::XServer() {
    int fds[2];
    if (pipe(fds) != 0) {
        throw std::runtime_error("pipe failed");
    }
    // Xvfb picks a free display and writes its number to descriptor 3.
    server_ = std::make_unique<Child>(
        std::vector<std::string>{"Xvfb", "-displayfd", "3", "-screen", "0", "800x600x24", "-dpi",
                                 "96", "-nolisten", "tcp", "-noreset"},
        std::map<std::string, std::string>{}, fds[1]);
    close(fds[1]);
    std::string number;
    const auto end = Clock::now() + kDeadline;
    while (Clock::now() < end && number.find('\n') == std::string::npos) {
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, 100) > 0) {
            char buffer[32];
            const ssize_t n = read(fds[0], buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            number.append(buffer, static_cast<std::size_t>(n));
        }
    }
    close(fds[0]);
    if (number.find('\n') == std::string::npos) {
        throw std::runtime_error("Xvfb did not start");
    }
    name_ = ":" + number.substr(0, number.find('\n'));
    display_ = XOpenDisplay(name_.c_str());
    if (display_ == nullptr) {
        throw std::runtime_error("cannot connect to Xvfb at " + name_);
    }
}

XServer::~XServer() {
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
}

// ---------------------------------------------------------------------------

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

unsigned long Screenshot::Rgb(int x, int y) const {
    return XGetPixel(image_, x, y) & 0xffffff;
}

int Screenshot::Grey(int x, int y) const {
    const unsigned long p = Rgb(x, y);
    const int r = static_cast<int>((p >> 16) & 0xff);
    const int g = static_cast<int>((p >> 8) & 0xff);
    const int b = static_cast<int>(p & 0xff);
    return r == g && g == b ? r : -1;
}

// ---------------------------------------------------------------------------

namespace {

// Errors from windows that vanish while they are looked at are expected.
int IgnoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

}  // namespace

RunningProgram::RunningProgram() {
    XSetErrorHandler(IgnoreXErrors);
    program_ = std::make_unique<Child>(
        std::vector<std::string>{LUMIDOT_EXECUTABLE},
        std::map<std::string, std::string>{
            {"DISPLAY", x_.Name()}, {"QT_QPA_PLATFORM", "xcb"}, {"SDL_AUDIODRIVER", "dummy"}});
}

RunningProgram::~RunningProgram() {
    program_->Kill();
}

Window RunningProgram::FindWindow() {
    Display* d = Connection();
    Window root = DefaultRootWindow(d);
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    window_ = 0;
    if (XQueryTree(d, root, &root, &parent, &children, &count) == 0) {
        return 0;
    }
    for (unsigned int i = 0; i < count && window_ == 0; ++i) {
        char* name = nullptr;
        XWindowAttributes attributes;
        if (XFetchName(d, children[i], &name) != 0 && name != nullptr) {
            if (std::strcmp(name, "Lumidot v0.21") == 0 &&
                XGetWindowAttributes(d, children[i], &attributes) != 0 &&
                attributes.map_state == IsViewable) {
                window_ = children[i];
            }
            XFree(name);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return window_;
}

bool RunningProgram::WaitForWindow() {
    WaitFor([this] { return FindWindow() != 0 || !Alive(); });
    return window_ != 0;
}

void RunningProgram::Click(int x, int y) {
    Display* d = Connection();
    int rootX = 0;
    int rootY = 0;
    Window child = 0;
    XTranslateCoordinates(d, window_, DefaultRootWindow(d), x, y, &rootX, &rootY, &child);
    XTestFakeMotionEvent(d, -1, rootX, rootY, CurrentTime);
    XTestFakeButtonEvent(d, 1, True, CurrentTime);
    XTestFakeButtonEvent(d, 1, False, CurrentTime);
    XSync(d, False);
}

void RunningProgram::Close() {
    Display* d = Connection();
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

bool RunningProgram::WaitForScreen(const std::function<bool(const Screenshot&)>& test) {
    return WaitFor([&] {
        Screenshot shot(Connection(), window_);
        return shot.Valid() && test(shot);
    });
}

}  // namespace lumidot::e2e
