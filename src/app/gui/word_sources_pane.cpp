#include "app/gui/word_sources_pane.h"

#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "analysis/result_queries.h"
#include "analysis/word_context.h"
#include "crawl/url_text.h"
#include "store/project_database.h"
#include "app/gui/background.h"
#include "app/gui/keyboard_access.h"
#include "platform/platform.h"
#include "platform/translation.h"

namespace lexicrawl::gui {

namespace {

struct SourcesAnswer {
    QStringList urls;
    QHash<QString, WordContext> contexts;  // the first of each page
    bool ok = true;
    QString error;
};

// "heading: Install the kubectl tool."
QString ContextText(const WordContext& c)
{
    const QString place =
        c.documentPage > 0 ? Tr(QStringLiteral("page %1")).arg(c.documentPage) : Tr(WordPlaceName(c.place));
    return place + QStringLiteral(": ") + c.Text().simplified();
}

}  // namespace

WordSourcesPane::WordSourcesPane(ProjectDatabase& database, QWidget* parent) : QWidget(parent), database_(database)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 0, 0);
    word_ = new QLabel(this);
    word_->setObjectName(QStringLiteral("sourceWord"));
    QFont bold = word_->font();
    bold.setBold(true);
    word_->setFont(bold);
    word_->setAccessibleDescription(Tr(QStringLiteral("Word")));  // a name would hide the word
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("sourceList"));
    list_->setColumnCount(2);
    list_->setHeaderLabels({Tr(QStringLiteral("Source URL")), Tr(QStringLiteral("Context"))});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAccessibleName(Tr(QStringLiteral("Source URL")));
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QWidget::customContextMenuRequested, this, &WordSourcesPane::ShowMenu);
    OpenMenuOnShiftF10(list_);
    layout->addWidget(word_);
    layout->addWidget(list_, 1);
}

void WordSourcesPane::ShowWord(const QString& word, const QStringList& forms)
{
    word_->setText(word);
    const quint64 request = ++request_;
    ProjectDatabase* database = &database_;
    const QStringList asked = forms.isEmpty() ? QStringList{word} : forms;
    RunInBackground<SourcesAnswer>(
        this,
        [database, asked] {
            SourcesAnswer answer;
            for (const QString& form : asked) {
                if (!(answer.ok = LoadWordSources(*database, form, answer.urls, &answer.error)))
                    break;
                try {
                    for (const WordContext& c : LoadWordContexts(*database, form))
                        if (!answer.contexts.contains(c.url))
                            answer.contexts.insert(c.url, c);
                } catch (const DatabaseError&) {
                    // A project without contexts shows the pages alone.
                }
            }
            return answer;
        },
        [this, request](const SourcesAnswer& answer) {
            if (request != request_)
                return;
            list_->clear();
            if (!answer.ok) {
                Platform::Current().ShowMessage(QStringLiteral("Exception raised with message: ") + answer.error);
                return;
            }
            QList<QTreeWidgetItem*> items;
            items.reserve(answer.urls.size());
            for (const QString& url : answer.urls) {
                const auto context = answer.contexts.constFind(url);
                auto* item = new QTreeWidgetItem(
                    QStringList{url, context == answer.contexts.cend() ? QString() : ContextText(*context)});
                if (context != answer.contexts.cend())
                    item->setToolTip(1, context->Text());
                items << item;
            }
            list_->addTopLevelItems(items);
            emit shown();
        });
}

void WordSourcesPane::ShowFinding(const QString& title, const QString& url, const QString& context)
{
    ++request_;
    word_->setText(title);
    list_->clear();
    auto* item = new QTreeWidgetItem(QStringList{url, context.simplified()});
    item->setToolTip(1, context);
    list_->addTopLevelItem(item);
    emit shown();
}

void WordSourcesPane::Clear()
{
    ++request_;
    word_->clear();
    list_->clear();
}

QString WordSourcesPane::SelectedUrl() const
{
    const QTreeWidgetItem* item = list_->currentItem();
    return item && item->isSelected() ? item->text(0) : QString();
}

void WordSourcesPane::ShowMenu(const QPoint& at)
{
    QMenu menu(this);
    menu.addAction(Tr(QStringLiteral("Copy URL")), this, [this] {
        if (!SelectedUrl().isEmpty())
            Platform::Current().SetClipboardText(SelectedUrl());
    });
    menu.addAction(QStringLiteral("Go to URL"), this, [this] {
        if (IsWebAddress(SelectedUrl()))
            Platform::Current().OpenDocument(SelectedUrl());
    });
    menu.exec(list_->viewport()->mapToGlobal(at));
}

}  // namespace lexicrawl::gui
