// The names and descriptions that screen readers give the window's
// controls. The game names its picture-only keys itself (Host::SetKeyName).

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QPushButton>

#include "window/DotMatrix.h"
#include "window/KeypadKeyboard.h"
#include "window/MainWindow.h"
#include "window/PictureBox.h"

namespace lumidot {

void MainWindow::DescribeControls() {
    dotDisplay_->setAccessibleName(QStringLiteral("Dot display"));
    dotDisplay_->setAccessibleDescription(
        QStringLiteral("The console's display: 16 rows of 16 dots, with the cartridge's "
                       "picture beneath them"));
    overlay_->setAccessibleName(QStringLiteral("Cartridge overlay"));
    displayPanel_->setAccessibleName(QStringLiteral("Display"));
    keypadPanel_->setAccessibleName(QStringLiteral("Keypad"));
    slotPanel_->setAccessibleName(QStringLiteral("Cartridge slot and options"));
    for (int k = 1; k <= kKeys; ++k) {
        QPushButton* key = Keypad(k);
        key->setAccessibleName(QStringLiteral("Key %1").arg(k));
        key->setAccessibleDescription(KeypadKeyboard::Hint(k));
        key->setToolTip(KeypadKeyboard::Hint(k));
    }
    cartridgeList_->setAccessibleName(QStringLiteral("Cartridge"));
    cartridgeList_->setAccessibleDescription(QStringLiteral("The cartridge to insert"));
    insertButton_->setAccessibleName(QStringLiteral("Insert cartridge"));
    insertButton_->setAccessibleDescription(
        QStringLiteral("Puts the chosen cartridge in and starts its game"));
    removeButton_->setAccessibleName(QStringLiteral("Remove cartridge"));
    removeButton_->setAccessibleDescription(
        QStringLiteral("Takes the cartridge out and ends its game"));
    hideInactiveDots_->setAccessibleName(QStringLiteral("Hide inactive dots"));
    hideInactiveDots_->setAccessibleDescription(
        QStringLiteral("Gives the display the colour of its unlit dots, so only lit dots show"));
    weakBattery_->setAccessibleName(QStringLiteral("Simulate weak battery"));
    weakBattery_->setAccessibleDescription(
        QStringLiteral("Lit dots flicker between dark greys, as on a weak battery"));
    enhancedControls_->setAccessibleName(QStringLiteral("Enhanced game controls"));
    const QString enhanced = QStringLiteral(
        "A click on the display presses the key the inserted cartridge gives the column under "
        "the pointer");
    enhancedControls_->setAccessibleDescription(enhanced);
    enhancedControls_->setToolTip(enhanced);
}

}  // namespace lumidot
