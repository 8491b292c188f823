#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "console/Console.h"
#include "sound/WavPlayer.h"
#include "window/QtPlatform.h"

namespace lumidot::bench {

// The platform of the program, watched: every sound it plays is timed
// against the sound's own length.
class WatchedPlatform : public QtPlatform {
  public:
    using QtPlatform::QtPlatform;

    void PlayWave(const std::string& path) override {
        const double start = Seconds();
        QtPlatform::PlayWave(path);
        const double seconds = static_cast<double>(WavPlayer::Load(path).size()) /
                               (WavPlayer::kRate * WavPlayer::kChannels);
        overruns.push_back(Seconds() - start - seconds);
        if (onSound) {
            onSound(path);
        }
    }

    std::vector<double> overruns;
    std::function<void(const std::string&)> onSound;
};

// Each step's lateness counts from its due time or, when one of the game's
// own waits (the hit test's pause, a sound) held it up, from that wait's end.
class StepTimes : public TimingWatch {
  public:
    void StepRan(double due, double ran) override {
        held += lastHoldEnd_ > due ? 1 : 0;
        lateness.push_back(ran - std::max(due, lastHoldEnd_));
    }
    void HoldEnded(double at) override { lastHoldEnd_ = at; }

    std::vector<double> lateness;
    int held = 0;

  private:
    double lastHoldEnd_ = 0.0;
};

}  // namespace lumidot::bench
