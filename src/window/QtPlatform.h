#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <random>

#include "console/Platform.h"
#include "sound/WavPlayer.h"

namespace lumidot {

// The machine as the running program sees it: Qt's event loop and
// monotonic clock, SDL's audio output, the executable's folder.
class QtPlatform : public Platform {
  public:
    // How the game's loops pump: Wait sleeps in the event dispatcher while
    // nothing is due; Spin handles events over and over without ever
    // yielding the processor, which the benchmark keeps as its baseline.
    enum class Pumping { Wait, Spin };

    // The sound device is released once no sound has played for
    // `releaseAudioAfter` seconds; an infinite time keeps it open, as the
    // benchmark's baselines do.
    explicit QtPlatform(Pumping pumping = Pumping::Wait,
                        double releaseAudioAfter = WavPlayer::kReleaseAfterSeconds);

    double Seconds() override;
    void PumpEvents() override;
    void AwaitEvents(double until) override;
    void Defer(std::function<void()> action) override;
    void PlayWave(const std::string& path) override;
    void Randomize() override;
    float Random() override;
    std::string AppFolder() override;

  private:
    // Handles what is pending, without waiting.
    void Dispatch();

    const Pumping pumping_;
    QElapsedTimer clock_;
    // When the events were last handled, and whether any was since the
    // last wait.
    double lastDispatch_ = -1.0;
    bool handledSinceWait_ = false;
    // Wakes a wait at its deadline.
    QTimer alarm_;
    std::mt19937 random_;
    WavPlayer sound_;
};

}  // namespace lumidot
