// The benchmark: runs the real window twice, each time in a process of its
// own, and plays the same scripted game on the real clock: once as the
// program pumps (sleeping while nothing is due), once with pumps that spin
// without ever yielding. Then it measures recent mends, each in a child of
// its own: re-insertion during a refresh tick, a hostile overlay, hostile
// sounds, and a signal after a sound. It prints each figure, its target and
// the spinning baseline where there is one, and fails when a figure misses
// its target.
//
//   lumidot_bench                      every run and the table
//   lumidot_bench --pumping wait|spin  one run of the game, its figures as name=value
//   lumidot_bench --figure reinsertion|sounds|signal
//   lumidot_bench --figure overlay NAME
//                                      one mend's child, its figures as name=value

#include <QCoreApplication>
#include <cstdio>
#include <string>
#include <thread>
#include <utility>

#include "Child.h"
#include "Children.h"
#include "Machine.h"
#include "Table.h"

namespace {

using lumidot::QtPlatform;
using lumidot::bench::Figures;

// The scripted game in a child, and the time from its start to its first paint.
bool RunMachineChild(const char* pumping, Figures& figures) {
    const double spawned = lumidot::bench::MonotonicSeconds();
    if (!lumidot::bench::RunChild({QStringLiteral("--pumping"), QString::fromLatin1(pumping)}, 300,
                                  figures)) {
        return false;
    }
    if (figures.count("first paint at") == 0) {
        std::fprintf(stderr, "lumidot_bench: the %s run reported nothing\n", pumping);
        return false;
    }
    figures["start to first paint"] = 1000.0 * (figures["first paint at"] - spawned);
    return true;
}

// A child for each hostile overlay, and how many of them gave report 481.
bool RunOverlayChildren(Figures& figures) {
    bool ran = true;
    double refused = 0;
    for (const QString& name : lumidot::bench::HostileOverlayNames()) {
        ran = lumidot::bench::RunChild(
                  {QStringLiteral("--figure"), QStringLiteral("overlay"), name}, 60, figures) &&
              ran;
        refused += figures["overlay " + name.toStdString() + " error number"] == 481.0 ? 1 : 0;
    }
    figures["overlays refused"] = refused;
    return ran;
}

// Each mend's child, with the seconds it may take before it is killed.
bool RunMendChildren(Figures& figures) {
    const std::pair<const char*, int> children[] = {{"reinsertion", 300}, {"sounds", 60}};
    bool ran = RunOverlayChildren(figures);
    for (const auto& [figure, seconds] : children) {
        ran = lumidot::bench::RunChild({QStringLiteral("--figure"), QString::fromLatin1(figure)},
                                       seconds, figures) &&
              ran;
    }
    return lumidot::bench::RunSignalChild(figures) && ran;
}

int RunParent(int argc, char* argv[]) {
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
    if (!RunMachineChild("wait", waiting) || !RunMachineChild("spin", spinning)) {
        return 2;
    }
    const bool ran = RunMendChildren(waiting);
    std::printf(
        "game played: %.0f timed steps (%.0f held up by the game's own pause or sound), "
        "%.0f sounds\n\n",
        waiting["steps"], waiting["steps held"], waiting["sounds"]);
    const bool met = lumidot::bench::PrintTable(waiting, spinning);
    return ran && met ? 0 : 1;
}

// A child that measures one mend.
int RunFigure(int& argc, char* argv[]) {
    const std::string figure = argv[2];
    if (figure == "reinsertion") {
        return lumidot::bench::RunReinsertion(argc, argv);
    }
    if (figure == "overlay") {
        return lumidot::bench::RunHostileOverlay(argc, argv);
    }
    if (figure == "sounds") {
        return lumidot::bench::RunHostileSounds();
    }
    if (figure == "signal") {
        return lumidot::bench::RunSignalAfterSound(argc, argv);
    }
    std::fprintf(stderr, "lumidot_bench: no figure is called %s\n", argv[2]);
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 3 && std::string(argv[1]) == "--pumping") {
        const auto pumping =
            std::string(argv[2]) == "spin" ? QtPlatform::Pumping::Spin : QtPlatform::Pumping::Wait;
        lumidot::bench::PrintFigures(lumidot::bench::RunMachine(argc, argv, pumping));
        return 0;
    }
    if (argc >= 3 && std::string(argv[1]) == "--figure") {
        return RunFigure(argc, argv);
    }
    return RunParent(argc, argv);
}
