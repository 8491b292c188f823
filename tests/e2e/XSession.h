#pragma once

// Qt's headers must come before Xlib's macros.
#include <QProcess>
#include <chrono>
#include <functional>
#include <string>

#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace lumidot::e2e {

using Clock = std::chrono::steady_clock;

// Generous: a slow or busy machine must never fail a test, only slow it.
constexpr auto kDeadline = std::chrono::seconds(30);

// Polls until the condition holds or the deadline passes; returns whether
// it held.
bool WaitFor(const std::function<bool()>& condition, Clock::duration deadline = kDeadline);

// A private virtual X server (Xvfb) on a display number it picks itself.
class XServer {
  public:
    XServer();
    ~XServer();

    const QString& Name() const { return name_; }
    Display* Connection() const { return display_; }

  private:
    QProcess server_;
    QString name_;
    Display* display_ = nullptr;
};

// One screen read of a window's client area.
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

  private:
    XImage* image_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// Centre of dot cell n (0 to 255) in the window's client area. The display
// panel starts 8 pixels above it; cells lie at a pitch of 8 and are 6.4
// wide.
inline int CellX(int n) {
    return 24 + 8 * (n % 16) + 3;
}
inline int CellY(int n) {
    return 24 + 8 * (n / 16) + 3;
}

// The display as 16 lines of '#' (a black cell), '.' (an unlit cell of
// grey 208) and '?' (anything else).
std::string ShownDots(const Screenshot& shot);

// The Lumidot program running on its own X server, driven with the pointer
// as a person would and read back from the screen.
class RunningProgram {
  public:
    // `environment` adds NAME=value settings to the program's environment.
    explicit RunningProgram(const QString& executable = QStringLiteral(LUMIDOT_EXECUTABLE),
                            const QStringList& environment = {});
    ~RunningProgram();

    // Waits for the window with the program's caption to be shown; false if
    // the program died first or the deadline passed.
    bool WaitForWindow();
    bool Alive();

    // Waits for another top-level window of the program, such as a message
    // box, to be shown; 0 if none came.
    Window WaitForWindowTitled(const char* title);
    // The shown window with this title now, or 0.
    Window WindowTitled(const char* title) { return FindWindow(title); }

    // Left click at a point of the window's client area.
    void Click(int x, int y);
    // Gives a window (the program's main window unless another is named)
    // the keyboard focus and types a key in it.
    void Press(KeySym key, Window window = 0);
    // Asks the window to close, as the title bar's close button does.
    void Close();
    // The exit code, or -1 if the program crashed or did not exit in time.
    int WaitForExit();

    // Waits until the screen passes the test; false at the deadline.
    bool WaitForScreen(const std::function<bool(const Screenshot&)>& test,
                       Clock::duration deadline = kDeadline);

  private:
    Window FindWindow(const char* title);

    XServer x_;
    QProcess program_;
    Window window_ = 0;
};

}  // namespace lumidot::e2e
