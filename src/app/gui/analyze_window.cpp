#include "app/gui/analyze_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "analysis/page_analysis.h"
#include "analysis/page_facts.h"
#include "analysis/readable_text.h"
#include "app/gui/background.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace lexicrawl::gui {

namespace {

const char* const kHeadingTags[3] = {"h1", "h2", "h3"};

// What one fetch of the page gives the window.
struct PageReading {
    QString source;
    QString contents;  // the readable text, or why the page could not be fetched
    QString title;
    QString description;
    QStringList headings[3];
    std::vector<ImageRow> images;
};

// The number of characters with every line break counted as CR LF.
qsizetype CountWithCrLf(const QString& text)
{
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    return normalised.size() + normalised.count(u'\n');
}

PageReading ReadPage(const QString& url, const FetchSettings& settings)
{
    PageReading reading;
    ThisThreadFetcher().lastFetchError.clear();
    reading.source = lexicrawl::FetchPage(url, settings);
    reading.contents = reading.source.isEmpty() ? ThisThreadFetcher().lastFetchError
                                                : ExtractReadableText(reading.source);
    reading.title = ExtractDocumentTitle(reading.source);
    reading.description = ExtractMetaDescription(reading.source);
    for (int i = 0; i < 3; ++i)
        reading.headings[i] = SplitLines(ExtractHeadings(reading.source, QString::fromLatin1(kHeadingTags[i])));
    reading.images = ListImages(reading.source);
    return reading;
}

}  // namespace

AnalyzeWindow::AnalyzeWindow(const QString& url, const FetchSettings& settings, QWidget* parent)
    : QMainWindow(parent, Qt::Window)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Analyze URL"));
    auto* tabs = new QTabWidget(this);
    tabs->setAccessibleName(QStringLiteral("Analyze URL"));
    tabs->addTab(AnalyzeTab(), QStringLiteral("Analyze"));
    images_ = new QTreeWidget(this);
    images_->setObjectName(QStringLiteral("images"));
    images_->setAccessibleName(QStringLiteral("Images"));
    images_->setRootIsDecorated(false);
    images_->setHeaderLabels({QStringLiteral("Image"), QStringLiteral("Alt"), QStringLiteral("Title")});
    images_->setColumnWidth(0, 300);
    images_->setColumnWidth(1, 100);
    tabs->addTab(images_, QStringLiteral("Images"));
    source_ = new QPlainTextEdit(this);
    source_->setObjectName(QStringLiteral("source"));
    source_->setAccessibleName(QStringLiteral("Source"));
    source_->setReadOnly(true);
    source_->setLineWrapMode(QPlainTextEdit::NoWrap);
    tabs->addTab(source_, QStringLiteral("Source"));
    tabs->addTab(ReadableTextTab(), QStringLiteral("Readable Text"));
    tabs->addTab(WordsTab(), QStringLiteral("Words"));
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    status_->setAccessibleDescription(QStringLiteral("Status"));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(tabs, 1);
    layout->addWidget(status_);
    setCentralWidget(central);
    resize(760, 620);

    url_->setText(url);
    SetCounter(QStringLiteral("url"), url.size());
    FetchPage(url, settings);
}

QLabel* AnalyzeWindow::AddRow(QGridLayout* grid, int row, const QString& caption, QWidget* box, const QString& name)
{
    auto* label = new QLabel(caption, this);
    label->setBuddy(box);
    box->setAccessibleName(caption.trimmed());
    box->setObjectName(name);
    auto* counter = new QLabel(QStringLiteral("0"), this);
    counter->setObjectName(name + QStringLiteral("Count"));
    counter->setAccessibleDescription(caption.trimmed());  // a name would hide the count
    counter->setMinimumWidth(40);
    grid->addWidget(label, row, 0, Qt::AlignTop);
    grid->addWidget(box, row, 1);
    grid->addWidget(counter, row, 2, Qt::AlignTop);
    return counter;
}

QWidget* AnalyzeWindow::AnalyzeTab()
{
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    url_ = new QLineEdit(page);
    title_ = new QLineEdit(page);
    description_ = new QPlainTextEdit(page);
    contents_ = new QPlainTextEdit(page);
    for (QLineEdit* box : {url_, title_})
        box->setReadOnly(true);
    for (QPlainTextEdit* box : {description_, contents_})
        box->setReadOnly(true);
    description_->setFixedHeight(60);
    contents_->setLineWrapMode(QPlainTextEdit::NoWrap);
    AddRow(grid, 0, QStringLiteral("URL:"), url_, QStringLiteral("url"));
    AddRow(grid, 1, QStringLiteral("Title:"), title_, QStringLiteral("title"));
    AddRow(grid, 2, QStringLiteral("Description:"), description_, QStringLiteral("description"));
    for (int i = 0; i < 3; ++i) {
        headings_[i] = new QListWidget(page);
        headings_[i]->setFixedHeight(54);
        AddRow(grid, 3 + i, QStringLiteral("H%1:").arg(i + 1), headings_[i], QString::fromLatin1(kHeadingTags[i]));
    }
    AddRow(grid, 6, QStringLiteral("   Contents:"), contents_, QStringLiteral("contents"));
    grid->setRowStretch(6, 1);
    return page;
}

QWidget* AnalyzeWindow::ReadableTextTab()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    strip_ = new QPushButton(QStringLiteral("Strip HTML Source"), page);
    strip_->setObjectName(QStringLiteral("strip"));
    strip_->setAccessibleName(strip_->text());
    connect(strip_, &QPushButton::clicked, this, &AnalyzeWindow::StripHtmlSource);
    readable_ = new QPlainTextEdit(page);
    readable_->setObjectName(QStringLiteral("readable"));
    readable_->setAccessibleName(QStringLiteral("Readable Text"));
    readable_->setReadOnly(true);
    layout->addWidget(strip_, 0, Qt::AlignLeft);
    layout->addWidget(readable_, 1);
    return page;
}

QWidget* AnalyzeWindow::WordsTab()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    wordCharacters_ = new QLineEdit(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789'"), page);
    wordCharacters_->setObjectName(QStringLiteral("wordCharacters"));
    wordCharacters_->setAccessibleName(QStringLiteral("Word characters"));
    auto* generate = new QPushButton(QStringLiteral("Generate Word List"), page);
    generate->setObjectName(QStringLiteral("generate"));
    generate->setAccessibleName(generate->text());
    connect(generate, &QPushButton::clicked, this, &AnalyzeWindow::GenerateWordList);
    words_ = new QPlainTextEdit(page);
    words_->setObjectName(QStringLiteral("words"));
    words_->setAccessibleName(QStringLiteral("Words"));
    words_->setReadOnly(true);
    layout->addWidget(wordCharacters_);
    layout->addWidget(generate, 0, Qt::AlignLeft);
    layout->addWidget(words_, 1);
    return page;
}

void AnalyzeWindow::FetchPage(const QString& url, const FetchSettings& settings)
{
    RunInBackground<PageReading>(
        this, [url, settings] { return ReadPage(url, settings); },
        [this](const PageReading& reading) {
            source_->setPlainText(reading.source);
            title_->setText(reading.title);
            SetCounter(QStringLiteral("title"), reading.title.size());
            description_->setPlainText(reading.description);
            SetCounter(QStringLiteral("description"), CountWithCrLf(reading.description));
            for (int i = 0; i < 3; ++i) {
                headings_[i]->addItems(reading.headings[i]);
                qsizetype characters = 0;
                for (const QString& entry : reading.headings[i])
                    characters += entry.size() + 2;
                SetCounter(QString::fromLatin1(kHeadingTags[i]), characters);
            }
            for (const ImageRow& image : reading.images)
                images_->addTopLevelItem(new QTreeWidgetItem({image.src, image.alt, image.title}));
            contents_->setPlainText(reading.contents);
            SetCounter(QStringLiteral("contents"), CountWithCrLf(reading.contents));
            emit pageFilled();
            emit contentsFilled();
        });
}

// Once per window: the readable text of the Source tab, tidied.
void AnalyzeWindow::StripHtmlSource()
{
    strip_->setEnabled(false);
    const QString source = source_->toPlainText();
    const QChar decimal = Platform::Current().DecimalSeparator();
    RunInBackground<std::pair<QString, qint64>>(
        this,
        [source] {
            QElapsedTimer clock;
            clock.start();
            const QString text = TidyReadableText(ExtractReadableText(source));
            return std::make_pair(text, clock.nsecsElapsed());
        },
        [this, decimal](const std::pair<QString, qint64>& result) {
            readable_->setPlainText(result.first);
            strip_->hide();
            const QString seconds = QString::number(double(result.second) / 1e9, 'f', 3).replace(u'.', decimal);
            SetStatus(QStringLiteral("Strip Time: ") + seconds + QStringLiteral(" sec"));
            emit readableTextFilled();
        });
}

void AnalyzeWindow::GenerateWordList()
{
    words_->clear();
    const QString text = readable_->toPlainText();
    const QString characters = wordCharacters_->text();
    RunInBackground<QStringList>(
        this, [text, characters] { return WordListOf(text, characters); },
        [this](const QStringList& words) {
            words_->setPlainText(words.join(u'\n'));
            SetStatus(QStringLiteral("Total: %1 words").arg(words.size()));
            emit wordListFilled();
        });
}

void AnalyzeWindow::SetCounter(const QString& box, qsizetype characters)
{
    if (auto* counter = findChild<QLabel*>(box + QStringLiteral("Count")))
        counter->setText(QString::number(characters));
}

QString AnalyzeWindow::Counter(const QString& box) const
{
    const auto* counter = findChild<QLabel*>(box + QStringLiteral("Count"));
    return counter ? counter->text() : QString();
}

void AnalyzeWindow::SetStatus(const QString& text)
{
    status_->setText(text);
}

}  // namespace lexicrawl::gui
