#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "console/Platform.h"

namespace lumidot::testing {

// A machine whose clock moves only when events are pumped: each pump
// advances it by a step and runs the actions scripted for the time reached,
// as a click or a removal would arrive from the window. A whole game runs
// in milliseconds, the same every time.
class VirtualPlatform : public Platform {
  public:
    struct Sound {
        std::string path;
        double at;
    };

    explicit VirtualPlatform(double start = 0.0) : now_(start) {}

    double Seconds() override { return now_; }
    void PumpEvents() override;
    // A pump; then, when `waiting` and nothing ran since the last wait, the
    // clock jumps to `until` or to the next action, as a machine asleep in
    // its dispatcher would.
    void AwaitEvents(double until) override;
    void Defer(std::function<void()> action) override { deferred_.push_back(std::move(action)); }
    // A sound blocks: the clock moves on without any event being handled.
    void PlayWave(const std::string& path) override;
    void Randomize() override { ++seedings; }
    float Random() override;
    std::string AppFolder() override { return folder; }

    // Runs the action at the first pump that reaches the time t.
    void At(double t, std::function<void()> action) { actions_.emplace(t, std::move(action)); }
    // The event loop's turn with nothing beneath it: runs what was deferred.
    void RunDeferred();

    std::function<void()> onPump;  // at every pump, before its actions
    std::function<void(const std::string&)> onSound;
    std::vector<float> draws;  // what Random() returns in turn; then 0
    std::size_t drawsTaken = 0;
    bool waiting = false;
    double soundSeconds = 0.25;
    std::string folder = "/virtual/lumidot";
    long pumps = 0;
    int seedings = 0;
    std::vector<Sound> played;

  private:
    double now_;
    bool actedSinceWait_ = false;
    std::multimap<double, std::function<void()>> actions_;
    std::vector<std::function<void()>> deferred_;
};

}  // namespace lumidot::testing
