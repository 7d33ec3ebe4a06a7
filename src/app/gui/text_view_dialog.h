#pragma once
// A page's source or readable text, whole, in a scrollable read-only window
// (a message box could not hold a whole page).
//
// Thread-safety: UI thread only.
#include <QDialog>

namespace lexicrawl::gui {

class TextViewDialog : public QDialog {
    Q_OBJECT
public:
    TextViewDialog(const QString& title, const QString& text, QWidget* parent = nullptr);
};

}  // namespace lexicrawl::gui
