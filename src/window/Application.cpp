#include "window/Application.h"

#include <QApplication>
#include <QStyleFactory>

namespace lumidot {

void SetUpApplication(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("Lumidot"));
    QApplication::setApplicationVersion(QStringLiteral("0.21"));
    QApplication::setOrganizationName(QStringLiteral("none"));
    // Ties the window to its desktop entry, for its icon and name.
    QGuiApplication::setDesktopFileName(QStringLiteral(LUMIDOT_APP_ID));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    app.setQuitOnLastWindowClosed(true);
}

}  // namespace lumidot
