#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "console/Platform.h"

namespace lumidot::testing {

// A machine whose clock only moves when events are pumped: each pump
// advances it by a fixed step and then runs the actions scripted for the
// time reached, as a click or a removal would arrive from the window. A
// whole game runs this way in milliseconds, the same every time.
class VirtualPlatform : public Platform {
  public:
    struct PlayedSound {
        std::string path;
        double at;
    };

    explicit VirtualPlatform(double start = 0.0, double step = 0.001);

    double Seconds() override { return now_; }
    void PumpEvents() override;
    // A pump; then, if the machine waits and no action has run since the
    // last wait, the clock jumps to `until` or to the next timed action,
    // whichever comes first, as a machine asleep in its dispatcher would.
    void AwaitEvents(double until) override;
    // Kept until the next pump, or until the test turns the event loop.
    void Defer(std::function<void()> action) override;
    void PlayWave(const std::string& path) override;
    void Randomize() override { ++seedings_; }
    float Random() override;
    std::string AppFolder() override { return appFolder_; }

    // The event loop's turn with nothing beneath it: runs what was deferred.
    void RunDeferred();

    // Runs the action at the first pump that reaches the time t.
    void At(double t, std::function<void()> action);
    // Runs the action at the n-th pump from now (1 is the next one).
    void AtPump(long n, std::function<void()> action);
    // Also called at every pump, before the scripted actions: a widget test
    // lets Qt handle its events here.
    void OnEveryPump(std::function<void()> hook) { everyPump_ = std::move(hook); }

    // Called as each sound starts, before the clock moves on.
    void OnSound(std::function<void(const std::string& path)> hook) { onSound_ = std::move(hook); }

    // The draws that Random() returns, in order; past the end, 0.
    void ScriptRandom(std::vector<float> draws);
    // Whether AwaitEvents waits; a machine that does not pumps once.
    void SetWaiting(bool waiting) { waiting_ = waiting; }
    void SetSoundSeconds(double seconds) { soundSeconds_ = seconds; }
    void SetAppFolder(std::string folder) { appFolder_ = std::move(folder); }

    long Pumps() const { return pumps_; }
    // How many draws Random() has handed out.
    std::size_t DrawsTaken() const { return nextDraw_; }
    // How many pumps are running, one inside the other: 1 inside an action
    // run by a pump that nothing else pumped around.
    int Depth() const { return depth_; }
    int Seedings() const { return seedings_; }
    const std::vector<PlayedSound>& Played() const { return played_; }

  private:
    double now_;
    double step_;
    bool waiting_ = false;
    bool actedSinceWait_ = false;
    long pumps_ = 0;
    int depth_ = 0;
    int seedings_ = 0;
    double soundSeconds_ = 0.25;
    std::string appFolder_ = "/virtual/lumidot";
    std::multimap<double, std::function<void()>> byTime_;
    std::multimap<long, std::function<void()>> byPump_;
    std::vector<std::function<void()>> deferred_;
    std::function<void()> everyPump_;
    std::function<void(const std::string&)> onSound_;
    std::vector<float> draws_;
    std::size_t nextDraw_ = 0;
    std::vector<PlayedSound> played_;
};

}  // namespace lumidot::testing
