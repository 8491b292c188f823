#include <QApplication>

#include "cartridges/zentrax/Zentrax.h"
#include "console/Console.h"
#include "console/Slot.h"
#include "window/Application.h"
#include "window/MainWindow.h"
#include "window/QtPlatform.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    lumidot::SetUpApplication(app);

    lumidot::QtPlatform platform;
    lumidot::Console console(platform);
    lumidot::Slot slot(console);
    lumidot::MainWindow window(console, slot);
    // The one cartridge, dressing the window it plays in.
    lumidot::Zentrax zentrax(console, window);
    slot.Plug(zentrax);
    window.Load();
    window.show();
    const int code = QApplication::exec();
    window.Terminate();
    return code;
}
