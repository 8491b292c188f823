// The benchmark: runs the real window twice, each time in a process of its
// own, and plays the same scripted game on the real clock: once as the
// program pumps (sleeping while nothing is due), once with pumps that spin
// without ever yielding. It prints each figure, its target and the spinning
// baseline, and fails when a figure misses its target.
//
//   lumidot_bench                     both runs and the table
//   lumidot_bench --pumping wait|spin one run, its figures as name=value

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>
#include <cstdio>
#include <string>
#include <thread>

#include "Machine.h"

namespace {

using lumidot::QtPlatform;
using lumidot::bench::Figures;

struct Row {
    const char* figure;
    const char* key;
    const char* unit;
    double target;
};

// clang-format off
const Row kRows[] = {
    {"processor while a game is played",       "processor playing",       "%",  3.0},
    {"processor in the menu",                  "processor menu",          "%",  3.0},
    {"processor in the game-over wait",        "processor game over",     "%",  3.0},
    {"processor with no cartridge",            "processor no cartridge",  "%",  0.5},
    {"processor after \"remove cartridge\"",   "processor after removal", "%",  2.0},
    {"step lateness, median",                  "step lateness median",    "ms", 1.0},
    {"step lateness, 99th percentile",         "step lateness p99",       "ms", 3.0},
    {"refresh tick, nothing changed",          "refresh unchanged",       "ms", 0.2},
    {"refresh tick, every cell changed",       "refresh all changed",     "ms", 2.0},
    {"start to first painted window",          "start to first paint",    "ms", 150.0},
    {"peak resident memory",                   "peak memory",             "MB", 80.0},
    {"PlaySample returns after the sound's end", "sound overrun max",     "ms", 30.0},
};
// clang-format on

bool Run(const char* pumping, Figures& figures) {
    QProcess machine;
    machine.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const double spawned = lumidot::bench::MonotonicSeconds();
    machine.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--pumping"), QString::fromLatin1(pumping)});
    if (!machine.waitForFinished(300000) || machine.exitStatus() != QProcess::NormalExit ||
        machine.exitCode() != 0) {
        std::fprintf(stderr, "lumidot_bench: the %s run failed\n", pumping);
        return false;
    }
    for (const QByteArray& line : machine.readAllStandardOutput().split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0) {
            figures[line.left(equals).toStdString()] = line.mid(equals + 1).toDouble();
        }
    }
    if (figures.count("first paint at") == 0) {
        std::fprintf(stderr, "lumidot_bench: the %s run reported nothing\n", pumping);
        return false;
    }
    figures["start to first paint"] = 1000.0 * (figures["first paint at"] - spawned);
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 3 && std::string(argv[1]) == "--pumping") {
        const auto pumping =
            std::string(argv[2]) == "spin" ? QtPlatform::Pumping::Spin : QtPlatform::Pumping::Wait;
        for (const auto& [name, value] : lumidot::bench::RunMachine(argc, argv, pumping)) {
            std::printf("%s=%.6f\n", name.c_str(), value);
        }
        return 0;
    }

    QCoreApplication app(argc, argv);
    // The same sound path in every run: SDL's dummy driver plays in real
    // time without a sound card, unless another driver is asked for.
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) {
        qputenv("SDL_AUDIODRIVER", "dummy");
    }
    const QByteArray display = qgetenv("DISPLAY");
    std::printf("Lumidot benchmark: %u cores, %s, audio driver %s\n",
                std::thread::hardware_concurrency(),
                display.isEmpty() ? "offscreen" : ("X display " + display).constData(),
                qgetenv("SDL_AUDIODRIVER").constData());
    Figures waiting;
    Figures spinning;
    if (!Run("wait", waiting) || !Run("spin", spinning)) {
        return 2;
    }
    std::printf(
        "game played: %.0f timed steps (%.0f held up by the game's own pause or sound), "
        "%.0f sounds\n\n",
        waiting["steps"], waiting["steps held"], waiting["sounds"]);
    std::printf("%-42s %10s %10s %12s\n", "figure", "lumidot", "target", "spinning");
    bool allMet = true;
    for (const Row& row : kRows) {
        const double value = waiting[row.key];
        const bool met = value <= row.target;
        allMet = allMet && met;
        char target[32];
        std::snprintf(target, sizeof target, "<= %g %s", row.target, row.unit);
        std::printf("%-42s %7.2f %-2s %10s %9.2f %-2s %s\n", row.figure, value, row.unit, target,
                    spinning[row.key], row.unit, met ? "" : "MISSED");
    }
    return allMet ? 0 : 1;
}
