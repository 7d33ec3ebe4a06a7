#pragma once
// What the two result tabs share: a report-style, read-only list with grid
// lines and whole-row selection, the row of buttons under it (a small Find
// button and an export button), the detail pane beside it, and the pane
// following the list's current row.
//
// Thread-safety: UI thread only.
#include <QString>

#include <functional>

class QHBoxLayout;
class QSplitter;
class QTableView;
class QWidget;

namespace lexicrawl::gui {

QTableView* MakeResultList(const QString& objectName, const QString& accessibleName, QWidget* parent);
QHBoxLayout* ListButtons(const QString& exportCaption, QWidget* parent, const std::function<void()>& find,
                         const std::function<void()>& exportList);

// Lays tab out: the list with its buttons under it, and the detail pane
// beside them; the returned splitter holds the two.
QSplitter* LayOutListWithDetail(QWidget* tab, QTableView* list, QHBoxLayout* buttons, QWidget* detail);
// Calls showRow with the list's current row whenever it changes to a row.
void FollowCurrentRow(QTableView* list, QWidget* context, const std::function<void(int)>& showRow);
// Makes row the current, selected row and shows it; a row that was current
// already is shown afresh (no change of row would show it).
void SelectListRow(QTableView* list, int row, const std::function<void(int)>& showRow);

}  // namespace lexicrawl::gui
