#pragma once

#include <QApplication>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lumidot {

// What the command line asks of a run that opens the window.
struct Options {
    // The window's size factor at start, 1 to 4.
    double scale = 1.0;
    // Folders of cartridges to add to the list, the last one chosen.
    std::vector<std::string> cartridges;
};

// Exit codes besides 0.
constexpr int kExitNoDisplay = 1;
constexpr int kExitUsage = 2;

// Reads the command line before any window exists: --help and --version
// answer without a display. Qt's own options (-platform, -style, ...) are
// left to Qt. Returns the exit code when the program is to end now.
std::optional<int> ParseCommandLine(int argc, char** argv, Options& options);

// The application, or nothing when no window can be opened; then one plain
// line on standard error has said so, instead of Qt's abort.
std::unique_ptr<QApplication> OpenApplication(int& argc, char** argv);

}  // namespace lumidot
