#include "app/gui/result_list.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/gui/keyboard_access.h"
#include "platform/translation.h"

namespace lexicrawl::gui {

QTableView* MakeResultList(const QString& objectName, const QString& accessibleName, QWidget* parent)
{
    auto* view = new QTableView(parent);
    view->setObjectName(objectName);
    view->setAccessibleName(accessibleName);
    view->setShowGrid(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->setWordWrap(false);
    view->horizontalHeader()->setHighlightSections(false);
    // Tab leaves the list (arrows move within it), so the keyboard reaches
    // the buttons and the pane beside it; Shift+F10 opens its menu.
    view->setTabKeyNavigation(false);
    OpenMenuOnShiftF10(view);
    // The style draws no sign of a focused list when its current row is
    // selected anyway: a frame in the highlight colour shows where the keys go.
    view->setStyleSheet(QStringLiteral("QTableView:focus { border: 2px solid palette(highlight); }"));
    return view;
}

QHBoxLayout* ListButtons(const QString& exportCaption, QWidget* parent, const std::function<void()>& find,
                         const std::function<void()>& exportList)
{
    auto* layout = new QHBoxLayout;
    auto* findButton = new QToolButton(parent);
    findButton->setObjectName(QStringLiteral("find"));
    findButton->setIcon(parent->style()->standardIcon(QStyle::SP_FileDialogContentsView));
    findButton->setToolTip(Tr(QStringLiteral("Find")));
    findButton->setAccessibleName(Tr(QStringLiteral("Find")));
    QObject::connect(findButton, &QToolButton::clicked, parent, find);
    auto* exportButton = new QPushButton(exportCaption, parent);
    exportButton->setObjectName(QStringLiteral("export"));
    exportButton->setAccessibleName(exportCaption);
    QObject::connect(exportButton, &QPushButton::clicked, parent, exportList);
    layout->addWidget(findButton);
    layout->addWidget(exportButton);
    layout->addStretch(1);
    return layout;
}

QSplitter* LayOutListWithDetail(QWidget* tab, QTableView* list, QHBoxLayout* buttons, QWidget* detail)
{
    auto* listSide = new QWidget(tab);
    auto* listLayout = new QVBoxLayout(listSide);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->addWidget(list, 1);
    listLayout->addLayout(buttons);

    auto* splitter = new QSplitter(tab);
    splitter->addWidget(listSide);
    splitter->addWidget(detail);
    splitter->setStretchFactor(0, 1);
    auto* layout = new QHBoxLayout(tab);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    return splitter;
}

void FollowCurrentRow(QTableView* list, QWidget* context, const std::function<void(int)>& showRow)
{
    QObject::connect(list->selectionModel(), &QItemSelectionModel::currentRowChanged, context,
                     [showRow](const QModelIndex& current) {
                         if (current.isValid())
                             showRow(current.row());
                     });
}

void SelectListRow(QTableView* list, int row, const std::function<void(int)>& showRow)
{
    const QModelIndex index = list->model()->index(row, 0);
    const bool alreadyCurrent = list->selectionModel()->currentIndex().row() == row;
    list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (alreadyCurrent)
        showRow(row);
    list->scrollTo(index, QAbstractItemView::EnsureVisible);
    list->setFocus();
}

}  // namespace lexicrawl::gui
