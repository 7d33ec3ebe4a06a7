#include "app/gui/result_list.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QToolButton>

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

}  // namespace lexicrawl::gui
