#include <QApplication>

#include "cartridges/zentrax/Zentrax.h"
#include "console/Console.h"
#include "console/Slot.h"
#include "window/Application.h"
#include "window/CommandLine.h"
#include "window/MainWindow.h"
#include "window/QtPlatform.h"
#include "window/SignalWatcher.h"

int main(int argc, char* argv[]) {
    lumidot::Options options;
    if (const auto code = lumidot::ParseCommandLine(argc, argv, options)) {
        return *code;
    }
    const auto app = lumidot::OpenApplication(argc, argv);
    if (!app) {
        return lumidot::kExitNoDisplay;
    }
    lumidot::SetUpApplication(*app);

    lumidot::QtPlatform platform;
    lumidot::Console console(platform);
    lumidot::Slot slot(console);
    lumidot::MainWindow window(console, slot);
    // The one cartridge, dressing the window it plays in.
    lumidot::Zentrax zentrax(console, window);
    slot.Plug(zentrax);
    window.Load();
    window.SetStartScale(options.scale);
    const lumidot::SignalWatcher endOnSignal(window);
    window.show();
    const int code = QApplication::exec();
    window.Terminate();
    return code;
}
