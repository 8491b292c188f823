#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace lumidot::e2e {

using Clock = std::chrono::steady_clock;

// Generous: a slow or busy machine must never fail a test, only slow it.
constexpr auto kDeadline = std::chrono::seconds(30);

// Polls until the condition holds or the deadline passes; returns whether
// it held.
bool WaitFor(const std::function<bool()>& condition, Clock::duration deadline = kDeadline);

// A child process started with extra environment variables.
class Child {
  public:
    Child(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
          int passFd = -1);
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    pid_t Pid() const { return pid_; }
    bool Running();
    // Waits for the exit; returns the exit code, or -1 when the deadline
    // passed or the process died of a signal.
    int WaitForExit(Clock::duration deadline = kDeadline);
    void Kill();

  private:
    pid_t pid_ = -1;
    bool reaped_ = false;
    int status_ = 0;
};

// A private virtual X server (Xvfb) on a display number it picks itself.
class XServer {
  public:
    XServer();
    ~XServer();

    const std::string& Name() const { return name_; }
    Display* Connection() const { return display_; }

  private:
    std::string name_;
    std::unique_ptr<Child> server_;
    Display* display_ = nullptr;
};

// One screen read of a window: its client area as RGB.
class Screenshot {
  public:
    Screenshot(Display* display, Window window);
    ~Screenshot();
    Screenshot(const Screenshot&) = delete;
    Screenshot& operator=(const Screenshot&) = delete;

    bool Valid() const { return image_ != nullptr; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // A grey level when the pixel is grey, or -1 when it is not.
    int Grey(int x, int y) const;
    unsigned long Rgb(int x, int y) const;

  private:
    XImage* image_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// The Lumidot program running on its own X server, driven with the pointer
// as a person would and read back from the screen.
class RunningProgram {
  public:
    RunningProgram();
    ~RunningProgram();

    // The window with the program's caption, once it is shown (0 until then).
    Window FindWindow();
    Window MainWindow() const { return window_; }
    Display* Connection() const { return x_.Connection(); }

    // Left click at a point of the window's client area, in logical pixels.
    void Click(int x, int y);
    // Asks the window to close, as the title bar's close button does.
    void Close();
    int WaitForExit() { return program_->WaitForExit(); }
    bool Alive() { return program_->Running(); }
    // Waits for the window to be shown; false if the program died first or
    // the deadline passed.
    bool WaitForWindow();

    // Waits until the screen satisfies the test; false at the deadline.
    bool WaitForScreen(const std::function<bool(const Screenshot&)>& test);

  private:
    XServer x_;
    std::unique_ptr<Child> program_;
    Window window_ = 0;
};

}  // namespace lumidot::e2e
