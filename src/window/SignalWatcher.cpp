#include "window/SignalWatcher.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#endif

namespace lumidot {

#if defined(Q_OS_UNIX)

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The handler may only do what is safe inside a signal: it writes a byte
// that the event loop reads.
int wakeUp[2] = {-1, -1};

extern "C" void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeUp[0], &byte, 1);
}

}  // namespace

SignalWatcher::SignalWatcher(QWidget& window) : QObject(&window), window_(window) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, wakeUp) != 0) {
        return;
    }
    // A burst of signals must never block the handler, nor its reading.
    for (const int end : wakeUp) {
        ::fcntl(end, F_SETFL, ::fcntl(end, F_GETFL) | O_NONBLOCK);
    }
    notifier_ = new QSocketNotifier(wakeUp[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SignalWatcher::Handle);
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals) {
        ::sigaction(signal, &action, nullptr);
    }
}

SignalWatcher::~SignalWatcher() {
    if (notifier_ == nullptr) {
        return;
    }
    for (const int signal : kSignals) {
        std::signal(signal, SIG_DFL);
    }
    ::close(wakeUp[0]);
    ::close(wakeUp[1]);
    wakeUp[0] = wakeUp[1] = -1;
}

void SignalWatcher::Handle() {
    char bytes[16];
    while (::read(wakeUp[1], bytes, sizeof bytes) > 0) {
    }
    // The report's answer is not used: closing it lets the game go on to
    // its end, which closes the window as well.
    while (QWidget* modal = QApplication::activeModalWidget()) {
        if (modal == &window_ || !modal->close()) {
            break;
        }
    }
    window_.close();
}

#else

// Elsewhere the system ends a program through its windows.
SignalWatcher::SignalWatcher(QWidget& window) : QObject(&window), window_(window) {}
SignalWatcher::~SignalWatcher() = default;
void SignalWatcher::Handle() {}

#endif

}  // namespace lumidot
