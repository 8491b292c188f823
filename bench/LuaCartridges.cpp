#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Children.h"
#include "Rig.h"
#include "cartridges/lua/Shelf.h"
#include "window/Application.h"
#include "window/DotMatrix.h"
#include "window/ObjectNames.h"
#include "window/QtPlatform.h"

namespace lumidot::bench {

namespace {

// Scripts that try the window, listed by name after Zentrax: one that eats
// memory until it may have no more, one that never ends, one that waits for
// a key.
const std::pair<const char*, const char*> kScripts[] = {
    {"Hogging", "local t = {}\nwhile true do t[#t + 1] = string.rep('x', 4096) .. #t end\n"},
    {"Looping", "dot_on(1, 1)\nwhile true do end\n"},
    {"Waiting", "dot_on(1, 1)\nwhile true do wait_key() end\n"}};
enum Listed { kHogging = 1, kLooping = 2, kWaiting = 3 };

// A step that has not ended by then is given up, and its figure missed.
constexpr double kStepDeadline = 30.0;

// One step of the run: what it does, when it has ended, and what it then
// writes down from the seconds it took.
struct Step {
    std::function<void()> act;
    // Given the seconds since it began; none for a step that lasts a time.
    std::function<bool(double)> ended;
    std::function<void(double)> record = [](double) {};
    double lasts = 0.0;
};

// Runs the steps one after the other, looking every millisecond whether the
// one under way has ended, or once when it lasts a time (so that the run's
// own looking costs nothing while a share of the processor is measured). A
// cartridge runs inside the click that inserts
// it, so an insertion is clicked from a timer of its own, and the looking
// goes on nested inside the cartridge's waits.
class Run {
  public:
    Run(Rig& rig, std::vector<Step> steps) : rig_(rig), steps_(std::move(steps)) {
        QObject::connect(&poll_, &QTimer::timeout, &rig.window, [this] { Look(); });
    }
    void Start() { Begin(); }

  private:
    void Begin() {
        begun_ = MonotonicSeconds();
        const Step& step = steps_.at(next_);
        QTimer::singleShot(0, &rig_.window, step.act);
        poll_.start(step.lasts > 0 ? static_cast<int>(step.lasts * 1000) : 1);
    }
    void Look() {
        if (next_ >= steps_.size()) return poll_.stop();
        const Step& step = steps_[next_];
        const double took = MonotonicSeconds() - begun_;
        if (step.lasts == 0 && !step.ended(took) && took < kStepDeadline) return;
        steps_[next_].record(took);
        if (++next_ < steps_.size()) Begin();
    }

    Rig& rig_;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    double begun_ = 0.0;
    QTimer poll_;
};

QMessageBox* Report() {
    return qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
}

std::vector<Step> Steps(Rig& rig, Figures& figures, double& closedAt) {
    const auto click = [&rig](const char* name) {
        rig.window.findChild<QPushButton*>(QLatin1String(name))->click();
    };
    const auto insert = [&rig, click](int listed) {
        return [&rig, click, listed] {
            rig.window.findChild<QComboBox*>(QLatin1String(objectnames::kCartridgeList))
                ->setCurrentIndex(listed);
            click(objectnames::kInsertButton);
        };
    };
    auto processor = std::make_shared<double>(0.0);
    const auto nothing = [](double) {};
    return {
        {insert(kWaiting), nullptr, nothing, 1.0},
        {[processor] { *processor = ProcessorSeconds(); }, nullptr,
         [&figures, processor](double t) {
             figures["lua waiting processor"] = 100.0 * (ProcessorSeconds() - *processor) / t;
         },
         3.0},
        {[click] { click(objectnames::kRemoveButton); },
         [&rig](double) { return !rig.slot.Running(); }},
        {insert(kLooping), nullptr, nothing, 1.0},
        {[click] { click(objectnames::kRemoveButton); },
         [&rig](double) { return !rig.slot.Running(); },
         [&figures](double t) { figures["lua loop removed"] = 1000.0 * t; }},
        {insert(kHogging), [](double) { return Report() != nullptr; },
         [&figures](double) {
             const QString first = Report()->text().section(QLatin1Char('\n'), 0, 0);
             figures["lua hog error number"] = first.section(QLatin1Char(' '), -1).toDouble();
             Report()->button(QMessageBox::Ok)->click();
         }},
        {insert(kLooping), nullptr, nothing, 1.0},
        {[&rig, &closedAt] {
             closedAt = MonotonicSeconds();
             rig.window.close();
         },
         nullptr, nothing, kStepDeadline},
    };
}

}  // namespace

int RunLuaCartridges(int& argc, char* argv[]) {
    UseOffscreenWithoutDisplay();
    QApplication app(argc, argv);
    SetUpApplication(app);
    const QTemporaryDir folder;
    CartridgePlaces places;
    for (const auto& [name, script] : kScripts) {
        const QString place = folder.filePath(QLatin1String(name));
        QDir().mkpath(place);
        std::ofstream((place + "/cartridge.lua").toStdString()) << script;
        places.commandLine.emplace_back(place.toStdString());
    }
    QtPlatform platform;
    Rig rig(platform, FindCartridges(places));
    Figures figures;
    double closedAt = 0.0;
    Run run(rig, Steps(rig, figures, closedAt));
    WhenPainted(*rig.window.Display(), [&run] { run.Start(); });
    QTimer::singleShot(120000, &rig.window, &QWidget::close);
    rig.window.show();
    QApplication::exec();
    figures["lua loop closed"] = 1000.0 * (MonotonicSeconds() - closedAt);
    rig.window.Terminate();
    figures["lua peak memory"] = PeakMegabytes();
    PrintFigures(figures);
    return figures.size() == 5 ? 0 : 1;
}

}  // namespace lumidot::bench
