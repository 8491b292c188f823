#include "support/VirtualPlatform.h"

#include <cmath>

namespace lumidot::testing {

namespace {
constexpr double kStep = 0.001;
}

void VirtualPlatform::PumpEvents() {
    ++pumps;
    now_ += kStep;
    if (onPump) {
        onPump();
    }
    // An action may pump again; each is taken off the list before it runs.
    while (!actions_.empty() && actions_.begin()->first <= now_) {
        auto action = std::move(actions_.begin()->second);
        actions_.erase(actions_.begin());
        actedSinceWait_ = true;
        action();
    }
    RunDeferred();
}

void VirtualPlatform::RunDeferred() {
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
    if (!waiting || acted) {
        return;
    }
    // The next pump reaches the next action's time, as its event would wake
    // the dispatcher.
    const double next = actions_.empty() ? until : std::min(until, actions_.begin()->first - kStep);
    if (std::isfinite(next) && next > now_) {
        now_ = next;
    }
}

void VirtualPlatform::PlayWave(const std::string& path) {
    played.push_back({path, now_});
    if (onSound) {
        onSound(path);
    }
    now_ += soundSeconds;
}

float VirtualPlatform::Random() {
    return drawsTaken < draws.size() ? draws[drawsTaken++] : (++drawsTaken, 0.0f);
}

}  // namespace lumidot::testing
