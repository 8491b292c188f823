#include "window/QtPlatform.h"

#include <QCoreApplication>
#include <chrono>

namespace lumidot {

QtPlatform::QtPlatform() {
    clock_.start();
}

double QtPlatform::Seconds() {
    return static_cast<double>(clock_.nsecsElapsed()) * 1e-9;
}

void QtPlatform::PumpEvents() {
    QCoreApplication::processEvents();
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
