// The crawl's side of the main window: the Start/Stop command, the status
// bar, the timers, the end of a crawl, the dictionaries and the unknown-word
// refresh.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QToolButton>

#include <cmath>

#include "analysis/result_text.h"
#include "app/core/app_environment.h"
#include "app/core/crawl_settings.h"
#include "app/core/crawl_session.h"
#include "app/core/word_groups_loader.h"
#include "app/gui/background.h"
#include "app/gui/crawl_presenter.h"
#include "app/gui/internal_url_model.h"
#include "app/gui/internal_urls_tab.h"
#include "app/gui/main_window.h"
#include "app/gui/options_panel.h"
#include "app/gui/page_facts_pane.h"
#include "app/gui/unknown_word_model.h"
#include "app/gui/unknown_words_tab.h"
#include "app/gui/word_sources_pane.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/translation.h"

namespace lexicrawl::gui {

namespace {

struct WordsAnswer {
    std::vector<UnknownWord> words;
    std::vector<WordGrouping> groups;  // none while a crawl runs
    std::vector<RepeatedWordFinding> repeatedWords;  // as the groups
    std::vector<TwoSpellings> twoSpellings;
    bool ok = true;
    QString error;
};

}  // namespace

CrawlPhase MainWindow::Phase() const
{
    return crawl_->Phase();
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
    const StartResult started = crawl_->Start(options);
    if (started.status == StartStatus::OtherScheme) {
        Platform::Current().MessageBox(QStringLiteral("Warning"), OtherSchemeText(started.url), MessageIcon::Warning);
        url_->setFocus();
        return;
    }
    if (!started.Started())
        return;  // a database that could not be prepared was reported by the store
    // The words are grouped when the crawl ends: what that asks of the
    // dictionaries is made meanwhile.
    session_->Spelling().PrepareWordGroups();
    projectTextMode_ = options.text.mode;
    url_->setText(started.url);
    openedProject_.clear();
    UpdateCaption();
    QApplication::setOverrideCursor(Qt::BusyCursor);
    options_->SetCrawlRunning(true);
    urlsTab_->Model()->Reset();
    urlsTab_->ClearMarks();
    status_[3]->setToolTip(QString());
    ClearPanes();
}

void MainWindow::ClearPanes()
{
    urlsTab_->Facts()->Clear();
    wordsTab_->Sources()->Clear();
}

bool MainWindow::RefreshScheduled() const
{
    return crawl_->RefreshScheduled();
}

void MainWindow::Stop()
{
    crawl_->Stop();
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
void MainWindow::ShowProgress(const CrawlProgress& progress, qsizetype tableLength, qsizetype lastVisitedRow)
{
    urlsTab_->Model()->Sync(tableLength, lastVisitedRow);
    const QString total = QString::number(session_->Table().Count());
    status_[0]->setText(Tr(QStringLiteral("Total URLs: %s")).replace(QLatin1String("%s"), total));
    if (progress.position > 0) {
        status_[1]->setText(QString::number(progress.position) + QStringLiteral(" / ") +
                            QString::number(progress.tableLength));
        if (crawl_->Running())
            status_[3]->setText(Tr(QStringLiteral("Loading: %s")).replace(QLatin1String("%s"), progress.currentUrl));
    }
}

void MainWindow::ShowElapsed(qint64 elapsedMs)
{
    const qint64 seconds = std::llround(double(elapsedMs) / 1000.0);
    status_[2]->setText(Tr(QStringLiteral("Time: %s sec")).replace(QLatin1String("%s"), QString::number(seconds)));
}

// The thread that sent it waits until the box is closed (or the crawl stops).
void MainWindow::ShowMessage(const UserMessage& message)
{
    if (message.title.isEmpty() && message.icon == MessageIcon::None)
        Platform::Current().ShowMessage(message.text);
    else
        Platform::Current().MessageBox(message.title, message.text, message.icon);
    crawl_->Acknowledge();
}

// The presenter has shown the last progress, the time and the list's refresh.
void MainWindow::OnFinished(const CrawlSummary&)
{
    Platform::Current().Beep();
    // A start URL that brought no page is said where the crawl's state is
    // read, not only in a red row's tooltip.
    const InternalUrl start = session_->Table().At(0);
    if (VisitFailed(start))
        status_[3]->setText(
            Tr(QStringLiteral("The start URL could not be fetched: %s")).replace(QLatin1String("%s"), FailureText(start)));
    else
        status_[3]->setText(Tr(QStringLiteral("Completed")));
    finishedState_ = status_[3]->text();
    urlsTab_->LoadMarks();
    options_->SetCrawlRunning(false);
    QApplication::restoreOverrideCursor();
    ShowReplayNotices();
    emit crawlFinished();
    if (closeWhenFinished_)
        close();
}

// The list is rebuilt from the database in one batch. During a crawl with
// "Display Unfinished Results" on, the next refresh follows 5 s after this one.
void MainWindow::RefreshUnknownWords()
{
    crawl_->RefreshStarted();
    const quint64 request = ++refreshRequest_;
    CrawlSession* session = session_.get();
    RunInBackground<WordsAnswer>(
        this,
        [session, grouped = !crawl_->Running()] {
            WordsAnswer answer;
            // The groups weigh the whole site: made once the crawl is over.
            if (grouped) {
                GroupedWords words;
                answer.ok = LoadGroupedWords(*session, words, &answer.error, false);
                answer.words = std::move(words.words);
                answer.groups = std::move(words.groups);
                answer.repeatedWords = std::move(words.repeatedWords);
                answer.twoSpellings = std::move(words.twoSpellings);
            } else {
                answer.ok = session->UnknownWords(answer.words, &answer.error);
            }
            return answer;
        },
        [this, request](const WordsAnswer& answer) {
            if (request != refreshRequest_)
                return;
            if (!answer.ok)
                Platform::Current().ShowMessage(QStringLiteral("Exception raised with message: ") + answer.error);
            wordsTab_->Model()->SetWords(answer.words, answer.groups);
            wordsTab_->SetFindings(answer.repeatedWords, answer.twoSpellings);
            FillSuggestions();
            crawl_->RefreshLater(displayUnfinished_->isChecked());
            emit unknownWordsRefreshed();
        });
}

// Once the window is up: the dictionaries are read, listed, and the
// remembered one selected and loaded, all on the recording worker.
void MainWindow::LoadDictionaries()
{
    session_->LoadDictionaries(environment_.DictionaryFolders(), settings_.DictionaryLanguage(),
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
    ShowReplayNotices();
    emit dictionariesLoaded();
}

// Pages robots.txt kept out were never fetched and are no rows: the state
// panel counts them, and its tooltip names them.
void MainWindow::ShowLeftOutPages()
{
    const QStringList& pages = urlsTab_->Marks().leftOutByRobots;
    if (pages.isEmpty())
        return;
    const QString line = pages.size() == 1
                             ? Tr(QStringLiteral("1 page left out by robots.txt"))
                             : Tr(QStringLiteral("%1 pages left out by robots.txt")).arg(pages.size());
    status_[3]->setText(finishedState_.isEmpty() ? line : finishedState_ + QStringLiteral("; ") + line);
    constexpr qsizetype kNamed = 20;
    QStringList named = pages.mid(0, kNamed);
    if (pages.size() > kNamed)
        named << Tr(QStringLiteral("... and %1 more")).arg(pages.size() - kNamed);
    status_[3]->setToolTip(named.join(QLatin1Char('\n')));
}

// A dictionary whose suggestion replay failed its load-time check (its words
// are then checked the slow way) is named once in the status bar; the check
// may still be running, so the answer comes later.
void MainWindow::ShowReplayNotices()
{
    session_->ReplayNotices([this](const QStringList& notices) {
        if (notices.isEmpty())
            return;
        QMetaObject::invokeMethod(this, [this, notices] {
            statusBar()->showMessage(notices.join(QStringLiteral("; ")), 30000);
        });
    });
}

}  // namespace lexicrawl::gui
