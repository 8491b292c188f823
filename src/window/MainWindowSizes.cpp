// The window's size: a run may start it larger (--scale), and the player
// steps it through a few sizes with the keyboard or the display's menu.
// Nothing is kept: every run starts at its own start size.

#include <QAction>
#include <QActionGroup>
#include <QContextMenuEvent>
#include <QMenu>
#include <algorithm>
#include <array>
#include <cmath>

#include "window/MainWindow.h"
#include "window/Twips.h"

namespace lumidot {

namespace {

constexpr std::array<double, 5> kSteps{1.0, 1.5, 2.0, 3.0, 4.0};

QString StepName(double scale) {
    return QStringLiteral("%1 times").arg(scale);
}

}  // namespace

void MainWindow::SetStartScale(double scale) {
    startScale_ = scale;
    ApplyScale(scale);
}

void MainWindow::AddSizeShortcuts() {
    const auto add = [this](const QList<QKeySequence>& keys, auto step) {
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, step);
        addAction(action);
    };
    add({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
        [this] { StepScale(+1); });
    add({QKeySequence(Qt::CTRL | Qt::Key_Minus)}, [this] { StepScale(-1); });
    add({QKeySequence(Qt::CTRL | Qt::Key_0)}, [this] { ApplyScale(startScale_); });
}

void MainWindow::StepScale(int direction) {
    // The next step beyond the size now, which may lie between two steps.
    if (direction > 0) {
        const auto* next = std::upper_bound(kSteps.begin(), kSteps.end(), scale_ + 1e-9);
        ApplyScale(next != kSteps.end() ? *next : kSteps.back());
    } else {
        const auto* next = std::lower_bound(kSteps.begin(), kSteps.end(), scale_ - 1e-9);
        ApplyScale(next != kSteps.begin() ? *(next - 1) : kSteps.front());
    }
}

bool MainWindow::OverDisplay(const QPoint& point) const {
    return ToWholePixels(layout::kDisplayPanel, scale_).contains(point);
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    if (!OverDisplay(event->pos())) {
        return;
    }
    // Shown without a loop of its own, so that nothing (a game that waited
    // to start, say) can end up running inside the menu.
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("SizeMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    auto* sizes = new QActionGroup(menu);
    for (const double step : kSteps) {
        QAction* size = menu->addAction(StepName(step), this, [this, step] { ApplyScale(step); });
        size->setCheckable(true);
        size->setChecked(std::abs(step - scale_) < 1e-9);
        sizes->addAction(size);
    }
    menu->popup(event->globalPos());
}

}  // namespace lumidot
