#include <QApplication>
#include <QStandardPaths>
#include <cstdio>

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
    lumidot::CartridgePlaces places;
    for (const std::string& folder : options.cartridges) {
        if (const std::string why = lumidot::WhyNoCartridge(folder); !why.empty()) {
            std::fprintf(stderr, "lumidot: --cartridge: %s\n", why.c_str());
            return lumidot::kExitUsage;
        }
        places.commandLine.emplace_back(folder);
    }
    const auto app = lumidot::OpenApplication(argc, argv);
    if (!app) {
        return lumidot::kExitNoDisplay;
    }
    lumidot::SetUpApplication(*app);

    lumidot::QtPlatform platform;
    // The user's own cartridges ($XDG_DATA_HOME/lumidot/cartridges on Linux)
    // and the ones shipped beside the program.
    places.user = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                      .append(QStringLiteral("/lumidot/cartridges"))
                      .toStdString();
    places.shipped = platform.AppFolder() + "/cartridges";
    lumidot::Handheld handheld(platform, lumidot::FindCartridges(places));
    handheld.window.SetStartScale(options.scale);
    const lumidot::SignalWatcher endOnSignal(handheld.window);
    handheld.window.show();
    const int code = QApplication::exec();
    handheld.window.Terminate();
    return code;
}
