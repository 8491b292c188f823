#include "window/frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "console/Console.h"
#include "window/DotMatrix.h"
#include "window/LoadPicture.h"
#include "window/PictureBox.h"
#include "window/Twips.h"

namespace lumidot {

namespace {

QRgb Grey(int level) {
    return qRgb(level, level, level);
}

void SetBackground(QWidget* widget, int grey) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, QColor(Grey(grey)));
    widget->setPalette(palette);
}

template <typename Control>
Control* Place(QWidget* parent, const char* name, QRect geometry) {
    auto* control = new Control(parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    return control;
}

// The keypad key that a key of the keyboard presses, or 0: the digits on
// the main row and the numeric keypad, the arrows for the fire keys, and
// Return or Enter for "Go".
int KeypadKeyFor(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return 0;
    }
    const int key = event.key();
    if (key >= Qt::Key_1 && key <= Qt::Key_9) {
        return key - Qt::Key_0;
    }
    switch (key) {
        case Qt::Key_Left:
            return 7;
        case Qt::Key_Up:
            return 8;
        case Qt::Key_Right:
            return 9;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 5;
        default:
            return 0;
    }
}

QString KeyboardHint(int key) {
    QString hint = QStringLiteral("Keypad key %1").arg(key);
    if (key <= 9) {
        hint += QStringLiteral("; on the keyboard %1").arg(key);
    }
    if (key == 5) {
        hint += QStringLiteral(" or Return");
    } else if (key >= 7 && key <= 9) {
        const char* arrows[] = {"Left", "Up", "Right"};
        hint += QStringLiteral(" or the %1 arrow").arg(QLatin1String(arrows[key - 7]));
    }
    return hint;
}

}  // namespace

frmMain::frmMain(Console& console, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      console_(console),
      zentrax_(console, *this) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Lumidot v0.21"));
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/lumidot-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/lumidot-32.png"), QSize(32, 32));
    setWindowIcon(icon);
    setFixedSize(TwipRect(0, 0, 4980, 4620).size());

    // The captions were laid out for a narrow 8-point face; a condensed
    // face keeps every caption inside its rectangle.
    QFont captions;
    captions.setFamilies({QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Tahoma"),
                          QStringLiteral("Arial Narrow"), QStringLiteral("Arial")});
    captions.setPixelSize(10);
    setFont(captions);

    BuildDisplay();
    BuildKeypad();
    BuildSlotPanel();
    SetTabOrder();
    DescribeControls();
    QCoreApplication::instance()->installEventFilter(this);

    DisplayRefresh_ = new QTimer(this);
    DisplayRefresh_->setObjectName(QStringLiteral("DisplayRefresh"));
    DisplayRefresh_->setInterval(25);
    DisplayRefresh_->setTimerType(Qt::PreciseTimer);
    connect(DisplayRefresh_, &QTimer::timeout, this, &frmMain::DisplayRefresh_Timer);

    Form_Load();
}

void frmMain::BuildDisplay() {
    // The panel starts above the client area, so its top edge is cut off.
    Frame1_ = Place<QFrame>(this, "Frame1", TwipRect(0, -120, 2595, 2715));
    Frame1_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Frame1_->setAutoFillBackground(true);
    SetBackground(Frame1_, kPanelGrey);
    // Disabled: the display takes no clicks and no focus; the pointer over
    // it belongs to the window.
    Frame1_->setEnabled(false);

    // Created first, so the dot cells lie above it.
    imgOverlay_ = Place<PictureBox>(Frame1_, "imgOverlay", TwipRect(30, 150, 2535, 2535));
    Dotmatrix_ = new DotMatrix(Frame1_);
    Dotmatrix_->setGeometry(Frame1_->rect());
}

void frmMain::BuildKeypad() {
    Frame2_ = Place<QFrame>(this, "Frame2", TwipRect(45, 2580, 2535, 1995));
    Frame2_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    for (int k = 1; k <= kKeys; ++k) {
        const int left = 120 + 780 * ((k - 1) % 3);
        const int top = 240 + 420 * ((k - 1) / 3);
        auto* key = Place<QPushButton>(Frame2_, "Keypad", TwipRect(left, top, 735, 375));
        key->setProperty("Index", k);
        connect(key, &QPushButton::clicked, this,
                [this, k] { Keypad_Click(static_cast<std::int16_t>(k)); });
        Keypad_.at(static_cast<std::size_t>(k - 1)) = key;
    }
}

void frmMain::BuildSlotPanel() {
    Frame3_ = Place<QFrame>(this, "Frame3", TwipRect(2640, 0, 2295, 4575));
    Frame3_->setFrameStyle(QFrame::Box | QFrame::Sunken);

    Label1_ = Place<QLabel>(Frame3_, "Label1", TwipRect(120, 180, 675, 195));
    Label1_->setText(QStringLiteral("Cartridge:"));
    Combo1_ = Place<QComboBox>(Frame3_, "Combo1", TwipRect(120, 420, 2055, 315));
    Command1_ = Place<QPushButton>(Frame3_, "Command1", TwipRect(120, 780, 2055, 315));
    Command1_->setText(QStringLiteral("insert cartridge"));
    connect(Command1_, &QPushButton::clicked, this, &frmMain::Command1_Click);
    Command2_ = Place<QPushButton>(Frame3_, "Command2", TwipRect(120, 1140, 2055, 315));
    Command2_->setText(QStringLiteral("remove cartridge"));
    Command2_->setEnabled(false);
    connect(Command2_, &QPushButton::clicked, this, &frmMain::Command2_Click);

    Label2_ = Place<QLabel>(Frame3_, "Label2", TwipRect(120, 3360, 585, 195));
    Label2_->setText(QStringLiteral("Options:"));
    Check1_ = Place<QCheckBox>(Frame3_, "Check1", TwipRect(120, 3600, 1575, 255));
    Check1_->setText(QStringLiteral("hide inactive dots"));
    connect(Check1_, &QCheckBox::clicked, this, &frmMain::Check1_Click);
    Check2_ = Place<QCheckBox>(Frame3_, "Check2", TwipRect(120, 3900, 1875, 255));
    Check2_->setText(QStringLiteral("simulate weak battery"));
    // Shown for what the console could offer; nothing enables it.
    Check3_ = Place<QCheckBox>(Frame3_, "Check3", TwipRect(120, 4200, 2115, 255));
    Check3_->setText(QStringLiteral("enhanced game controls"));
    Check3_->setEnabled(false);
}

void frmMain::SetTabOrder() {
    QList<QWidget*> order{Combo1_, Command1_, Command2_, Check1_, Check2_, Check3_};
    for (QPushButton* key : Keypad_) {
        order.append(key);
    }
    for (qsizetype i = 1; i < order.size(); ++i) {
        setTabOrder(order.at(i - 1), order.at(i));
    }
    Combo1_->setFocus();
}

void frmMain::DescribeControls() {
    Dotmatrix_->setAccessibleName(QStringLiteral("Dot display"));
    Dotmatrix_->setAccessibleDescription(
        QStringLiteral("The console's display: 16 rows of 16 dots, with the cartridge's "
                       "picture beneath them"));
    imgOverlay_->setAccessibleName(QStringLiteral("Cartridge overlay"));
    Frame1_->setAccessibleName(QStringLiteral("Display"));
    Frame2_->setAccessibleName(QStringLiteral("Keypad"));
    Frame3_->setAccessibleName(QStringLiteral("Cartridge slot and options"));
    for (int k = 1; k <= kKeys; ++k) {
        QPushButton* key = Keypad(k);
        key->setAccessibleName(QStringLiteral("Key %1").arg(k));
        key->setAccessibleDescription(KeyboardHint(k));
        key->setToolTip(KeyboardHint(k));
    }
    Combo1_->setAccessibleName(QStringLiteral("Cartridge"));
    Combo1_->setAccessibleDescription(QStringLiteral("The cartridge to insert"));
    Command1_->setAccessibleName(QStringLiteral("Insert cartridge"));
    Command1_->setAccessibleDescription(
        QStringLiteral("Puts the chosen cartridge in and starts its game"));
    Command2_->setAccessibleName(QStringLiteral("Remove cartridge"));
    Command2_->setAccessibleDescription(
        QStringLiteral("Takes the cartridge out and ends its game"));
    Check1_->setAccessibleName(QStringLiteral("Hide inactive dots"));
    Check1_->setAccessibleDescription(
        QStringLiteral("Gives the display the colour of its unlit dots, so only lit dots show"));
    Check2_->setAccessibleName(QStringLiteral("Simulate weak battery"));
    Check2_->setAccessibleDescription(
        QStringLiteral("Lit dots flicker between dark greys, as on a weak battery"));
    Check3_->setAccessibleName(QStringLiteral("Enhanced game controls"));
    Check3_->setAccessibleDescription(QStringLiteral("Not available on this console"));
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) {
        return false;
    }
    // Only this window's controls; an open drop-down list or a message box
    // keeps its own keys.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != this ||
        QApplication::activePopupWidget() != nullptr) {
        return false;
    }
    const auto& keyEvent = static_cast<const QKeyEvent&>(*event);
    const int index = KeypadKeyFor(keyEvent);
    if (index == 0) {
        return false;
    }
    // A key held down presses once; a hidden or disabled key not at all.
    if (type == QEvent::KeyPress && !keyEvent.isAutoRepeat()) {
        QPushButton* key = Keypad(index);
        if (!key->isHidden() && key->isEnabled()) {
            key->click();
        }
    }
    return true;
}

void frmMain::Form_Load() {
    console_.platform().Randomize();
    console_.CartridgeOn = kFalse;
    Combo1_->clear();
    Combo1_->addItem(QStringLiteral("Zentrax"));
    Combo1_->setCurrentIndex(0);
}

void frmMain::DisplayRefresh_Timer() {
    // A tick runs the window's events between its cells; a tick that comes
    // due meanwhile waits for this one to end.
    if (refreshing_) {
        return;
    }
    refreshing_ = true;
    int lit = 0;
    if (Check2_->isChecked()) {
        lit = static_cast<int>(console_.platform().Random() * 64.0f) + 32;
    }
    for (int i = 1; i <= DotMatrix::kCells; ++i) {
        // The cell is read now, not before the tick: a handler run in the
        // previous cell's pump may have changed the display.
        const bool on = console_.Dots(i) == kTrue;
        Dotmatrix_->SetCellColor(i - 1, Grey(on ? lit : kUnlitGrey));
        console_.platform().PumpEvents();
    }
    refreshing_ = false;
}

void frmMain::Check1_Click() {
    SetBackground(Frame1_, Check1_->isChecked() ? kUnlitGrey : kPanelGrey);
}

void frmMain::Command1_Click() {
    Combo1_->setEnabled(false);
    Command1_->setEnabled(false);
    Command2_->setEnabled(true);
    Command2_->setFocus();
    DisplayRefresh_->start();
    if (gameRunning_) {
        // The cartridge went out and came back while the previous game is
        // still winding down in one of its waits, beneath this click. That
        // game's click starts the new one once it has returned: games never
        // run inside each other.
        insertionWaiting_ = true;
        return;
    }
    RunGames();
}

void frmMain::RunGames() {
    gameRunning_ = true;
    do {
        insertionWaiting_ = false;
        console_.CartridgeOn = kTrue;
        zentrax_.Zentrax_Init();
    } while (insertionWaiting_);
    gameRunning_ = false;
}

void frmMain::Command2_Click() {
    Combo1_->setEnabled(true);
    Command1_->setEnabled(true);
    Command2_->setEnabled(false);
    Command1_->setFocus();
    insertionWaiting_ = false;
    console_.CartridgeOn = kFalse;
    console_.ClearDots();
}

void frmMain::Keypad_Click(std::int16_t Index) {
    console_.KeyPressed = Index;
}

void frmMain::closeEvent(QCloseEvent* event) {
    // A running game returns at its next look at the cartridge, and with it
    // the click that runs it, so the program can end.
    insertionWaiting_ = false;
    console_.CartridgeOn = kFalse;
    event->accept();
}

void frmMain::Form_Terminate() {
    DisplayRefresh_->stop();
    console_.CartridgeOn = kFalse;
    console_.Pause(100);
}

void frmMain::SetOverlayPicture(const std::string& path) {
    imgOverlay_->SetPicture(LoadPicture(path));
}

void frmMain::SetKeyVisible(std::int16_t index, bool visible) {
    Keypad(index)->setVisible(visible);
}

void frmMain::SetKeyCaption(std::int16_t index, const std::string& caption) {
    QPushButton* key = Keypad(index);
    key->setText(QString::fromStdString(caption));
    key->setAccessibleName(caption.empty() ? QStringLiteral("Key %1").arg(index) : key->text());
}

void frmMain::SetKeyPicture(std::int16_t index, const std::string& path) {
    const QPixmap picture = LoadPicture(path);
    QPushButton* key = Keypad(index);
    key->setIcon(picture);
    // Shown at its own size, but never larger than the button's face.
    key->setIconSize(picture.size().boundedTo(key->size() - QSize(6, 6)));
}

void frmMain::SetKeyName(std::int16_t index, const std::string& name) {
    Keypad(index)->setAccessibleName(QString::fromStdString(name));
}

void frmMain::ShowErrorBox(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::Critical, QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::Ok, this);
    box.exec();
}

void frmMain::CloseMainWindow() {
    close();
}

}  // namespace lumidot
