// The benchmark: runs the real window three times, each time in a process
// of its own, and plays the same scripted game on the real clock: as the
// program runs it (its loops sleep while nothing is due, its display
// refresh ticks only while there is something to paint); in the ticking
// design before it (the refresh ticks every 25 ms from the first insertion
// on, the sound device stays open); and in the original one, whose loops
// also spin without ever yielding. Each run's wake-ups are counted from the
// outside in its quiet spells. Then it measures recent mends, each in a
// child of its own: re-insertion during a refresh tick, a hostile overlay,
// hostile sounds, and a signal after a sound. It prints each figure, its
// target and the baselines where there are some, and fails when a figure
// misses its target.
//
//   lumidot_bench                      every run and the table
//   lumidot_bench --design quiet|ticking|spinning
//                                      one run of the game, its figures as name=value
//   lumidot_bench --figure reinsertion|sounds|signal|lua
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

using lumidot::bench::Figures;

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
    const std::pair<const char*, int> children[] = {
        {"reinsertion", 300}, {"sounds", 60}, {"lua", 180}};
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
    Figures quiet;
    Figures ticking;
    Figures spinning;
    using lumidot::bench::RunMachineChild;
    if (!RunMachineChild(QStringLiteral("quiet"), quiet) ||
        !RunMachineChild(QStringLiteral("ticking"), ticking) ||
        !RunMachineChild(QStringLiteral("spinning"), spinning)) {
        return 2;
    }
    const bool ran = RunMendChildren(quiet);
    std::printf(
        "game played: %.0f timed steps (%.0f held up by the game's own pause or sound), "
        "%.0f sounds\n\n",
        quiet["steps"], quiet["steps held"], quiet["sounds"]);
    const bool met = lumidot::bench::PrintTable(quiet, ticking, spinning);
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
    if (figure == "lua") {
        return lumidot::bench::RunLuaCartridges(argc, argv);
    }
    std::fprintf(stderr, "lumidot_bench: no figure is called %s\n", argv[2]);
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 3 && std::string(argv[1]) == "--design") {
        using lumidot::bench::Design;
        const std::string design = argv[2];
        const Design chosen = design == "spinning"  ? Design::Spinning
                              : design == "ticking" ? Design::Ticking
                                                    : Design::Quiet;
        lumidot::bench::PrintFigures(lumidot::bench::RunMachine(argc, argv, chosen));
        return 0;
    }
    if (argc >= 3 && std::string(argv[1]) == "--figure") {
        return RunFigure(argc, argv);
    }
    return RunParent(argc, argv);
}
