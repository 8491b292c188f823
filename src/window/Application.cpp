#include "window/Application.h"

#include <QApplication>
#include <QStyleFactory>

#include "Version.h"

namespace lumidot {

void SetUpApplication(QApplication& app) {
    QApplication::setApplicationName(QLatin1String(kProgramName));
    QApplication::setApplicationVersion(QLatin1String(kVersion));
    QApplication::setOrganizationName(QStringLiteral("none"));
    // Ties the window to its desktop entry, for its icon and name.
    QGuiApplication::setDesktopFileName(QLatin1String(kAppId));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    app.setQuitOnLastWindowClosed(true);
}

}  // namespace lumidot
