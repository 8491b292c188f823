#include <gtest/gtest.h>

#include <QApplication>

#include "window/Application.h"

// Widget tests share one application object, set up as the program's. CTest
// runs them on Qt's offscreen platform; run by hand without a display they
// fall back to it as well.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    lumidot::SetUpApplication(app);
    return RUN_ALL_TESTS();
}
