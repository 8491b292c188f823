#include "window/MainWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QIcon>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "Version.h"
#include "console/Console.h"
#include "console/Slot.h"
#include "window/DotMatrix.h"
#include "window/Greys.h"
#include "window/KeypadKeyboard.h"
#include "window/LoadPicture.h"
#include "window/ObjectNames.h"
#include "window/PictureBox.h"

namespace lumidot {

namespace {

// The display's beat: a change of its memory shows at the next one, as on
// the handheld's own display, which was painted this often.
constexpr int kRefreshMilliseconds = 25;
constexpr double kBeat = kRefreshMilliseconds / 1000.0;

}  // namespace

MainWindow::MainWindow(Console& console, Slot& slot, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      console_(console),
      slot_(slot) {
    setObjectName(QLatin1String(objectnames::kMainWindow));
    setWindowTitle(
        QStringLiteral("%1 v%2").arg(QLatin1String(kProgramName), QLatin1String(kVersion)));
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/lumidot-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/lumidot-32.png"), QSize(32, 32));
    setWindowIcon(icon);

    BuildDisplay();
    BuildKeypad();
    BuildSlotPanel();
    ApplyScale(1.0);
    SetTabOrder();
    DescribeControls();
    AddSizeShortcuts();
    keyboard_ = new KeypadKeyboard(*this, keypad_);

    refreshTimer_ = new QTimer(this);
    refreshTimer_->setObjectName(QLatin1String(objectnames::kRefreshTimer));
    refreshTimer_->setTimerType(Qt::PreciseTimer);
    // Set for each tick: with nothing to paint no timer runs, and the
    // process sleeps.
    refreshTimer_->setSingleShot(true);
    connect(refreshTimer_, &QTimer::timeout, this, &MainWindow::RefreshDisplay);
    connect(weakBattery_, &QCheckBox::toggled, this, &MainWindow::WakeRefresh);
    console_.OnDisplayChange([this] { WakeRefresh(); });
}

MainWindow::~MainWindow() {
    console_.OnDisplayChange(nullptr);
}

void MainWindow::Load() {
    console_.Randomize();
    cartridgeList_->clear();
    for (const std::string& name : slot_.Names()) {
        cartridgeList_->addItem(QString::fromStdString(name));
    }
    cartridgeList_->setCurrentIndex(static_cast<int>(slot_.Selected()));
}

void MainWindow::RefreshDisplay() {
    // A tick runs the window's events between its cells; a tick that comes
    // due meanwhile waits for this one to end.
    if (refreshing_) {
        return;
    }
    refreshing_ = true;
    const double began = console_.Seconds();
    // A change from here on shows in the cells still to come, and in the
    // next tick.
    displayChanged_ = false;
    const bool weak = weakBattery_->isChecked();
    int lit = greys::kLit;
    if (weak) {
        lit = static_cast<int>(console_.Random() * static_cast<float>(greys::kWeakLevels)) +
              greys::kWeakLowest;
    }
    bool anyLit = false;
    for (int i = 1; i <= DotMatrix::kCells; ++i) {
        // The cell is read now, not before the tick: a handler run in the
        // previous cell's pump may have changed the display.
        const bool on = console_.Dots(i) == kTrue;
        anyLit = anyLit || on;
        dotDisplay_->SetCellColor(i - 1, greys::Grey(on ? lit : greys::kUnlit));
        console_.PumpEvents();
    }
    refreshing_ = false;
    if (displayChanged_ || (weak && anyLit) || refresh_ == Refresh::Always) {
        // Half a beat on: a tick that came a little early still leaves a
        // whole beat before the next.
        ScheduleRefresh(began + kBeat / 2);
    }
}

void MainWindow::WakeRefresh() {
    displayChanged_ = true;
    // A tick that is running decides at its end whether another follows.
    if (!refreshing_ && !refreshTimer_->isActive()) {
        ScheduleRefresh(console_.Seconds());
    }
}

void MainWindow::ScheduleRefresh(double after) {
    if (!refreshStarted_) {
        return;
    }
    const double beat = firstBeat_ + kBeat * std::floor((after - firstBeat_) / kBeat + 1.0);
    const double wait = std::ceil((beat - console_.Seconds()) * 1000.0);
    refreshTimer_->start(static_cast<int>(std::clamp(wait, 0.0, double{kRefreshMilliseconds})));
}

void MainWindow::InsertCartridge() {
    cartridgeList_->setEnabled(false);
    insertButton_->setEnabled(false);
    removeButton_->setEnabled(true);
    removeButton_->setFocus();
    if (!refreshStarted_) {
        // The first tick a beat from now; until then the cells keep the
        // grey they were made with.
        refreshStarted_ = true;
        firstBeat_ = console_.Seconds();
    }
    WakeRefresh();
    slot_.Select(static_cast<std::size_t>(std::max(0, cartridgeList_->currentIndex())));
    // Returns when the game has ended, or at once when the game has to wait
    // for what is running beneath this click.
    slot_.Insert();
}

void MainWindow::RemoveCartridge() {
    cartridgeList_->setEnabled(true);
    insertButton_->setEnabled(true);
    removeButton_->setEnabled(false);
    insertButton_->setFocus();
    slot_.Remove();
}

void MainWindow::PressKey(int index) {
    console_.PressKey(static_cast<std::int16_t>(index));
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !enhancedControls_->isChecked() ||
        !OverDisplay(event->position().toPoint())) {
        return;
    }
    // The column under the pointer; a gap belongs to the cell on its left.
    const double twips = event->position().x() * layout::kTwipsPerPixel / scale_;
    const int first = layout::kDisplayPanel.left + layout::DotCell(0).left;
    const int pitch = layout::DotCell(1).left - layout::DotCell(0).left;
    const int column = static_cast<int>(std::floor((twips - first) / pitch)) + 1;
    // What a column presses is the inserted cartridge's to say.
    if (const int key = slot_.PointerKey(column)) {
        PressKey(key);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A running game returns at its next look at the cartridge, and with it
    // the call that runs it, so the program can end.
    slot_.Close();
    event->accept();
}

void MainWindow::Terminate() {
    refreshStarted_ = false;
    refreshTimer_->stop();
    slot_.Terminate();
}

void MainWindow::SetOverlayPicture(const std::string& path) {
    overlay_->SetPicture(LoadPicture(path));
}

void MainWindow::SetKeyVisible(std::int16_t index, bool visible) {
    Keypad(index)->setVisible(visible);
}

void MainWindow::SetKeyCaption(std::int16_t index, const std::string& caption) {
    QPushButton* key = Keypad(index);
    key->setText(QString::fromStdString(caption));
    key->setAccessibleName(caption.empty() ? QStringLiteral("Key %1").arg(index) : key->text());
}

void MainWindow::SetKeyPicture(std::int16_t index, const std::string& path) {
    const QPixmap picture = LoadPicture(path);
    Keypad(index)->setIcon(picture);
    keyPictureSizes_.at(static_cast<std::size_t>(index - 1)) = picture.size();
    FitKeyPicture(index);
}

void MainWindow::SetKeyName(std::int16_t index, const std::string& name) {
    Keypad(index)->setAccessibleName(QString::fromStdString(name));
}

void MainWindow::ShowErrorBox(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::Critical, QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::Ok, this);
    box.exec();
}

void MainWindow::CloseMainWindow() {
    close();
}

void MainWindow::EjectCartridge() {
    RemoveCartridge();
}

}  // namespace lumidot
