#include "app/gui/unknown_words_tab.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

#include "analysis/word_groups.h"
#include "app/gui/keyboard_access.h"
#include "app/gui/result_list.h"
#include "app/gui/unknown_word_model.h"
#include "app/gui/word_findings_model.h"
#include "app/gui/word_sources_pane.h"
#include "platform/platform.h"
#include "platform/translation.h"

namespace lexicrawl::gui {

namespace {

// The choice's entries: the word list's views, then the findings.
enum Choice { LikelyTyposFirstChoice, LikelyTyposChoice, SiteVocabularyChoice, RepeatedWordsChoice, TwoSpellingsChoice };

}  // namespace

UnknownWordsTab::UnknownWordsTab(ProjectDatabase& database, QWidget* parent) : QWidget(parent)
{
    model_ = new UnknownWordModel(this);
    view_ = MakeResultList(QStringLiteral("unknownWords"), Tr(QStringLiteral("Unknown Words")), this);
    view_->setModel(model_);
    view_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    view_->setColumnWidth(1, 100);
    view_->setColumnWidth(2, 220);
    view_->setColumnWidth(UnknownWordModel::CorrectionColumn, 140);
    view_->setColumnWidth(UnknownWordModel::ReasonColumn, 320);
    // Many words at once: a site's names go to its approved words in one step.
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this, &UnknownWordsTab::ShowMenu);

    // The findings take the list's place when the choice asks for them.
    findings_ = new WordFindingsModel(this);
    findingsView_ = MakeResultList(QStringLiteral("wordFindings"), Tr(QStringLiteral("Findings")), this);
    findingsView_->setModel(findings_);
    findingsView_->horizontalHeader()->setStretchLastSection(true);
    findingsView_->setColumnWidth(WordFindingsModel::WordsColumn, 180);
    findingsView_->setColumnWidth(WordFindingsModel::PageColumn, 260);
    findingsView_->hide();

    // The buttons first: Tab goes from the list to them, then to the pane.
    QHBoxLayout* buttons = ListButtons(Tr(QStringLiteral("Export Words...")), this, [this] { emit findRequested(); },
                                       [this] { emit exportRequested(); });
    viewChoice_ = new QComboBox(this);
    viewChoice_->setObjectName(QStringLiteral("wordGroups"));
    viewChoice_->addItems({Tr(QStringLiteral("Likely typos first")), WordGroupName(WordGroup::LikelyTypo),
                           WordGroupName(WordGroup::SiteVocabulary), QString(), QString()});
    CountFindings();
    auto* viewLabel = new QLabel(Tr(QStringLiteral("Show:")), this);
    viewLabel->setBuddy(viewChoice_);
    viewChoice_->setAccessibleName(Tr(QStringLiteral("Show")));
    NameComboParts(viewChoice_);
    connect(viewChoice_, &QComboBox::currentIndexChanged, this, &UnknownWordsTab::ChooseView);
    // Above the list, where it widens nothing: the window keeps its least width.
    viewChoice_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    viewChoice_->setMinimumContentsLength(10);
    auto* viewRow = new QHBoxLayout;
    viewRow->addWidget(viewLabel);
    viewRow->addWidget(viewChoice_);
    viewRow->addStretch(1);
    sources_ = new WordSourcesPane(database, this);
    sources_->setMinimumWidth(400);
    QSplitter* splitter = LayOutListWithDetail(this, view_, buttons, sources_);
    if (auto* listLayout = qobject_cast<QVBoxLayout*>(splitter->widget(0)->layout())) {
        listLayout->insertLayout(0, viewRow);
        listLayout->insertWidget(2, findingsView_, 1);
    }
    FollowCurrentRow(view_, this, [this](int row) { ShowWordAt(row); });
    FollowCurrentRow(findingsView_, this, [this](int row) { ShowFindingAt(row); });
}

void UnknownWordsTab::ChooseView(int index)
{
    const bool findings = index == RepeatedWordsChoice || index == TwoSpellingsChoice;
    if (findings) {
        findings_->SetKind(index == RepeatedWordsChoice ? WordFindingsModel::Kind::RepeatedWords
                                                        : WordFindingsModel::Kind::TwoSpellings);
    } else if (index >= 0) {
        const UnknownWordModel::View views[] = {UnknownWordModel::View::LikelyTyposFirst,
                                                UnknownWordModel::View::LikelyTypos,
                                                UnknownWordModel::View::SiteVocabulary};
        model_->SetView(views[index]);
    }
    // The pane follows the list now shown.
    if (findings == findingsView_->isHidden()) {
        sources_->Clear();
        const QModelIndex current = (findings ? findingsView_ : view_)->currentIndex();
        if (current.isValid() && findings)
            ShowFindingAt(current.row());
        else if (current.isValid())
            ShowWordAt(current.row());
    }
    view_->setVisible(!findings);
    findingsView_->setVisible(findings);
}

void UnknownWordsTab::SetFindings(std::vector<RepeatedWordFinding> repeated, std::vector<TwoSpellings> spellings)
{
    findings_->SetFindings(std::move(repeated), std::move(spellings));
    CountFindings();
}

// "Repeated words (3)": the count tells whether there is anything to look at.
void UnknownWordsTab::CountFindings()
{
    viewChoice_->setItemText(RepeatedWordsChoice,
                             Tr(QStringLiteral("Repeated words (%1)")).arg(findings_->RepeatedWords().size()));
    viewChoice_->setItemText(TwoSpellingsChoice,
                             Tr(QStringLiteral("One word, two spellings (%1)")).arg(findings_->Spellings().size()));
}

void UnknownWordsTab::ShowFindingAt(int row)
{
    if (const RepeatedWordFinding* r = findings_->RepeatedAt(row))
        sources_->ShowFinding(RepeatedWordsText(*r), r->url, r->context);
    else if (const TwoSpellings* t = findings_->SpellingsAt(row))
        // The pages on which a spelling was unknown: where the odd one out stands.
        sources_->ShowWord(SpellingsText(*t), t->spellings);
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

QStringList UnknownWordsTab::SelectedWords() const
{
    QModelIndexList rows = view_->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList words;
    for (const QModelIndex& row : rows) {
        const QString word = model_->WordAt(row.row());
        if (!word.isEmpty())
            words << word;
    }
    return words;
}

void UnknownWordsTab::SelectRow(int row)
{
    SelectListRow(view_, row, [this](int shown) { ShowWordAt(shown); });
}

bool UnknownWordsTab::ShowingFindings() const
{
    return !findingsView_->isHidden();
}

void UnknownWordsTab::SelectFindingRow(int row)
{
    SelectListRow(findingsView_, row, [this](int shown) { ShowFindingAt(shown); });
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
    const QStringList words = SelectedWords();
    for (const auto& [caption, kind] : approvals)
        menu.addAction(caption, this, [this, words, kind = kind] {
            if (!words.isEmpty())
                emit approveRequested(words, kind);
        })->setEnabled(!words.isEmpty());
    menu.exec(view_->viewport()->mapToGlobal(at));
}

}  // namespace lexicrawl::gui
