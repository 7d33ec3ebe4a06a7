#include "app/gui/keyboard_access.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QSet>
#include <QShortcut>

namespace lexicrawl::gui {

namespace {

void AddMnemonics(const QList<QAction*>& actions)
{
    QSet<QChar> used;
    QList<QAction*> open;
    for (QAction* action : actions) {
        const QString text = action->text();
        const qsizetype marked = text.indexOf(QLatin1Char('&'));
        if (marked >= 0 && marked + 1 < text.size())
            used.insert(text.at(marked + 1).toLower());
        else if (!action->isSeparator() && !text.isEmpty())
            open << action;
    }
    for (QAction* action : open) {
        QString text = action->text();
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i).toLower();
            if (c.isLetterOrNumber() && !used.contains(c)) {
                used.insert(c);
                action->setText(text.insert(i, QLatin1Char('&')));
                break;
            }
        }
    }
    for (QAction* action : actions)
        if (action->menu())
            AddMnemonics(action->menu()->actions());
}

}  // namespace

void NameComboParts(QComboBox* box)
{
    box->view()->setAccessibleName(box->accessibleName());
    if (QLineEdit* editor = box->lineEdit())
        editor->setAccessibleName(box->accessibleName());
}

void AddMnemonics(QWidget* menuOrBar)
{
    AddMnemonics(menuOrBar->actions());
}

void OpenMenuOnShiftF10(QAbstractItemView* view)
{
    auto* shortcut = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), view);
    shortcut->setContext(Qt::WidgetShortcut);
    QObject::connect(shortcut, &QShortcut::activated, view, [view] {
        const QRect current = view->visualRect(view->currentIndex());
        const QPoint at = current.isValid() ? current.center() : QPoint(4, 4);
        emit view->customContextMenuRequested(at);
    });
}

}  // namespace lexicrawl::gui
