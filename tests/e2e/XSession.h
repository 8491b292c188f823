#pragma once

// Qt's headers must come before Xlib's macros.
#include <QProcess>
#include <chrono>
#include <functional>
#include <string>

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include "window/Layout.h"

namespace lumidot::e2e {

using Clock = std::chrono::steady_clock;

// Generous: a slow or busy machine must never fail a test, only slow it.
constexpr auto kDeadline = std::chrono::seconds(30);

// Polls until the condition holds or the deadline passes.
bool WaitFor(const std::function<bool()>& condition, Clock::duration deadline = kDeadline);

// One read of a window's client area.
class Screenshot {
  public:
    Screenshot(Display* display, Window window);
    ~Screenshot();
    Screenshot(const Screenshot&) = delete;
    Screenshot& operator=(const Screenshot&) = delete;

    bool Valid() const { return image_ != nullptr; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The pixel's grey level, or -1 when it is not grey.
    int Grey(int x, int y) const;
    // The display as its cells show it: '#' black, '.' unlit, '?' else.
    std::string Dots() const;

  private:
    XImage* image_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// The program on a private Xvfb of its own, driven with the X test
// extension as a person would and read back from the screen.
class RunningProgram {
  public:
    RunningProgram(const QString& executable, const QStringList& arguments = {});
    ~RunningProgram();

    // Waits for a shown window with this title; 0 if none came.
    Window WaitForWindow(const std::string& title);
    bool Alive();
    // Left click at a point of the main window's client area.
    void Click(layout::Point point);
    // Gives a window (the main one unless named) the focus and types a key.
    void Press(KeySym key, Window window = 0);
    // Asks the main window to close, as its close button does.
    void Close();
    void Signal(int signal);
    // The exit code, or -1 after a crash or when it did not end in time.
    int WaitForExit();
    bool WaitForScreen(const std::function<bool(const Screenshot&)>& test);

  private:
    QProcess server_;
    Display* display_ = nullptr;
    QProcess program_;
    Window window_ = 0;
};

}  // namespace lumidot::e2e
