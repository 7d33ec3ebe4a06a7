#pragma once
// Small helpers that make the window's controls reachable from the keyboard
// and legible to screen readers: names for the parts of combo boxes, menu
// mnemonics, and the context-menu key Shift+F10 on lists.
//
// Thread-safety: UI thread only.
class QAbstractItemView;
class QComboBox;
class QWidget;

namespace lexicrawl::gui {

// The combo box's drop-down list and, when it is editable, its text field
// get the box's accessible name (set that first).
void NameComboParts(QComboBox* box);
// Gives each entry of a menu bar or menu, and each item of their submenus,
// an underlined letter: the first letter of its caption that no
// earlier entry of the same menu uses. A caption that has one keeps it; run
// it after the captions are translated, so it picks from what is shown.
void AddMnemonics(QWidget* menuOrBar);
// Shift+F10 on the list asks for its context menu at the current row, as the
// Menu key does.
void OpenMenuOnShiftF10(QAbstractItemView* view);

}  // namespace lexicrawl::gui
