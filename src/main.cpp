#include <QApplication>

#include "Handheld.h"
#include "window/Application.h"
#include "window/CommandLine.h"
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
    lumidot::Handheld handheld(platform);
    handheld.window.SetStartScale(options.scale);
    const lumidot::SignalWatcher endOnSignal(handheld.window);
    handheld.window.show();
    const int code = QApplication::exec();
    handheld.window.Terminate();
    return code;
}
