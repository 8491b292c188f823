#pragma once

#include <functional>
#include <string>

namespace lumidot {

// What the console needs from the machine it runs on. The program uses the
// Qt implementation; tests use a virtual one whose clock they drive.
class Platform {
  public:
    virtual ~Platform() = default;

    // Monotonic seconds since an arbitrary start. Never wraps at midnight,
    // so no wait or interval measured on it can hang.
    virtual double Seconds() = 0;

    // Handles the window's pending events once and returns. Handlers of the
    // window run nested inside this call.
    virtual void PumpEvents() = 0;

    // Handles the window's pending events as PumpEvents does. When none were
    // handled, here or by any pump since the previous call, it then waits for
    // the next event, but not past `until` (on the Seconds() clock). A loop
    // that has nothing to do before a known time calls this instead of
    // spinning; the caller looks at its state again either way.
    virtual void AwaitEvents(double until) = 0;

    // Runs the action later, from the window's event loop, never inside the
    // call that asks for it. A pump nested in a handler may run it too, so
    // the action looks at where it stands.
    virtual void Defer(std::function<void()> action) = 0;

    // Plays a WAV file and returns when it has ended. A file that cannot be
    // played gives a short default sound instead; with no audio device the
    // call still takes as long as the sound would have.
    virtual void PlayWave(const std::string& path) = 0;

    // Seeds the random generator from the clock.
    virtual void Randomize() = 0;

    // Uniform in [0, 1).
    virtual float Random() = 0;

    // The folder that holds the executable, without a trailing separator.
    virtual std::string AppFolder() = 0;
};

}  // namespace lumidot
