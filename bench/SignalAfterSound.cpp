#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "Children.h"
#include "Rig.h"
#include "window/Application.h"
#include "window/CommandLine.h"
#include "window/DotMatrix.h"
#include "window/QtPlatform.h"
#include "window/SignalWatcher.h"

namespace lumidot::bench {

namespace {

// Should the signal never come, the window ends by itself, and not with 0.
constexpr int kDeadlineMs = 120000;
constexpr int kExitNoSignal = 3;

}  // namespace

int RunSignalAfterSound(int& argc, char* argv[]) {
    // The sound starts SDL's audio, as the window's first sound does.
    qputenv("SDL_AUDIODRIVER", "dummy");
    UseOffscreenWithoutDisplay();
    const auto app = OpenApplication(argc, argv);
    if (!app) {
        return kExitNoDisplay;
    }
    SetUpApplication(*app);
    // Wired and shown as the program's main does.
    QtPlatform platform;
    Rig rig(platform);
    rig.window.SetStartScale(1.0);
    const SignalWatcher endOnSignal(rig.window);
    WhenPainted(*rig.window.Display(), [&rig] {
        rig.console.PlaySample("zx_hit.wav");
        std::puts("sound ended");
        std::fflush(stdout);
    });
    QTimer::singleShot(kDeadlineMs, [] { QCoreApplication::exit(kExitNoSignal); });
    rig.window.show();
    const int code = QApplication::exec();
    rig.window.Terminate();
    return code;
}

}  // namespace lumidot::bench
