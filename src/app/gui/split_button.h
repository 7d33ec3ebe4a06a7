#pragma once
// A button with a drop-down beside it (the Start button): a click runs the
// button's command, the arrow opens the menu. To assistive technology it is
// a button whose default action is the command ("Press"), with "ShowMenu"
// as its second action; a plain tool button with a menu would offer the menu
// first, so that a screen reader's "activate" opened the menu.
//
// Thread-safety: UI thread only.
#include <QToolButton>

namespace lexicrawl::gui {

class SplitButton : public QToolButton {
    Q_OBJECT
public:
    explicit SplitButton(QWidget* parent = nullptr);
};

}  // namespace lexicrawl::gui
