#include "app/gui/page_facts_pane.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "analysis/result_queries.h"
#include "app/gui/background.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/translation.h"
#include "store/project_database.h"

namespace lexicrawl::gui {

namespace {

struct FactsAnswer {
    StoredPageFacts facts;
    bool ok = true;
    QString error;
};

QString LengthText(const QString& text)
{
    return Tr(QStringLiteral("Length: %s")).replace(QLatin1String("%s"), QString::number(text.size()));
}

}  // namespace

QString PageMarkText(const PageMarks& marks, const QString& url)
{
    QStringList lines;
    const auto document = marks.documents.constFind(url);
    if (document != marks.documents.cend()) {
        QStringList parts{document->kind};
        if (document->pages > 0)
            parts << (document->pages == 1 ? Tr(QStringLiteral("1 page"))
                                           : Tr(QStringLiteral("%1 pages")).arg(document->pages));
        parts << Tr(document->status);  // "read", or why the document was not read whole
        lines << Tr(QStringLiteral("Document: %1")).arg(parts.join(QStringLiteral(", ")));
    }
    if (marks.sitemapOnly.contains(url))
        lines << Tr(QStringLiteral("Found in sitemap, linked from nowhere"));
    return lines.join(QLatin1Char('\n'));
}

PageFactsPane::PageFactsPane(ProjectDatabase& database, QWidget* parent) : QWidget(parent), database_(database)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 0, 0);
    mark_ = new QLabel(this);
    mark_->setObjectName(QStringLiteral("pageMark"));
    mark_->setTextFormat(Qt::PlainText);  // the kind and status are whatever the project file holds
    mark_->setWordWrap(true);
    mark_->hide();
    layout->addWidget(mark_);
    title_ = AddBox(QStringLiteral("title"), Tr(QStringLiteral("Title:")), true, &titleLength_);
    description_ = AddBox(QStringLiteral("description"), Tr(QStringLiteral("META Description:")), true,
                          &descriptionLength_);
    h1_ = AddBox(QStringLiteral("h1"), Tr(QStringLiteral("H1 Tags:")), false, &h1Count_);
    h2_ = AddBox(QStringLiteral("h2"), Tr(QStringLiteral("H2 Tags:")), false, &h2Count_);
    layout->addStretch(1);
    Clear();
}

void PageFactsPane::Clear()
{
    ++request_;
    page_.clear();
    ShowMark();
    for (QPlainTextEdit* box : {title_, description_, h1_, h2_})
        box->clear();
    titleLength_->setText(LengthText(QString()));
    descriptionLength_->setText(LengthText(QString()));
    h1Count_->setText(QStringLiteral("0"));
    h2Count_->setText(QStringLiteral("0"));
}

// Objects are named after the fact ("title", "titleCount") for tests and accessibility tools.
QPlainTextEdit* PageFactsPane::AddBox(const QString& name, const QString& caption, bool wrap, QLabel** counter)
{
    auto* label = new QLabel(caption, this);
    auto* box = new QPlainTextEdit(this);
    box->setReadOnly(true);
    box->setTabChangesFocus(true);
    box->setFixedHeight(100);
    box->setMinimumWidth(60);  // the pane may be narrow; the box scrolls
    box->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    box->setAccessibleName(caption);
    box->setObjectName(name);
    label->setBuddy(box);
    *counter = new QLabel(this);
    (*counter)->setAlignment(Qt::AlignRight);
    (*counter)->setAccessibleDescription(caption);  // a name would hide the count
    (*counter)->setObjectName(name + QStringLiteral("Count"));
    layout()->addWidget(label);
    layout()->addWidget(box);
    layout()->addWidget(*counter);
    return box;
}

void PageFactsPane::SetMarks(const PageMarks& marks)
{
    marks_ = marks;
    ShowMark();
}

void PageFactsPane::ShowMark()
{
    const QString text = page_.isEmpty() ? QString() : PageMarkText(marks_, page_);
    mark_->setText(text);
    mark_->setVisible(!text.isEmpty());
}

void PageFactsPane::ShowPage(const QString& url)
{
    const quint64 request = ++request_;
    page_ = url;
    ProjectDatabase* database = &database_;
    RunInBackground<FactsAnswer>(
        this,
        [database, url] {
            FactsAnswer answer;
            answer.ok = LoadStoredPageFacts(*database, url, answer.facts, &answer.error);
            return answer;
        },
        [this, request](const FactsAnswer& answer) {
            if (request != request_)
                return;  // a later selection is on its way
            if (!answer.ok) {
                Platform::Current().ShowMessage(QStringLiteral("Exception raised with message: ") + answer.error);
                return;
            }
            title_->setPlainText(answer.facts.title);
            titleLength_->setText(LengthText(answer.facts.title));
            description_->setPlainText(answer.facts.description);
            descriptionLength_->setText(LengthText(answer.facts.description));
            h1_->setPlainText(answer.facts.h1.join(QLatin1Char('\n')));
            h1Count_->setText(QString::number(answer.facts.h1.size()));
            h2_->setPlainText(answer.facts.h2.join(QLatin1Char('\n')));
            h2Count_->setText(QString::number(answer.facts.h2.size()));
            ShowMark();
            emit shown();
        });
}

}  // namespace lexicrawl::gui
