#pragma once

#include <QElapsedTimer>
#include <random>

#include "console/Platform.h"
#include "sound/WavPlayer.h"

namespace lumidot {

// The machine as the running program sees it: Qt's event loop and
// monotonic clock, SDL's audio output, the executable's folder.
class QtPlatform : public Platform {
  public:
    QtPlatform();

    double Seconds() override;
    void PumpEvents() override;
    void PlayWave(const std::string& path) override;
    void Randomize() override;
    float Random() override;
    std::string AppFolder() override;

  private:
    QElapsedTimer clock_;
    std::mt19937 random_;
    WavPlayer sound_;
};

}  // namespace lumidot
