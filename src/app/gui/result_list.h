#pragma once
// What the two result lists share: a report-style, read-only list with grid
// lines and whole-row selection, and the row of buttons under it (a small
// Find button and an export button).
//
// Thread-safety: UI thread only.
#include <QString>

#include <functional>

class QHBoxLayout;
class QTableView;
class QWidget;

namespace lexicrawl::gui {

QTableView* MakeResultList(const QString& objectName, const QString& accessibleName, QWidget* parent);
QHBoxLayout* ListButtons(const QString& exportCaption, QWidget* parent, const std::function<void()>& find,
                         const std::function<void()>& exportList);

}  // namespace lexicrawl::gui
