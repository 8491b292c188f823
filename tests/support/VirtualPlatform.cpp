#include "support/VirtualPlatform.h"

#include <cmath>

namespace lumidot::testing {

VirtualPlatform::VirtualPlatform(double start, double step) : now_(start), step_(step) {}

void VirtualPlatform::PumpEvents() {
    ++depth_;
    struct Leave {
        int& depth;
        ~Leave() { --depth; }
    } leave{depth_};
    ++pumps_;
    now_ += step_;
    if (everyPump_) {
        everyPump_();
    }
    // An action may pump again; each is taken off its list before it runs.
    while (!byPump_.empty() && byPump_.begin()->first <= pumps_) {
        auto action = std::move(byPump_.begin()->second);
        byPump_.erase(byPump_.begin());
        actedSinceWait_ = true;
        action();
    }
    while (!byTime_.empty() && byTime_.begin()->first <= now_) {
        auto action = std::move(byTime_.begin()->second);
        byTime_.erase(byTime_.begin());
        actedSinceWait_ = true;
        action();
    }
    RunDeferred();
}

void VirtualPlatform::Defer(std::function<void()> action) {
    deferred_.push_back(std::move(action));
}

void VirtualPlatform::RunDeferred() {
    // What runs may defer again; that waits for the next turn.
    std::vector<std::function<void()>> now;
    now.swap(deferred_);
    actedSinceWait_ = actedSinceWait_ || !now.empty();
    for (auto& action : now) {
        action();
    }
}

void VirtualPlatform::AwaitEvents(double until) {
    PumpEvents();
    const bool acted = actedSinceWait_;
    actedSinceWait_ = false;
    if (!waiting_ || acted || !byPump_.empty()) {
        return;
    }
    double wake = until;
    if (!byTime_.empty() && byTime_.begin()->first < wake) {
        // The next pump reaches the action's time, as the event wakes the
        // dispatcher.
        wake = byTime_.begin()->first - step_;
    }
    if (std::isfinite(wake) && wake > now_) {
        now_ = wake;
    }
}

void VirtualPlatform::PlayWave(const std::string& path) {
    played_.push_back({path, now_});
    if (onSound_) {
        onSound_(path);
    }
    // A sound blocks: the clock moves on without any event being handled.
    now_ += soundSeconds_;
}

float VirtualPlatform::Random() {
    const float draw = nextDraw_ < draws_.size() ? draws_[nextDraw_] : 0.0f;
    ++nextDraw_;
    return draw;
}

void VirtualPlatform::At(double t, std::function<void()> action) {
    byTime_.emplace(t, std::move(action));
}

void VirtualPlatform::AtPump(long n, std::function<void()> action) {
    byPump_.emplace(pumps_ + n, std::move(action));
}

void VirtualPlatform::ScriptRandom(std::vector<float> draws) {
    draws_ = std::move(draws);
    nextDraw_ = 0;
}

}  // namespace lumidot::testing
