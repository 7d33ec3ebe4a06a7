#include "app/gui/internal_urls_tab.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QScrollArea>
#include <QSplitter>
#include <QTableView>

#include "app/gui/background.h"
#include "app/gui/internal_url_model.h"
#include "app/gui/page_facts_pane.h"
#include "app/gui/result_list.h"
#include "crawl/url_text.h"
#include "platform/platform.h"
#include "platform/translation.h"

namespace lexicrawl::gui {

InternalUrlsTab::InternalUrlsTab(const InternalUrls& table, ProjectDatabase& database, QWidget* parent)
    : QWidget(parent), database_(database)
{
    model_ = new InternalUrlModel(table, this);
    view_ = MakeResultList(QStringLiteral("internalUrls"), Tr(QStringLiteral("Internal URLs")), this);
    view_->setModel(model_);
    view_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < InternalUrlModel::FailureColumn; ++column)
        view_->setColumnWidth(column, 150);
    view_->setColumnWidth(InternalUrlModel::FailureColumn, 220);
    view_->setColumnWidth(InternalUrlModel::NoteColumn, 230);
    view_->setColumnHidden(InternalUrlModel::NoteColumn, true);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this, &InternalUrlsTab::ShowMenu);

    // The buttons first: Tab goes from the list to them, then to the pane.
    QHBoxLayout* buttons = ListButtons(Tr(QStringLiteral("Export Internal URLs...")), this,
                                       [this] { emit findRequested(); }, [this] { emit exportRequested(); });
    facts_ = new PageFactsPane(database, this);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("pageFacts"));
    scroll->setAccessibleName(Tr(QStringLiteral("Page Facts")));
    scroll->setWidget(facts_);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setMinimumWidth(270);
    LayOutListWithDetail(this, view_, buttons, scroll)->setSizes({700, 300});
    FollowCurrentRow(view_, this, [this](int row) { facts_->ShowPage(model_->UrlAt(row)); });
}

QString InternalUrlsTab::SelectedUrl() const
{
    const QModelIndexList rows = view_->selectionModel()->selectedRows();
    return rows.isEmpty() ? QString() : model_->UrlAt(rows.first().row());
}

void InternalUrlsTab::SelectRow(int row)
{
    SelectListRow(view_, row, [this](int shown) { facts_->ShowPage(model_->UrlAt(shown)); });
}

void InternalUrlsTab::SetAnalyzeEnabled(bool enabled)
{
    analyzeEnabled_ = enabled;
}

void InternalUrlsTab::LoadMarks()
{
    const quint64 request = ++marksRequest_;
    ProjectDatabase* database = &database_;
    struct Answer {
        PageMarks marks;
        bool ok = true;
        QString error;
    };
    RunInBackground<Answer>(
        this,
        [database] {
            Answer answer;
            answer.ok = LoadPageMarks(*database, answer.marks, &answer.error);
            return answer;
        },
        [this, request](const Answer& answer) {
            if (request != marksRequest_)
                return;  // a crawl began, or a later reading is on its way
            if (!answer.ok)
                Platform::Current().ShowMessage(QStringLiteral("Exception raised with message: ") + answer.error);
            ShowMarks(answer.marks);
            emit marksShown();
        });
}

void InternalUrlsTab::ClearMarks()
{
    ++marksRequest_;
    ShowMarks(PageMarks{});
}

// A list without notes looks as it always has: the column comes with the first note.
void InternalUrlsTab::ShowMarks(const PageMarks& marks)
{
    marks_ = marks;
    model_->SetNotes(marks.notes);
    const bool notes = !marks.notes.isEmpty();
    if (view_->isColumnHidden(InternalUrlModel::NoteColumn) == notes) {
        // The URL column stretches into what the others leave: with the Note
        // column they narrow, so that the addresses stay readable.
        for (int column = 1; column < InternalUrlModel::FailureColumn; ++column)
            view_->setColumnWidth(column, notes ? 110 : 150);
        view_->setColumnWidth(InternalUrlModel::FailureColumn, notes ? 170 : 220);
        view_->setColumnHidden(InternalUrlModel::NoteColumn, !notes);
    }
    facts_->SetMarks(marks);
}

void InternalUrlsTab::ShowMenu(const QPoint& at)
{
    const QString url = SelectedUrl();
    QMenu menu(this);
    menu.addAction(Tr(QStringLiteral("Copy URL")), this, [url] {
        if (!url.isEmpty())
            Platform::Current().SetClipboardText(url);
    });
    menu.addAction(Tr(QStringLiteral("Go to URL")), this, [url] {
        if (IsWebAddress(url))  // a page may have linked file: or smb: addresses
            Platform::Current().OpenDocument(url);
    });
    QAction* analyze = menu.addAction(Tr(QStringLiteral("Analyze URL...")), this, [this, url] {
        if (!url.isEmpty())
            emit analyzeRequested(url);
    });
    analyze->setEnabled(analyzeEnabled_);
    menu.addSeparator();
    menu.addAction(Tr(QStringLiteral("View Readable Text...")), this, [this, url] {
        if (!url.isEmpty())
            emit viewReadableTextRequested(url);
    });
    menu.addAction(Tr(QStringLiteral("View Source...")), this, [this, url] {
        if (!url.isEmpty())
            emit viewSourceRequested(url);
    });
    menu.exec(view_->viewport()->mapToGlobal(at));
}

}  // namespace lexicrawl::gui
