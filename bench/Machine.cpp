#include "Machine.h"

#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

#include "Rig.h"
#include "Watched.h"
#include "sound/WavPlayer.h"
#include "window/Application.h"
#include "window/DotMatrix.h"
#include "window/ObjectNames.h"

namespace lumidot::bench {

namespace {

using Clock = std::chrono::steady_clock;

// The scripted session: each action runs at its time on the real clock,
// counted from the window's first paint (or from where a quiet spell ended),
// inside whatever loop is pumping then, as a click would.
class Script {
  public:
    Script(MainWindow& window, Console& console, WatchedPlatform& platform)
        : window_(window), console_(console), platform_(platform) {
        // The benchmark's word that a quiet spell is over: the only event
        // the window gets meanwhile.
        QObject::connect(&goOn_, &QSocketNotifier::activated, &window_, [this] { GoOn(); });
        goOn_.setEnabled(false);
        // Counted in the tick's own wake-up.
        QObject::connect(window_.RefreshTimer(), &QTimer::timeout, &window_, [this] { ++ticks_; });
    }

    void Start() {
        start_ = Clock::now();
        // No cartridge: the window alone.
        Measure(0.5, 3.0, "processor no cartridge");
        At(3.5, [this] { Click(objectnames::kInsertButton); });
        // The menu: random size and speed, then a quiet spell.
        for (int i = 0; i < 4; ++i) {
            At(3.8 + 0.02 * i, [this] { Key(1); });
        }
        At(3.9, [this] { Key(2); });
        At(3.92, [this] { Key(2); });
        Measure(4.0, 2.0, "processor menu");
        At(6.0, [this] { Quiet("menu", [this] { WeakBattery(); }); });
    }

    Figures figures;

  private:
    // The menu's lit dots on a weak battery, then the game.
    void WeakBattery() {
        Check(objectnames::kWeakBattery, true);
        After(0.2, [this] {
            Quiet("weak battery", [this] {
                Check(objectnames::kWeakBattery, false);
                Play();
            });
        });
    }

    void Play() {
        start_ = Clock::now() - std::chrono::milliseconds(6000);
        At(6.0, [this] { Key(5); });
        At(6.2, [this] {
            playStart_ = Read();
            Say("from playing");
        });
        // Play: shots at chosen times, from each of the three keys; the
        // game ends after ten targets. A shot while a beam flies, or a
        // second one at the same target, is refused.
        for (int shot = 0; shot < 40; ++shot) {
            const int key = 7 + shot % 3;
            At(
                6.5 + 0.45 * shot, [this, key] { Key(key); }, shots_.get());
        }
        platform_.onSound = [this](const std::string& path) {
            if (path.size() >= 15 && path.compare(path.size() - 15, 15, "zx_gameover.wav") == 0) {
                GameOver();
            }
        };
        console_.Watch(&steps_);
    }

    struct Reading {
        double wall;
        double processor;
    };

    static Reading Read() { return {MonotonicSeconds(), ProcessorSeconds()}; }

    static double Share(const Reading& from, const Reading& to) {
        return 100.0 * (to.processor - from.processor) / (to.wall - from.wall);
    }

    // An action whose context has gone does not run, nor wake anyone.
    void At(double t, std::function<void()> action, QObject* context = nullptr) {
        const auto due =
            start_ + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(t));
        const auto wait =
            std::chrono::duration_cast<std::chrono::milliseconds>(due - Clock::now()).count();
        QTimer::singleShot(static_cast<int>(std::max<long long>(wait, 0)), Qt::PreciseTimer,
                           context != nullptr ? context : &window_, std::move(action));
    }

    void After(double seconds, std::function<void()> action) {
        At(Since() + seconds, std::move(action));
    }

    void Measure(double from, double seconds, const std::string& name) {
        At(from, [this, seconds, name] {
            const Reading begin = Read();
            At(Since() + seconds, [this, begin, name] { figures[name] = Share(begin, Read()); });
        });
    }

    static void Say(const std::string& line) {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    }

    // Nothing is scripted until the benchmark says to go on.
    void Quiet(const std::string& name, std::function<void()> then) {
        then_ = std::move(then);
        quiet_ = {name, ticks_, MonotonicSeconds()};
        goOn_.setEnabled(true);
        Say("quiet " + name);
    }

    void GoOn() {
        char line[64];
        if (::read(STDIN_FILENO, line, sizeof line) <= 0) {
            // No one will say it: the quiet spell is over at once.
            goOn_.setEnabled(false);
        }
        figures["ticks " + quiet_.name] =
            (ticks_ - quiet_.ticks) / (MonotonicSeconds() - quiet_.began);
        if (then_) {
            std::exchange(then_, nullptr)();
        }
    }

    double Since() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }

    void Click(const char* name) {
        window_.findChild<QPushButton*>(QString::fromLatin1(name))->click();
    }

    void Check(const char* name, bool checked) {
        window_.findChild<QCheckBox*>(QString::fromLatin1(name))->setChecked(checked);
    }

    void Key(int index) { window_.Keypad(index)->click(); }

    // The closing tune has started: play has ended. The rest of the script
    // counts from here.
    void GameOver() {
        // The shots still to come would wake the game-over wait.
        shots_.reset();
        figures["processor playing"] = Share(playStart_, Read());
        console_.Watch(nullptr);
        figures["step lateness median"] = 1000.0 * Percentile(steps_.lateness, 0.5);
        figures["step lateness p99"] = 1000.0 * Percentile(steps_.lateness, 0.99);
        figures["steps"] = static_cast<double>(steps_.lateness.size());
        figures["steps held"] = steps_.held;
        figures["sound overrun max"] =
            1000.0 * *std::max_element(platform_.overruns.begin(), platform_.overruns.end());
        figures["sounds"] = static_cast<double>(platform_.overruns.size());
        Say("to playing");
        const double t = Since();
        Measure(t + 0.3, 2.0, "processor game over");
        // The score stands, the tune is over and the sound device released.
        At(t + 3.0, [this] { Quiet("score", [this] { Removal(); }); });
    }

    void Removal() {
        Click(objectnames::kRemoveButton);
        const double t = Since();
        Measure(t + 0.5, 2.0, "processor after removal");
        At(t + 2.7, [this] { Quiet("empty slot", [this] { RefreshTicks(); }); });
    }

    // The refresh, tick by tick: first with the display unchanged, then with
    // every dot flipped before each tick, its repaint included.
    void RefreshTicks() {
        constexpr int kTicks = 200;
        std::vector<double> unchanged;
        std::vector<double> changed;
        for (int tick = 0; tick < kTicks; ++tick) {
            const double begin = MonotonicSeconds();
            window_.RefreshDisplay();
            unchanged.push_back(MonotonicSeconds() - begin);
        }
        for (int tick = 0; tick < kTicks; ++tick) {
            for (std::int16_t y = 1; y <= 16; ++y) {
                for (std::int16_t x = 1; x <= 16; ++x) {
                    tick % 2 == 0 ? console_.DotOn(x, y) : console_.DotOff(x, y);
                }
            }
            const double begin = MonotonicSeconds();
            window_.RefreshDisplay();
            window_.Display()->repaint();
            changed.push_back(MonotonicSeconds() - begin);
        }
        console_.ClearDots();
        figures["refresh unchanged"] = 1000.0 * Percentile(unchanged, 0.5);
        figures["refresh all changed"] = 1000.0 * Percentile(changed, 0.5);
        window_.close();
    }

    MainWindow& window_;
    Console& console_;
    WatchedPlatform& platform_;
    StepTimes steps_;
    Clock::time_point start_;
    Reading playStart_{};
    QSocketNotifier goOn_{STDIN_FILENO, QSocketNotifier::Read};
    std::function<void()> then_;
    std::unique_ptr<QObject> shots_ = std::make_unique<QObject>();
    // The refresh ticks so far, and where the current quiet spell began.
    int ticks_ = 0;
    struct {
        std::string name;
        int ticks;
        double began;
    } quiet_{};
};

}  // namespace

Figures RunMachine(int argc, char* argv[], Design design) {
    UseOffscreenWithoutDisplay();
    QApplication app(argc, argv);
    SetUpApplication(app);
    const auto pumping =
        design == Design::Spinning ? QtPlatform::Pumping::Spin : QtPlatform::Pumping::Wait;
    const double release = design == Design::Quiet ? WavPlayer::kReleaseAfterSeconds
                                                   : std::numeric_limits<double>::infinity();
    WatchedPlatform platform(pumping, release);
    Rig rig(platform);
    if (design != Design::Quiet) {
        rig.window.SetRefresh(MainWindow::Refresh::Always);
    }
    Script script(rig.window, rig.console, platform);
    WhenPainted(*rig.window.Display(), [&script] {
        script.figures["first paint at"] = MonotonicSeconds();
        script.Start();
    });
    rig.window.show();
    QApplication::exec();
    rig.window.Terminate();
    script.figures["peak memory"] = PeakMegabytes();
    return script.figures;
}

}  // namespace lumidot::bench
