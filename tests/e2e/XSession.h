#pragma once

// Qt's headers must come before Xlib's macros.
#include <QProcess>
#include <functional>
#include <string>

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include "window/Layout.h"

namespace lumidot::e2e {

// The program on a private Xvfb of its own, driven with the X test
// extension as a person would and read back from the screen. Every wait
// polls with a generous deadline: a slow machine slows a test, never
// fails it.
class RunningProgram {
  public:
    explicit RunningProgram(const QString& executable);
    ~RunningProgram();

    // Waits for a shown window with this title; 0 if none came.
    Window WaitForWindow(const std::string& title);
    bool Alive();
    // A left click at a point of the main window, in its logical pixels.
    void Click(layout::Point point);
    // Gives a window (the main one unless named) the focus and types a key.
    void Press(KeySym key, Window window = 0);
    // Asks the main window to close, as its close button does.
    void Close();
    // The exit code; -1 after a crash, or when it did not end in time.
    int WaitForExit();
    // Waits until the display, read off the screen as 16 lines of '#'
    // (black), '.' (unlit) and '?', passes the test.
    bool WaitForDots(const std::function<bool(const std::string&)>& test);

  private:
    QProcess server_;
    Display* display_ = nullptr;
    QProcess program_;
    Window window_ = 0;
};

}  // namespace lumidot::e2e
