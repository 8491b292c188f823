#pragma once

#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "console/Platform.h"

namespace lumidot::testing {

// A clock that moves a millisecond a pump, running the actions scripted for
// the time reached as the window's events would. Waiting, it sleeps to its
// deadline or next action, unless an action ran since the last wait.
class VirtualPlatform : public Platform {
  public:
    explicit VirtualPlatform(double start = 0.0) : now_(start) {}

    // A clock read also moves it by readStep: a script that computes
    // without waiting still sees time pass.
    double Seconds() override { return now_ += readStep; }
    void PumpEvents() override {
        ++pumps;
        now_ += 0.001;
        if (onPump) onPump();
        while (!actions_.empty() && actions_.begin()->first <= now_) {
            auto action = std::move(actions_.begin()->second);
            actions_.erase(actions_.begin());
            acted_ = true;
            action();
        }
        RunDeferred();
    }
    void AwaitEvents(double until) override {
        PumpEvents();
        const double next =
            actions_.empty() ? until : std::min(until, actions_.begin()->first - 0.001);
        if (waiting && !acted_ && std::isfinite(next) && next > now_) now_ = next;
        acted_ = false;
    }
    void Defer(std::function<void()> action) override { deferred_.push_back(std::move(action)); }
    // The event loop's turn with nothing beneath it: what was deferred runs.
    void RunDeferred() {
        auto now = std::move(deferred_);
        deferred_.clear();
        for (auto& action : now) {
            acted_ = true;
            action();
        }
    }
    // A sound blocks: the clock moves on without any event being handled.
    void PlayWave(const std::string& path) override {
        played.push_back({path, now_});
        if (onSound) onSound(path);
        now_ += soundSeconds;
    }
    void Randomize() override {}
    float Random() override { return ++drawsTaken <= draws.size() ? draws[drawsTaken - 1] : 0.0f; }
    std::string AppFolder() override { return folder; }

    // Runs the action at the first pump that reaches the time t.
    void At(double t, std::function<void()> action) { actions_.emplace(t, std::move(action)); }

    std::function<void()> onPump;  // at every pump, before its actions
    std::function<void(const std::string&)> onSound;
    std::vector<float> draws;  // what Random() returns in turn; then 0
    std::size_t drawsTaken = 0;
    bool waiting = false;
    double soundSeconds = 0.25;
    double readStep = 0.0;
    std::string folder = "/virtual/lumidot";
    long pumps = 0;
    std::vector<std::pair<std::string, double>> played;  // each sound and when it began

  private:
    double now_;
    bool acted_ = false;
    std::multimap<double, std::function<void()>> actions_;
    std::vector<std::function<void()>> deferred_;
};

}  // namespace lumidot::testing
