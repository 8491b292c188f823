#pragma once

#include <QWidget>
#include <array>
#include <utility>
#include <vector>

#include "cartridges/Host.h"
#include "console/Console.h"
#include "window/Layout.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QTimer;

namespace lumidot {

class DotMatrix;
class KeypadKeyboard;
class PictureBox;
class Slot;

// The console's one window: the dot display with the cartridge's overlay
// beneath it, the twelve-key keypad, and the side panel with the cartridge
// slot and the simulator's options. Its handlers press keys, read the
// display and drive the slot; the inserted game dresses the window through
// Host.
class MainWindow : public QWidget, public Host {
    Q_OBJECT

  public:
    static constexpr int kKeys = Console::kKeys;

    // When the display refresh ticks once the first cartridge has gone in:
    // only while there is something to paint (a change of the display
    // memory, or lit dots flickering on a weak battery), or every tick
    // whatever happens, which the benchmark keeps as its baseline.
    enum class Refresh { WhenChanged, Always };

    MainWindow(Console& console, Slot& slot, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The window's start-up, once the slot has its cartridges: seeds the
    // random generator and lists the cartridges, the slot's choice shown.
    void Load();

    DotMatrix* Display() const { return dotDisplay_; }
    QPushButton* Keypad(int index) const { return keypad_.at(static_cast<std::size_t>(index - 1)); }
    QTimer* RefreshTimer() const { return refreshTimer_; }

    // Repaints every dot cell from the console's display memory.
    void RefreshDisplay();
    void SetRefresh(Refresh refresh) { refresh_ = refresh; }

    // The window's final release, once it is closed and no handler runs.
    void Terminate();

    // The window's size factor, 1 to 4; Ctrl+Plus and Ctrl+Minus step it,
    // Ctrl+0 returns to the one it started at.
    double Scale() const { return scale_; }
    void SetStartScale(double scale);

    // Host: what the game may do to the window.
    void SetOverlayPicture(const std::string& path) override;
    void SetKeyVisible(std::int16_t index, bool visible) override;
    void SetKeyCaption(std::int16_t index, const std::string& caption) override;
    void SetKeyPicture(std::int16_t index, const std::string& path) override;
    void SetKeyName(std::int16_t index, const std::string& name) override;
    void ShowErrorBox(const std::string& text, const std::string& title) override;
    void CloseMainWindow() override;
    void EjectCartridge() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    // The pointer over the display reaches the window: the panel is
    // disabled. The keypad and the slot panel keep theirs.
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    // Built in MainWindowControls.cpp.
    void BuildDisplay();
    void BuildKeypad();
    void BuildSlotPanel();
    void SetTabOrder();
    template <typename Control>
    Control* Place(QWidget* parent, const char* name, const layout::Rect& twips);
    // Sets every control's place and the captions' size for the scale.
    void ApplyScale(double scale);
    void FitKeyPicture(int index);
    // In Accessibility.cpp.
    void DescribeControls();
    // In MainWindowSizes.cpp.
    void AddSizeShortcuts();
    void StepScale(int direction);
    bool OverDisplay(const QPoint& point) const;

    void InsertCartridge();
    void RemoveCartridge();
    void PressKey(int index);
    void UpdateDisplayBackground();
    // There is something new to paint: a tick comes at the display's next
    // beat, unless one is due or running already.
    void WakeRefresh();
    // Sets the timer for the first beat later than `after` (Seconds()).
    void ScheduleRefresh(double after);

    Console& console_;
    Slot& slot_;
    bool refreshing_ = false;
    Refresh refresh_ = Refresh::WhenChanged;
    // The refresh runs from the first insertion to the final release, on
    // beats every 25 ms from the first one.
    bool refreshStarted_ = false;
    double firstBeat_ = 0.0;
    // Whether the display memory or the look of the lit dots has changed
    // since the current or last tick began.
    bool displayChanged_ = false;
    double scale_ = 1.0;
    double startScale_ = 1.0;
    // Every placed control with its rectangle, for a change of scale.
    std::vector<std::pair<QWidget*, layout::Rect>> placed_;

    QFrame* displayPanel_ = nullptr;
    QFrame* keypadPanel_ = nullptr;
    QFrame* slotPanel_ = nullptr;
    PictureBox* overlay_ = nullptr;
    DotMatrix* dotDisplay_ = nullptr;
    std::array<QPushButton*, kKeys> keypad_{};
    // Each key's picture at its own size, shown scaled with the window.
    std::array<QSize, kKeys> keyPictureSizes_{};
    QLabel* cartridgeLabel_ = nullptr;
    QComboBox* cartridgeList_ = nullptr;
    QPushButton* insertButton_ = nullptr;
    QPushButton* removeButton_ = nullptr;
    QLabel* optionsLabel_ = nullptr;
    QCheckBox* hideInactiveDots_ = nullptr;
    QCheckBox* weakBattery_ = nullptr;
    QCheckBox* enhancedControls_ = nullptr;
    QTimer* refreshTimer_ = nullptr;
    KeypadKeyboard* keyboard_ = nullptr;
};

}  // namespace lumidot
