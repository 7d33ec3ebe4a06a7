#include "app/gui/unknown_words_tab.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QTableView>

#include "app/gui/result_list.h"
#include "app/gui/unknown_word_model.h"
#include "app/gui/word_sources_pane.h"
#include "platform/platform.h"
#include "platform/translation.h"

namespace lexicrawl::gui {

UnknownWordsTab::UnknownWordsTab(ProjectDatabase& database, QWidget* parent) : QWidget(parent)
{
    model_ = new UnknownWordModel(this);
    view_ = MakeResultList(QStringLiteral("unknownWords"), Tr(QStringLiteral("Unknown Words")), this);
    view_->setModel(model_);
    view_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    view_->setColumnWidth(1, 100);
    view_->setColumnWidth(2, 220);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this, &UnknownWordsTab::ShowMenu);

    // The buttons first: Tab goes from the list to them, then to the pane.
    QHBoxLayout* buttons = ListButtons(Tr(QStringLiteral("Export Words...")), this, [this] { emit findRequested(); },
                                       [this] { emit exportRequested(); });
    sources_ = new WordSourcesPane(database, this);
    sources_->setMinimumWidth(400);
    LayOutListWithDetail(this, view_, buttons, sources_);
    FollowCurrentRow(view_, this, [this](int row) { ShowWordAt(row); });
}

void UnknownWordsTab::ShowWordAt(int row)
{
    sources_->ShowWord(model_->WordAt(row), model_->FormsAt(row));
}

QString UnknownWordsTab::SelectedWord() const
{
    const QModelIndexList rows = view_->selectionModel()->selectedRows();
    return rows.isEmpty() ? QString() : model_->WordAt(rows.first().row());
}

void UnknownWordsTab::SelectRow(int row)
{
    SelectListRow(view_, row, [this](int shown) { ShowWordAt(shown); });
}

void UnknownWordsTab::ShowMenu(const QPoint& at)
{
    const QString word = SelectedWord();
    QMenu menu(this);
    menu.addAction(Tr(QStringLiteral("Copy")), this, [word] {
        if (!word.isEmpty())
            Platform::Current().SetClipboardText(word);
    });
    menu.addAction(Tr(QStringLiteral("Spell Check")), this, [this, word] {
        if (!word.isEmpty())
            emit spellCheckRequested(word);
    });
    menu.addSeparator();
    const std::pair<QString, ApprovalKind> approvals[] = {
        {Tr(QStringLiteral("Approve for this site")), ApprovalKind::Site},
        {Tr(QStringLiteral("Add to my dictionary")), ApprovalKind::Personal},
        {Tr(QStringLiteral("Ignore")), ApprovalKind::Ignored},
    };
    for (const auto& [caption, kind] : approvals)
        menu.addAction(caption, this, [this, word, kind = kind] {
            if (!word.isEmpty())
                emit approveRequested(word, kind);
        })->setEnabled(!word.isEmpty());
    menu.exec(view_->viewport()->mapToGlobal(at));
}

}  // namespace lexicrawl::gui
