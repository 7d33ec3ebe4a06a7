#pragma once
// The main window. It wires: the URL row, the option rows, the two result
// tabs, the status bar, the menus and the timers are connected here to the
// crawl session's commands and events; the work itself (crawling, reading,
// checking, writing, querying, exporting) runs in the core and in the
// background, never on the UI thread.
//
// The class is spread over three files by topic: main_window.cpp (layout,
// menus, geometry, start-up and closing), main_window_crawl.cpp (Start/Stop,
// progress, the end of a crawl, the dictionaries, the unknown-word refresh)
// and main_window_commands.cpp (file, export and list commands).
//
// Thread-safety: UI thread only.
#include <QMainWindow>
#include <QStringList>

#include <memory>
#include <vector>

#include "analysis/unknown_word_list.h"
#include "app/core/word_approvals.h"
#include "crawl/crawl_control.h"
#include "crawl/crawl_host.h"
#include "crawl/text_options.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTabWidget;
class QToolButton;

namespace lexicrawl {
class AppEnvironment;
class CrawlSession;
class Settings;
struct DictionaryList;
}

namespace lexicrawl::gui {

class CrawlPresenter;
class AnalyzeWindow;
class FindDialog;
class InstanceLauncher;
class InternalUrlsTab;
class OptionsPanel;
class UnknownWordsTab;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(AppEnvironment& environment, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The program's arguments, handled when the window is first shown.
    void SetCommandLine(const QStringList& arguments);
    // Shows the window with its stored geometry (maximized unless stored otherwise).
    void ShowRestored();

    // The Start/Stop command (the Start button, its menu's "Start", Enter in the URL box).
    void StartStop();
    CrawlPhase Phase() const;
    // The unknown-word list reloaded from the database (asynchronously).
    void RefreshUnknownWords();
    // Find in the list of the current tab, from the row after the current one.
    void FindNext(const QString& text);
    // The commands behind the dialogs, for a chosen file.
    void ExportInternalUrlsTo(const QString& path);
    void ExportWordsTo(const QString& path);
    void ExportReportTo(const QString& path);
    void SaveProjectTo(const QString& path);
    // Takes the words off the list (for the site, into the user's dictionary,
    // or for this session) and refreshes the list once.
    void ApproveWords(const QStringList& words, ApprovalKind kind);
    void SpellCheck(const QString& word);
    // A new page analysis window for the URL (the "Analyze URL..." commands).
    AnalyzeWindow* AnalyzeUrl(const QString& url);

    CrawlSession& Session() { return *session_; }
    InternalUrlsTab* UrlsTab() const { return urlsTab_; }
    UnknownWordsTab* WordsTab() const { return wordsTab_; }
    QTabWidget* Tabs() const { return tabs_; }
    QLineEdit* UrlBox() const { return url_; }
    QComboBox* DictionaryBox() const { return dictionaries_; }
    QToolButton* StartButton() const { return start_; }
    QString StatusText(int panel) const;
    // Whether the next unknown-word refresh is waiting on its 5 s timer.
    bool RefreshScheduled() const;
    QAction* Action(const QString& objectName) const;

signals:
    void crawlFinished();
    void unknownWordsRefreshed();
    void suggestionsShown();
    void dictionariesLoaded();
    void projectOpened();
    // A file command has ended; error is empty when it succeeded.
    void fileWritten(const QString& path, const QString& error);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // main_window.cpp
    QWidget* BuildUrlRow();
    void BuildMenus();
    QMenu* BuildStartMenu();
    void BuildStatusBar();
    void AddWindowShortcuts();
    QAction* AddCheck(QMenu* menu, const QString& name, const QString& caption, bool checked,
                      std::function<void(bool)> onToggle);
    void RestoreGeometry();
    void SaveGeometry();
    void HandleCommandLine();
    void UpdateCaption();

    // main_window_crawl.cpp
    void Start();
    void Stop();
    void ShowPhase(CrawlPhase phase);
    void ShowProgress(const CrawlProgress& progress, qsizetype tableLength, qsizetype lastVisitedRow);
    void ShowElapsed(qint64 elapsedMs);
    void ShowMessage(const UserMessage& message);
    void OnFinished(const CrawlSummary& summary);
    void LoadDictionaries();
    void SelectDictionary(int index);
    void ShowDictionaries(const DictionaryList& list);
    void ShowReplayNotices();
    void ShowLeftOutPages();
    // The page and word panes emptied: what they showed belongs to the
    // crawl or project that is being replaced.
    void ClearPanes();

    // main_window_commands.cpp
    void OpenProject(const QString& path);
    void NewProject();
    void LoadProject();
    void SaveProjectAs();
    void ExportInternalUrls();
    void ExportWords();
    void WriteWordsFile(const QString& path, const std::vector<UnknownWord>& words);
    void ViewPage(const QString& url, bool readableText);
    void OpenOutside(const QString& address);
    void ResetToDefaults();
    void ShowFind();
    void ShowBatch();
    void ShowLanguage();
    void ShowFeedback();
    void ShowAbout();

    // main_window_words.cpp
    void ExportReport();
    void FillSuggestions();

    AppEnvironment& environment_;
    Settings& settings_;
    CrawlPresenter* crawl_ = nullptr;
    std::unique_ptr<CrawlSession> session_;

    QLineEdit* url_ = nullptr;
    QComboBox* dictionaries_ = nullptr;
    QToolButton* start_ = nullptr;
    QCheckBox* showOptions_ = nullptr;
    OptionsPanel* options_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    InternalUrlsTab* urlsTab_ = nullptr;
    UnknownWordsTab* wordsTab_ = nullptr;
    QLabel* status_[4] = {};
    QString finishedState_;  // the state panel's text at the end of the crawl; empty for an opened project
    FindDialog* find_ = nullptr;
    InstanceLauncher* launcher_ = nullptr;

    QAction* displayUnfinished_ = nullptr;
    QAction* followRedirects_ = nullptr;
    QAction* removeAnchors_ = nullptr;
    QAction* removeQueryString_ = nullptr;
    QAction* stripMarkup_ = nullptr;
    QAction* memoryLocation_ = nullptr;

    QStringList commandLine_;
    bool firstShow_ = true;
    bool geometrySaving_ = false;
    bool closeWhenFinished_ = false;
    quint64 refreshRequest_ = 0;
    QString openedProject_;  // the project file the user opened, until the next Start
    TextMode projectTextMode_ = TextMode::Standard;  // how the shown project's words were read
    bool suggesting_ = false;
};

}  // namespace lexicrawl::gui
