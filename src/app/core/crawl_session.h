#pragma once
// One project and its crawls, as every front end drives them: the project
// database, the recording worker with the spelling dictionaries on it, the
// page recorder and the crawl control, wired together. A front end makes one
// session, hands it its CrawlHost, and calls Start and Stop; the collector
// fetches and reads pages on its thread, and the worker checks the words and
// writes the rows on its own, so nothing of a crawl runs on the front end's
// thread.
//
// Thread-safety: made, used and destroyed on the front end's main thread;
// the parts it hands out document their own.
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

#include "analysis/page_recorder.h"
#include "analysis/recording_pipeline.h"
#include "analysis/text_mode_record.h"
#include "analysis/unknown_word_list.h"
#include "app/core/spelling_service.h"
#include "app/core/word_approvals.h"
#include "crawl/crawl_control.h"
#include "platform/serial_worker.h"
#include "store/project_database.h"

namespace lexicrawl {

class AppEnvironment;

class CrawlSession {
public:
    CrawlSession(const AppEnvironment& environment, CrawlHost& host, FetchFunction fetch = FetchPage);
    // Stops a running crawl and waits for it, then closes the project
    // database (the working file is deleted).
    ~CrawlSession();
    CrawlSession(const CrawlSession&) = delete;
    CrawlSession& operator=(const CrawlSession&) = delete;

    // The site's approved words go over into the fresh database.
    StartResult Start(const CrawlOptions& options);
    bool Stop() { return control_.Stop(); }
    // For a signal handler, which may only set a flag: the running crawl
    // sees it as it sees Stop.
    std::atomic<bool>& StopRequestFlag() { return control_.State().stopRequested; }
    CrawlPhase Phase() const { return control_.Phase(); }
    // Waits until the crawl has finished and its end report has returned.
    void WaitUntilFinished() { control_.WaitUntilFinished(); }
    // Milliseconds since the crawl started; frozen once it has finished.
    qint64 ElapsedMs() const { return control_.ElapsedMs(); }
    CrawlSummary LastSummary() const { return control_.LastSummary(); }
    // The table of internal URLs, which a list reads row by row, and a copy of it.
    const InternalUrls& Table() const { return control_.Table(); }
    std::vector<InternalUrl> Pages() const { return control_.Table().Snapshot(); }
    // What the crawl's fetches send (agent, time-outs), for a fetch of one page.
    FetchSettings CurrentFetchSettings() const { return control_.State().fetchSettings; }
    // The link options, which apply at once, during a crawl as well.
    void SetRemoveAnchors(bool on) { control_.State().options.removeAnchors = on; }
    void SetRemoveQueryString(bool on) { control_.State().options.removeQueryString = on; }
    void SetStripHtmlMarkup(bool on) { control_.State().options.stripHtmlMarkup = on; }
    // The front end has acknowledged a message it was sent (CrawlHost::Message).
    void AcknowledgeMessage() { control_.AcknowledgeMessage(); }

    // Opens a saved project: its copy becomes the working file and its pages
    // the table of internal URLs, with the outcome (status, failure, load
    // time) of each page that had been visited when it was saved. A failure is reported to the
    // user and answered false. Only while no crawl runs.
    bool OpenProject(const QString& path);
    // The start URL of the project opened last; empty when none was.
    QString ProjectStartUrl() const { return projectStartUrl_; }
    // Save Project As: a consistent copy of the working file, also during a
    // crawl. Answers false with the reason.
    bool SaveProjectAs(const QString& destination, QString* error);

    // The word counts the last crawl stored in this project, as it stored
    // them; nothing once a project is opened, a crawl starts, or when the
    // crawl stored none. Any thread may ask.
    std::shared_ptr<const SiteWordCounts> CrawlWordCounts() const { return recorder_.CrawlWordCounts(); }

    // The unknown-word list (with each word's pages when asked), less the
    // approved words, whose number goes to approved.
    bool UnknownWords(std::vector<UnknownWord>& words, QString* error, bool withPages = false,
                      qsizetype* approved = nullptr);

    // Takes a word off the list: for the site (stored in the project), for
    // this session, or into the user's own dictionary (its file in the data
    // folder, and the spelling engine). Goes through the recording worker,
    // between two pages. A word-list file that cannot be written is
    // answered false with the reason.
    bool Approve(const QString& word, ApprovalKind kind, QString* error = nullptr);
    // Takes words off the list for this run only, nothing written.
    void AddApprovals(ApprovalKind kind, const QStringList& words) { approvals_.AddAll(kind, words); }
    QStringList SiteApprovals() const { return approvals_.Site(); }
    WordApprovals& Approvals() { return approvals_; }
    // The user's own dictionary file.
    QString PersonalWordsPath() const { return personalWordsPath_; }

    // The project's working file, the window caption's note of where the
    // project lies, and how its words were read.
    QString WorkingFilePath() const { return database_.WorkingFilePath(); }
    QString CaptionSuffix() const { return database_.CaptionSuffix(); }
    TextModeRecord ProjectTextMode();

    // The dictionaries, on the recording worker: see SpellingService.
    void LoadDictionaries(const QStringList& folders, const QString& savedLanguage,
                          std::function<void(const DictionaryList&)> done)
    {
        spelling_.LoadAtStartup(folders, savedLanguage, std::move(done));
    }
    DictionaryList LoadDictionariesNow(const QStringList& folders, const QString& savedLanguage)
    {
        return spelling_.LoadAtStartupNow(folders, savedLanguage);
    }
    DictionaryList LoadDictionariesNow(const QString& folder, const QString& savedLanguage)
    {
        return spelling_.LoadAtStartupNow(folder, savedLanguage);
    }
    void SelectDictionary(int index, std::function<void(const DictionaryList&)> done)
    {
        spelling_.Select(index, std::move(done));
    }
    void CheckWord(const QString& word, std::function<void(const WordCheck&)> done, TextMode mode)
    {
        spelling_.Check(word, std::move(done), mode);
    }
    std::shared_ptr<const SuggestionEngine> Suggestions() { return spelling_.Suggestions(); }
    // Why a loaded dictionary's suggestion replay is off, each notice once.
    void ReplayNotices(std::function<void(const QStringList&)> done) { spelling_.ReplayNotices(std::move(done)); }
    QStringList ReplayNoticesNow() { return spelling_.ReplayNoticesNow(); }

    // The parts, for tests that look inside; front ends use the operations above.
    CrawlControl& Control() { return control_; }
    ProjectDatabase& Database() { return database_; }
    SpellingService& Spelling() { return spelling_; }

private:
    void RestoreFetchStatuses();
    QString projectStartUrl_;  // written by OpenProject, read once it has answered
    ProjectDatabase database_;
    SerialWorker worker_;
    SpellingService spelling_;
    PageRecorder recorder_;
    RecordingPipeline pipeline_;
    CrawlControl control_;
    WordApprovals approvals_;
    QString personalWordsPath_;
};

}  // namespace lexicrawl
