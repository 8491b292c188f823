#include "window/QtPlatform.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <chrono>
#include <cmath>
#include <thread>

namespace lumidot {

namespace {

// Pumps that come sooner than this after the events were last handled
// return at once. The display refresh pumps after each of its 256 cells,
// and all of them together take a few microseconds: one look at the event
// queue per tick is enough for any click to be handled without delay.
constexpr double kPumpGap = 0.0005;

// A wait shorter than this is slept through: it is too short for the event
// dispatcher's millisecond timers to end on time.
constexpr double kShortestTimedWait = 0.001;

}  // namespace

QtPlatform::QtPlatform(Pumping pumping, double releaseAudioAfter)
    : pumping_(pumping), sound_(releaseAudioAfter) {
    clock_.start();
    alarm_.setSingleShot(true);
    alarm_.setTimerType(Qt::PreciseTimer);
}

double QtPlatform::Seconds() {
    return static_cast<double>(clock_.nsecsElapsed()) * 1e-9;
}

void QtPlatform::Dispatch() {
    lastDispatch_ = Seconds();
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (dispatcher != nullptr && dispatcher->processEvents(QEventLoop::AllEvents)) {
        handledSinceWait_ = true;
    }
}

void QtPlatform::PumpEvents() {
    if (pumping_ == Pumping::Wait && Seconds() - lastDispatch_ < kPumpGap) {
        return;
    }
    Dispatch();
}

void QtPlatform::AwaitEvents(double until) {
    Dispatch();
    if (pumping_ == Pumping::Spin) {
        return;
    }
    const bool handled = handledSinceWait_;
    handledSinceWait_ = false;
    if (handled) {
        // Whatever was handled may have given the caller work to do now.
        return;
    }
    const double remaining = until - Seconds();
    if (remaining <= 0.0) {
        return;
    }
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (remaining < kShortestTimedWait || dispatcher == nullptr) {
        std::this_thread::sleep_for(std::chrono::duration<double>(std::min(remaining, 0.01)));
        return;
    }
    // Woken by the next event or by the alarm, whichever comes first. The
    // alarm rings a little early rather than late: what is left of the
    // wait then is slept through.
    if (std::isfinite(remaining)) {
        alarm_.start(static_cast<int>(std::min(remaining * 1000.0, 3.6e6)));
    }
    dispatcher->processEvents(QEventLoop::WaitForMoreEvents);
    alarm_.stop();
    lastDispatch_ = Seconds();
    handledSinceWait_ = false;
}

void QtPlatform::Defer(std::function<void()> action) {
    // A queued call: run by the event loop, never inside this one.
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(action),
                              Qt::QueuedConnection);
}

void QtPlatform::PlayWave(const std::string& path) {
    sound_.Play(path);
}

void QtPlatform::Randomize() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    random_.seed(static_cast<std::mt19937::result_type>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

float QtPlatform::Random() {
    // 24 random bits make every float of [0, 1) at its own resolution and
    // can never round up to 1.
    return static_cast<float>(random_() >> 8) * (1.0f / 16777216.0f);
}

std::string QtPlatform::AppFolder() {
    return QCoreApplication::applicationDirPath().toStdString();
}

}  // namespace lumidot
