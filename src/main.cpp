#include <QApplication>

#include "console/Console.h"
#include "window/Application.h"
#include "window/QtPlatform.h"
#include "window/frmMain.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    lumidot::SetUpApplication(app);

    lumidot::QtPlatform platform;
    lumidot::Console console(platform);
    lumidot::frmMain window(console);
    window.show();
    const int code = QApplication::exec();
    window.Form_Terminate();
    return code;
}
