// The window's controls: built once with their object names, and placed
// from the layout's twip rectangles at the window's scale.

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "window/DotMatrix.h"
#include "window/Greys.h"
#include "window/MainWindow.h"
#include "window/ObjectNames.h"
#include "window/PictureBox.h"
#include "window/Twips.h"

namespace lumidot {

namespace {

// The captions were laid out for a narrow 8-point face; a condensed face
// at this size keeps every caption inside its rectangle.
constexpr double kCaptionPixels = 10.0;

// A key's picture never covers the edge of its face.
constexpr int kKeyFaceMargin = 6;

void SetGreyBackground(QWidget* widget, int grey) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, QColor(greys::Grey(grey)));
    widget->setPalette(palette);
}

}  // namespace

template <typename Control>
Control* MainWindow::Place(QWidget* parent, const char* name, const layout::Rect& twips) {
    auto* control = new Control(parent);
    control->setObjectName(QLatin1String(name));
    placed_.emplace_back(control, twips);
    return control;
}

void MainWindow::BuildDisplay() {
    displayPanel_ = Place<QFrame>(this, objectnames::kDisplayPanel, layout::kDisplayPanel);
    displayPanel_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    displayPanel_->setAutoFillBackground(true);
    SetGreyBackground(displayPanel_, greys::kPanel);
    // Disabled: the display takes no clicks and no focus; the pointer over
    // it belongs to the window.
    displayPanel_->setEnabled(false);

    // Created first, so the dot cells lie above it.
    overlay_ = Place<PictureBox>(displayPanel_, objectnames::kOverlay, layout::kOverlay);
    dotDisplay_ = new DotMatrix(displayPanel_);
    placed_.emplace_back(
        dotDisplay_, layout::Rect{0, 0, layout::kDisplayPanel.width, layout::kDisplayPanel.height});
}

void MainWindow::BuildKeypad() {
    keypadPanel_ = Place<QFrame>(this, objectnames::kKeypadPanel, layout::kKeypadPanel);
    keypadPanel_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    keypadPanel_->setAttribute(Qt::WA_NoMousePropagation);
    for (int k = 1; k <= kKeys; ++k) {
        auto* key = Place<QPushButton>(keypadPanel_, objectnames::kKeypadKey, layout::KeypadKey(k));
        key->setProperty("Index", k);
        connect(key, &QPushButton::clicked, this, [this, k] { PressKey(k); });
        keypad_.at(static_cast<std::size_t>(k - 1)) = key;
    }
}

void MainWindow::BuildSlotPanel() {
    slotPanel_ = Place<QFrame>(this, objectnames::kSlotPanel, layout::kSlotPanel);
    slotPanel_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    slotPanel_->setAttribute(Qt::WA_NoMousePropagation);

    cartridgeLabel_ =
        Place<QLabel>(slotPanel_, objectnames::kCartridgeLabel, layout::kCartridgeLabel);
    cartridgeLabel_->setText(QStringLiteral("Cartridge:"));
    cartridgeList_ =
        Place<QComboBox>(slotPanel_, objectnames::kCartridgeList, layout::kCartridgeList);
    insertButton_ =
        Place<QPushButton>(slotPanel_, objectnames::kInsertButton, layout::kInsertButton);
    insertButton_->setText(QStringLiteral("insert cartridge"));
    connect(insertButton_, &QPushButton::clicked, this, &MainWindow::InsertCartridge);
    removeButton_ =
        Place<QPushButton>(slotPanel_, objectnames::kRemoveButton, layout::kRemoveButton);
    removeButton_->setText(QStringLiteral("remove cartridge"));
    removeButton_->setEnabled(false);
    connect(removeButton_, &QPushButton::clicked, this, &MainWindow::RemoveCartridge);

    optionsLabel_ = Place<QLabel>(slotPanel_, objectnames::kOptionsLabel, layout::kOptionsLabel);
    optionsLabel_->setText(QStringLiteral("Options:"));
    hideInactiveDots_ =
        Place<QCheckBox>(slotPanel_, objectnames::kHideInactiveDots, layout::kHideInactiveDots);
    hideInactiveDots_->setText(QStringLiteral("hide inactive dots"));
    connect(hideInactiveDots_, &QCheckBox::clicked, this, &MainWindow::UpdateDisplayBackground);
    weakBattery_ = Place<QCheckBox>(slotPanel_, objectnames::kWeakBattery, layout::kWeakBattery);
    weakBattery_->setText(QStringLiteral("simulate weak battery"));
    enhancedControls_ =
        Place<QCheckBox>(slotPanel_, objectnames::kEnhancedControls, layout::kEnhancedControls);
    enhancedControls_->setText(QStringLiteral("enhanced game controls"));
}

void MainWindow::UpdateDisplayBackground() {
    SetGreyBackground(displayPanel_,
                      hideInactiveDots_->isChecked() ? greys::kPanelHidingUnlit : greys::kPanel);
}

void MainWindow::SetTabOrder() {
    QList<QWidget*> order{cartridgeList_,    insertButton_, removeButton_,
                          hideInactiveDots_, weakBattery_,  enhancedControls_};
    for (QPushButton* key : keypad_) {
        order.append(key);
    }
    for (qsizetype i = 1; i < order.size(); ++i) {
        setTabOrder(order.at(i - 1), order.at(i));
    }
    cartridgeList_->setFocus();
}

void MainWindow::ApplyScale(double scale) {
    scale_ = scale;
    setFixedSize(ToWholePixels(layout::kWindow, scale).size());
    QFont captions;
    captions.setFamilies({QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Tahoma"),
                          QStringLiteral("Arial Narrow"), QStringLiteral("Arial")});
    captions.setPixelSize(static_cast<int>(std::lround(kCaptionPixels * scale)));
    setFont(captions);
    for (const auto& [control, twips] : placed_) {
        control->setGeometry(ToWholePixels(twips, scale));
    }
    // Labels are as wide as their text, which may grow a pixel faster than
    // the scale.
    for (QLabel* label : {cartridgeLabel_, optionsLabel_}) {
        label->resize(label->size().expandedTo(label->sizeHint()));
    }
    dotDisplay_->SetScale(scale);
    for (int k = 1; k <= kKeys; ++k) {
        FitKeyPicture(k);
    }
}

void MainWindow::FitKeyPicture(int index) {
    const auto i = static_cast<std::size_t>(index - 1);
    // Shown at its own size times the scale, but never larger than the face.
    const QSize face = keypad_.at(i)->size() - QSize(kKeyFaceMargin, kKeyFaceMargin) * scale_;
    keypad_.at(i)->setIconSize((keyPictureSizes_.at(i) * scale_).boundedTo(face));
}

}  // namespace lumidot
