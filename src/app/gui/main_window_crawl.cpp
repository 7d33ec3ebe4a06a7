// The crawl's side of the main window: the Start/Stop command, the status
// bar, the timers, the end of a crawl, the dictionaries and the unknown-word
// refresh.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <cmath>

#include "app/core/app_environment.h"
#include "app/core/crawl_settings.h"
#include "app/core/crawl_session.h"
#include "app/gui/background.h"
#include "app/gui/crawl_events.h"
#include "app/gui/internal_url_model.h"
#include "app/gui/internal_urls_tab.h"
#include "app/gui/main_window.h"
#include "app/gui/options_panel.h"
#include "app/gui/unknown_word_model.h"
#include "app/gui/unknown_words_tab.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/translation.h"

namespace lexicrawl::gui {

namespace {

struct WordsAnswer {
    std::vector<UnknownWord> words;
    bool ok = true;
    QString error;
};

}  // namespace

CrawlPhase MainWindow::Phase() const
{
    return session_->Phase();
}

void MainWindow::StartStop()
{
    switch (Phase()) {
    case CrawlPhase::Idle:
        Start();
        break;
    case CrawlPhase::Running:
        Stop();
        break;
    case CrawlPhase::Stopping:
        break;
    }
}

void MainWindow::Start()
{
    if (TrimCtl(url_->text()).isEmpty()) {
        Platform::Current().MessageBox(QStringLiteral("Warning"), QStringLiteral("Please enter Start URL!"),
                                       MessageIcon::Warning);
        url_->setFocus();
        return;
    }
    // Every other control writes its setting the moment it changes.
    CrawlOverrides overrides;
    overrides.startUrl = url_->text();
    overrides.followRedirects = followRedirects_->isChecked();
    QString invalid;
    // A time-out that is not a whole number stops the Start before anything is prepared.
    const std::optional<CrawlOptions> built = CrawlOptionsFromSettings(settings_, overrides, &invalid);
    if (!built) {
        Platform::Current().MessageBox(QApplication::applicationName(), invalid, MessageIcon::Error);
        return;
    }
    const CrawlOptions& options = *built;
    events_->Reset();
    const StartResult started = session_->Start(options);
    if (started.status == StartStatus::OtherScheme) {
        Platform::Current().MessageBox(QStringLiteral("Warning"), OtherSchemeText(started.url), MessageIcon::Warning);
        url_->setFocus();
        return;
    }
    if (!started.Started())
        return;  // a database that could not be prepared was reported by the store
    runningCrawl_ = started.crawl;
    projectTextMode_ = options.Text.mode;
    url_->setText(started.url);
    UpdateCaption();
    QApplication::setOverrideCursor(Qt::BusyCursor);
    ShowPhase(CrawlPhase::Running);
    options_->SetCrawlRunning(true);
    urlsTab_->Model()->Reset();
    RefreshUnknownWords();
    ShowElapsed();
    elapsedTimer_.start();
    syncTimer_.start();
}

void MainWindow::Stop()
{
    if (session_->Stop())
        ShowPhase(CrawlPhase::Stopping);
}

// The Start button's caption is the crawl's phase.
void MainWindow::ShowPhase(CrawlPhase phase)
{
    switch (phase) {
    case CrawlPhase::Idle:
        start_->setText(Tr(QStringLiteral("Start")));
        break;
    case CrawlPhase::Running:
        start_->setText(Tr(QStringLiteral("STOP")));
        break;
    case CrawlPhase::Stopping:
        start_->setText(Tr(QStringLiteral("Stopping...")));
        break;
    }
    start_->setEnabled(phase != CrawlPhase::Stopping);
    start_->setAccessibleName(start_->text());
}

// A few times a second: the rows that arrived, the rows visited, the status texts.
void MainWindow::SyncProgress()
{
    const CrawlProgress progress = events_->LatestProgress();
    const qsizetype length = session_->Table().Count();
    urlsTab_->Model()->Sync(events_->TableLength(), events_->LastVisitedRow());
    status_[0]->setText(FormatS(Tr(QStringLiteral("Total URLs: %s")), QString::number(length)));
    if (progress.position > 0) {
        status_[1]->setText(QString::number(progress.position) + QStringLiteral(" / ") +
                            QString::number(progress.tableLength));
        if (runningCrawl_ != 0)
            status_[3]->setText(FormatS(Tr(QStringLiteral("Loading: %s")), progress.currentUrl));
    }
}

void MainWindow::ShowElapsed()
{
    const qint64 seconds = std::llround(double(session_->ElapsedMs()) / 1000.0);
    status_[2]->setText(FormatS(Tr(QStringLiteral("Time: %s sec")), QString::number(seconds)));
}

void MainWindow::OnFinished(const CrawlSummary& summary)
{
    // A late end of an earlier crawl must not stop the timers of this one.
    if (summary.crawl != runningCrawl_)
        return;
    runningCrawl_ = 0;
    syncTimer_.stop();
    elapsedTimer_.stop();
    SyncProgress();
    ShowElapsed();
    refreshTimer_.stop();
    RefreshUnknownWords();
    Platform::Current().Beep();
    ShowPhase(CrawlPhase::Idle);
    status_[3]->setText(Tr(QStringLiteral("Completed")));
    options_->SetCrawlRunning(false);
    QApplication::restoreOverrideCursor();
    emit crawlFinished();
    if (closeWhenFinished_)
        close();
}

// The list is rebuilt from the database in one batch. During a crawl with
// "Display Unfinished Results" on, the next refresh follows 5 s after this one.
void MainWindow::RefreshUnknownWords()
{
    refreshTimer_.stop();
    const quint64 request = ++refreshRequest_;
    CrawlSession* session = session_.get();
    RunInBackground<WordsAnswer>(
        this,
        [session] {
            WordsAnswer answer;
            answer.ok = session->UnknownWords(answer.words, &answer.error);
            return answer;
        },
        [this, request](const WordsAnswer& answer) {
            if (request != refreshRequest_)
                return;
            if (!answer.ok)
                Platform::Current().ShowMessage(QStringLiteral("Exception raised with message: ") + answer.error);
            wordsTab_->Model()->SetWords(answer.words);
            FillSuggestions();
            if (runningCrawl_ != 0 && displayUnfinished_->isChecked())
                refreshTimer_.start();
            emit unknownWordsRefreshed();
        });
}

// Once the window is up: the dictionaries are read, listed, and the
// remembered one selected and loaded, all on the recording worker.
void MainWindow::LoadDictionaries()
{
    session_->LoadDictionaries(environment_.DictionariesFolder(), settings_.DictionaryLanguage(),
                                       [this](const DictionaryList& list) {
                                           QMetaObject::invokeMethod(this, [this, list] { ShowDictionaries(list); });
                                       });
}

void MainWindow::SelectDictionary(int index)
{
    session_->SelectDictionary(index, [this](const DictionaryList& list) {
        QMetaObject::invokeMethod(this, [this, list] { ShowDictionaries(list); });
    });
}

void MainWindow::ShowDictionaries(const DictionaryList& list)
{
    if (dictionaries_->count() != list.items.size()) {
        dictionaries_->clear();
        dictionaries_->addItems(list.items);
    }
    dictionaries_->setCurrentIndex(list.selected);
    if (list.selected >= 0)
        settings_.SetDictionaryLanguage(list.SelectedName());
    wordsTab_->Model()->ClearSuggestions();
    FillSuggestions();
    emit dictionariesLoaded();
}

}  // namespace lexicrawl::gui
