#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <array>
#include <atomic>
#include <random>
#include <thread>
#include <vector>

#include "Children.h"
#include "Rig.h"
#include "window/Application.h"
#include "window/DotMatrix.h"
#include "window/Greys.h"
#include "window/ObjectNames.h"
#include "window/QtPlatform.h"

namespace lumidot::bench {

namespace {

constexpr std::size_t kCycles = 300;
// A cycle whose menu has not shown by then ends there, and the figure has
// missed its target.
constexpr int kCycleDeadlineMs = 5000;
// The run ends by then, whatever it has done.
constexpr int kRunDeadlineMs = 180000;

// Spins on a core of its own for as long as it lives, so that the window's
// timing varies as it does on a loaded machine.
class BusyLoop {
  public:
    BusyLoop()
        : thread_([this] {
              while (!stop_.load(std::memory_order_relaxed)) {
              }
          }) {}
    ~BusyLoop() {
        stop_ = true;
        thread_.join();
    }
    BusyLoop(const BusyLoop&) = delete;
    BusyLoop& operator=(const BusyLoop&) = delete;

  private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

using Cells = std::array<QRgb, DotMatrix::kCells>;

// The cycles, each driven from the event loop by a timer or by the refresh
// tick that has just ended: the game runs inside the click that inserts it
// (or inside the call the slot defers it to) and returns only on removal,
// so nothing here may wait for anything.
class Cycles {
  public:
    explicit Cycles(Rig& rig);
    // The first insertion: the menu it shows is the one every later
    // insertion has to show.
    void Start();
    Figures Results() const;

  private:
    enum class Phase { Reference, Menu, Clicking, Done };

    Cells Shown() const;
    // The console's display memory as the cells show it.
    Cells Memory() const;
    void AfterTick();
    void Remove();
    void ScheduleInsertion();
    void Insert();

    Rig& rig_;
    QPushButton* const insert_;
    QPushButton* const remove_;
    const int period_;
    Cells menu_{};
    Phase phase_ = Phase::Done;
    int cycle_ = 0;
    double clickAt_ = 0.0;
    std::vector<double> times_;
    int insideTick_ = 0;
    int missed_ = 0;
    std::mt19937 random_{std::random_device{}()};
};

Cycles::Cycles(Rig& rig)
    : rig_(rig),
      insert_(rig.window.findChild<QPushButton*>(QLatin1String(objectnames::kInsertButton))),
      remove_(rig.window.findChild<QPushButton*>(QLatin1String(objectnames::kRemoveButton))),
      period_(rig.window.RefreshTimer()->interval()) {
    // Connected after the window's own handler: runs once a tick has ended.
    QObject::connect(rig.window.RefreshTimer(), &QTimer::timeout, &rig.window,
                     [this] { AfterTick(); });
}

void Cycles::Start() {
    phase_ = Phase::Reference;
    clickAt_ = MonotonicSeconds();
    insert_->click();
}

Cells Cycles::Shown() const {
    Cells cells;
    for (int i = 0; i < DotMatrix::kCells; ++i) {
        cells.at(static_cast<std::size_t>(i)) = rig_.window.Display()->CellColor(i);
    }
    return cells;
}

Cells Cycles::Memory() const {
    Cells cells;
    for (int i = 0; i < DotMatrix::kCells; ++i) {
        const bool lit = rig_.console.Dots(i + 1) == kTrue;
        cells.at(static_cast<std::size_t>(i)) = greys::Grey(lit ? greys::kLit : greys::kUnlit);
    }
    return cells;
}

void Cycles::AfterTick() {
    Cells blank;
    blank.fill(greys::Grey(greys::kUnlit));
    if (phase_ == Phase::Reference && Memory() != blank && Shown() == Memory()) {
        menu_ = Memory();
        Remove();
    } else if (phase_ == Phase::Menu && Shown() == menu_) {
        times_.push_back(MonotonicSeconds() - clickAt_);
        Remove();
    }
}

// The removal blanks the display at the tick on the next beat, the only
// one until the insertion: the display is quiet otherwise.
void Cycles::Remove() {
    phase_ = times_.size() < kCycles ? Phase::Clicking : Phase::Done;
    QTimer::singleShot(0, &rig_.window, [this] {
        remove_->click();
        if (phase_ == Phase::Done) {
            rig_.window.close();
        } else {
            ScheduleInsertion();
        }
    });
}

// The click comes at a random moment of the refresh period that follows
// the removal, up to the beat at which the removal shows: a click that
// comes due with that tick is handled by its pump, one that comes sooner
// may find the old game still unwinding.
void Cycles::ScheduleInsertion() {
    const int delay = std::uniform_int_distribution<int>(1, period_)(random_);
    clickAt_ = MonotonicSeconds() + delay / 1000.0;
    QTimer::singleShot(delay, Qt::PreciseTimer, &rig_.window, [this] { Insert(); });
}

void Cycles::Insert() {
    // Whatever pumps handles the click: the event loop, or a refresh tick
    // between two of its cells (no game runs now to pump otherwise).
    insideTick_ += rig_.console.PumpDepth() > 0 && !rig_.slot.Running() ? 1 : 0;
    phase_ = Phase::Menu;
    const int cycle = ++cycle_;
    QTimer::singleShot(kCycleDeadlineMs, &rig_.window, [this, cycle] {
        if (phase_ == Phase::Menu && cycle_ == cycle) {
            ++missed_;
            times_.push_back(MonotonicSeconds() - clickAt_);
            Remove();
        }
    });
    // Returns once the cartridge is out again, or at once when the slot
    // defers the game.
    insert_->click();
}

Figures Cycles::Results() const {
    const auto worst = std::max_element(times_.begin(), times_.end());
    return {{"reinsertion cycles", static_cast<double>(times_.size())},
            {"reinsertion worst", worst != times_.end() ? 1000.0 * *worst : 0.0},
            {"reinsertion median", 1000.0 * Percentile(times_, 0.5)},
            {"reinsertion inside tick", static_cast<double>(insideTick_)},
            {"reinsertion missed", static_cast<double>(missed_)}};
}

}  // namespace

int RunReinsertion(int& argc, char* argv[]) {
    UseOffscreenWithoutDisplay();
    QApplication app(argc, argv);
    SetUpApplication(app);
    QtPlatform platform;
    Rig rig(platform);
    Cycles cycles(rig);
    const BusyLoop busy;
    WhenPainted(*rig.window.Display(), [&cycles] { cycles.Start(); });
    QTimer::singleShot(kRunDeadlineMs, &rig.window, &QWidget::close);
    rig.window.show();
    QApplication::exec();
    rig.window.Terminate();
    const Figures figures = cycles.Results();
    PrintFigures(figures);
    return figures.at("reinsertion cycles") == kCycles ? 0 : 1;
}

}  // namespace lumidot::bench
