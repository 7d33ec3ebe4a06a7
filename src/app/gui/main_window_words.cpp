// The word-list commands of the main window that go beyond the list itself:
// suggestions, taking words off the list, and the HTML report.
#include <QFileDialog>
#include <QHash>
#include <QLineEdit>

#include "app/core/crawl_report.h"
#include "app/core/crawl_session.h"
#include "app/gui/background.h"
#include "app/gui/main_window.h"
#include "app/gui/unknown_word_model.h"
#include "app/gui/unknown_words_tab.h"
#include "platform/platform.h"
#include "platform/translation.h"
#include "spelling/suggestion_engine.h"

namespace lexicrawl::gui {

namespace {

struct ReportAnswer {
    bool ok = true;
    QString error;
};

}  // namespace

void MainWindow::ApproveWords(const QStringList& words, ApprovalKind kind)
{
    QString error;
    for (const QString& word : words) {
        if (!session_->Approve(word, kind, &error)) {
            Platform::Current().ShowMessage(error);
            break;  // the words approved so far leave the list all the same
        }
    }
    RefreshUnknownWords();
}

// The words of the list that have none yet get their suggestions in the
// background, one batch at a time; a refresh while one runs waits for it.
void MainWindow::FillSuggestions()
{
    const QStringList words = wordsTab_->Model()->WordsWithoutSuggestions();
    if (suggesting_ || words.isEmpty())
        return;
    suggesting_ = true;
    CrawlSession* session = session_.get();
    RunInBackground<QHash<QString, QStringList>>(
        this,
        [session, words] {
            QHash<QString, QStringList> found;
            const std::shared_ptr<const SuggestionEngine> engine = session->Suggestions();
            const std::vector<QStringList> lists = engine ? engine->SuggestAll(words) : std::vector<QStringList>();
            for (qsizetype i = 0; i < words.size(); ++i)
                found.insert(words.at(i), size_t(i) < lists.size() ? lists[size_t(i)] : QStringList());
            return found;
        },
        [this](const QHash<QString, QStringList>& found) {
            suggesting_ = false;
            wordsTab_->Model()->AddSuggestions(found);
            emit suggestionsShown();
            FillSuggestions();  // words that came with a refresh in the meantime
        });
}

void MainWindow::ExportReport()
{
    const QString path = QFileDialog::getSaveFileName(this, QString(), QString(),
                                                      Tr(QStringLiteral("HTML File (*.html)")));
    if (!path.isEmpty())
        ExportReportTo(path);
}

void MainWindow::ExportReportTo(const QString& path)
{
    CrawlSession* session = session_.get();
    const QString site = url_->text();
    RunInBackground<ReportAnswer>(
        this,
        [session, site, path] {
            ReportAnswer answer;
            ReportData data;
            answer.ok = CollectReport(*session, site, std::nullopt, data, &answer.error) &&
                        WriteHtmlReport(path, data, &answer.error);
            return answer;
        },
        [this, path](const ReportAnswer& answer) {
            if (!answer.ok)
                Platform::Current().ShowMessage(answer.error);
            emit fileWritten(path, answer.ok ? QString() : answer.error);
        });
}

}  // namespace lexicrawl::gui
