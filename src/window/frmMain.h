#pragma once

#include <QWidget>
#include <array>

#include "cartridges/Host.h"
#include "cartridges/zentrax/Zentrax.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QTimer;

namespace lumidot {

class Console;
class DotMatrix;
class PictureBox;

// The console's one window: the dot display with the cartridge's overlay
// beneath it, the twelve-key keypad, and the side panel with the cartridge
// slot and the simulator's options. The inserted cartridge's game runs
// inside the "insert cartridge" click and dresses the window through Host.
class frmMain : public QWidget, private Host {
    Q_OBJECT

  public:
    static constexpr int kKeys = 12;
    static constexpr int kUnlitGrey = 208;
    static constexpr int kPanelGrey = 224;

    explicit frmMain(Console& console, QWidget* parent = nullptr);

    DotMatrix* Dotmatrix() const { return Dotmatrix_; }
    PictureBox* imgOverlay() const { return imgOverlay_; }
    QPushButton* Keypad(int index) const { return Keypad_.at(static_cast<std::size_t>(index - 1)); }
    QTimer* DisplayRefresh() const { return DisplayRefresh_; }

    // Repaints every dot cell from the console's display memory.
    void DisplayRefresh_Timer();

    // The window's final release, once it is closed and no handler runs.
    void Form_Terminate();

    // Whether a game routine is running inside an "insert cartridge" click.
    bool GameRunning() const { return gameRunning_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    // The keyboard's keys for the keypad, whichever control has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Host: what the game may do to the window.
    void SetOverlayPicture(const std::string& path) override;
    void SetKeyVisible(std::int16_t index, bool visible) override;
    void SetKeyCaption(std::int16_t index, const std::string& caption) override;
    void SetKeyPicture(std::int16_t index, const std::string& path) override;
    void SetKeyName(std::int16_t index, const std::string& name) override;
    void ShowErrorBox(const std::string& text, const std::string& title) override;
    void CloseMainWindow() override;

    void BuildDisplay();
    void BuildKeypad();
    void BuildSlotPanel();
    void SetTabOrder();
    void DescribeControls();

    void Form_Load();
    void Check1_Click();
    void Command1_Click();
    void Command2_Click();
    void Keypad_Click(std::int16_t Index);
    void RunGames();

    Console& console_;
    Zentrax zentrax_;
    bool refreshing_ = false;
    bool gameRunning_ = false;
    bool insertionWaiting_ = false;

    QFrame* Frame1_ = nullptr;
    QFrame* Frame2_ = nullptr;
    QFrame* Frame3_ = nullptr;
    PictureBox* imgOverlay_ = nullptr;
    DotMatrix* Dotmatrix_ = nullptr;
    std::array<QPushButton*, kKeys> Keypad_{};
    QLabel* Label1_ = nullptr;
    QComboBox* Combo1_ = nullptr;
    QPushButton* Command1_ = nullptr;
    QPushButton* Command2_ = nullptr;
    QLabel* Label2_ = nullptr;
    QCheckBox* Check1_ = nullptr;
    QCheckBox* Check2_ = nullptr;
    QCheckBox* Check3_ = nullptr;
    QTimer* DisplayRefresh_ = nullptr;
};

}  // namespace lumidot
