#pragma once

// The Qt object names of the window's controls. They are the names the
// console's window definition gives its controls (a numbered name for each
// generic control, a role name for those the code drives), so that a style
// sheet, an automation tool or a reader of that definition finds each
// control under the name it knows. The code and the tests use these
// constants, whose names say what each control is.
namespace lumidot::objectnames {

inline constexpr char kMainWindow[] = "frmMain";
inline constexpr char kDisplayPanel[] = "Frame1";
inline constexpr char kOverlay[] = "imgOverlay";
inline constexpr char kDotDisplay[] = "Dotmatrix";
inline constexpr char kRefreshTimer[] = "DisplayRefresh";
inline constexpr char kKeypadPanel[] = "Frame2";
// Every key of the keypad; each carries its index, 1 to 12, as "Index".
inline constexpr char kKeypadKey[] = "Keypad";
inline constexpr char kSlotPanel[] = "Frame3";
inline constexpr char kCartridgeLabel[] = "Label1";
inline constexpr char kCartridgeList[] = "Combo1";
inline constexpr char kInsertButton[] = "Command1";
inline constexpr char kRemoveButton[] = "Command2";
inline constexpr char kOptionsLabel[] = "Label2";
inline constexpr char kHideInactiveDots[] = "Check1";
inline constexpr char kWeakBattery[] = "Check2";
inline constexpr char kEnhancedControls[] = "Check3";

}  // namespace lumidot::objectnames
