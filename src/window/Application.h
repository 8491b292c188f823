#pragma once

class QApplication;

namespace lumidot {

// Gives the application its name, version and the one look the window was
// laid out for. The program and the widget tests both call it.
void SetUpApplication(QApplication& app);

}  // namespace lumidot
