// The main window's commands on files and lists: projects, exports, the
// page views, the outside tools, Find, Spell Check and Reset to Defaults.
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>

#include <optional>

#include "analysis/export_files.h"
#include "analysis/readable_text.h"
#include "analysis/text_mode_record.h"
#include "app/core/app_environment.h"
#include "app/core/crawl_session.h"
#include "app/gui/about_window.h"
#include "app/gui/analyze_window.h"
#include "app/gui/background.h"
#include "app/gui/batch_window.h"
#include "app/gui/feedback_window.h"
#include "app/gui/language_window.h"
#include "app/gui/find_dialog.h"
#include "app/gui/internal_url_model.h"
#include "app/gui/internal_urls_tab.h"
#include "app/gui/main_window.h"
#include "app/gui/text_view_dialog.h"
#include "app/gui/unknown_word_model.h"
#include "crawl/url_text.h"
#include "app/gui/unknown_words_tab.h"
#include "app/gui/word_findings_model.h"
#include "crawl/fetcher.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/translation.h"

namespace lexicrawl::gui {

namespace {

const QString kProjectFilter = QStringLiteral("Project File (*.db)");

// A save dialog that asks before replacing a file and adds the default extension.
QString AskSaveFile(QWidget* parent, const QString& filter, const QString& defaultSuffix)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

}  // namespace

void MainWindow::OpenProject(const QString& path)
{
    CrawlSession* session = session_.get();
    // The text mode the project's words were read in; none when it could not be opened.
    RunInBackground<std::optional<TextMode>>(
        this,
        [session, path]() -> std::optional<TextMode> {
            if (!session->OpenProject(path))
                return std::nullopt;
            // The words are grouped next: what that asks of the dictionaries is made meanwhile.
            session->Spelling().PrepareWordGroups();
            return session->ProjectTextMode().options.mode;
        },
        [this, path](const std::optional<TextMode>& mode) {
            projectTextMode_ = mode.value_or(TextMode::Standard);
            urlsTab_->Model()->Reset();
            ClearPanes();
            finishedState_.clear();
            status_[3]->setToolTip(QString());
            urlsTab_->ClearMarks();
            if (mode) {
                urlsTab_->LoadMarks();
                openedProject_ = path;
                const QString startUrl = session_->ProjectStartUrl();
                if (!startUrl.isEmpty())
                    url_->setText(startUrl);
            }
            UpdateCaption();
            RefreshUnknownWords();
            emit projectOpened();
        });
}

void MainWindow::NewProject()
{
    Platform::Current().StartNewInstance(QString());
}

void MainWindow::LoadProject()
{
    const QString path = QFileDialog::getOpenFileName(this, QString(), QString(), kProjectFilter);
    if (!path.isEmpty())
        Platform::Current().StartNewInstance(path);
}

void MainWindow::SaveProjectAs()
{
    if (!QFileInfo::exists(session_->WorkingFilePath())) {
        Platform::Current().MessageBox(QStringLiteral("Warning"), QStringLiteral("No database file was found!"),
                                       MessageIcon::Warning);
        return;
    }
    const QString path = AskSaveFile(this, kProjectFilter, QStringLiteral("db"));
    if (!path.isEmpty())
        SaveProjectTo(path);
}

// The copy is taken between two statements, also while a crawl writes.
void MainWindow::SaveProjectTo(const QString& path)
{
    CrawlSession* session = session_.get();
    RunInBackground<QString>(
        this,
        [session, path] {
            QString error;
            return session->SaveProjectAs(path, &error) ? QString() : error;
        },
        [this, path](const QString& error) {
            if (!error.isEmpty())
                Platform::Current().MessageBox(QStringLiteral("Warning"), error, MessageIcon::Warning);
            emit fileWritten(path, error);
        });
}

void MainWindow::ExportInternalUrls()
{
    const QString filter = Tr(QStringLiteral("CSV File (*.csv)")) + QStringLiteral(";;") +
                           Tr(QStringLiteral("Text File (*.txt)"));
    const QString path = AskSaveFile(this, filter, QStringLiteral("csv"));
    if (!path.isEmpty())
        ExportInternalUrlsTo(path);
}

// The table as it stands now, written in the background.
void MainWindow::ExportInternalUrlsTo(const QString& path)
{
    const std::vector<InternalUrl> rows = session_->Pages();
    const QChar decimal = Platform::Current().DecimalSeparator();
    const QChar list = Platform::Current().ListSeparator();
    ProjectDatabase* database = &session_->Database();
    RunInBackground<ExportResult>(
        this,
        [path, rows, decimal, list, database] {
            // Sitemap-only pages and documents, for a crawl that had them.
            QHash<QString, QString> notes;
            try {
                notes = PageNotes(LoadCrawlNotes(*database), LoadDocuments(*database));
            } catch (const DatabaseError&) {
                // The list is still worth writing without its notes.
            }
            return lexicrawl::ExportInternalUrls(path, rows, decimal, list, notes);
        },
        [this, path](const ExportResult& result) {
            if (result.Failed())
                Platform::Current().ShowMessage(result.error);
            emit fileWritten(path, result.error);
        });
}

void MainWindow::ExportWords()
{
    // The list as it is shown when the command is given.
    const std::vector<UnknownWord> words = wordsTab_->Model()->Words();
    const QString path =
        AskSaveFile(this, QStringLiteral("CSV File (*.csv);;Text File (*.txt)"), QStringLiteral("csv"));
    if (!path.isEmpty())
        WriteWordsFile(path, words);
}

void MainWindow::ExportWordsTo(const QString& path)
{
    WriteWordsFile(path, wordsTab_->Model()->Words());
}

void MainWindow::WriteWordsFile(const QString& path, const std::vector<UnknownWord>& words)
{
    const QChar list = Platform::Current().ListSeparator();
    RunInBackground<ExportResult>(
        this, [path, words, list] { return lexicrawl::ExportWords(path, words, list); },
        [this, path](const ExportResult& result) {
            if (result.Failed())
                Platform::Current().ShowMessage(result.error);
            emit fileWritten(path, result.error);
        });
}

// The page is fetched afresh, in the background, with the agent and time-outs
// of the last Start and a stop flag of its own, so a running crawl is not
// disturbed; a page that cannot be fetched shows nothing.
void MainWindow::ViewPage(const QString& url, bool readableText)
{
    const FetchSettings settings = session_->CurrentFetchSettings();
    RunInBackground<QString>(
        this,
        [url, settings, readableText] {
            const QString source = FetchPage(url, settings);
            if (source.isEmpty() || !readableText)
                return source;
            return JoinLines(SplitLines(ExtractReadableText(source)));
        },
        [this](const QString& text) {
            if (text.isEmpty())
                return;
            auto* dialog = new TextViewDialog(QApplication::applicationName(), text, this);
            dialog->show();
        });
}

void MainWindow::OpenOutside(const QString& address)
{
    if (IsWebAddress(address))
        Platform::Current().OpenDocument(address);
}

void MainWindow::ResetToDefaults()
{
    if (!Platform::Current().Confirm(Tr(QStringLiteral("Confirmation")), Tr(QStringLiteral("Restart Application?")),
                                     Tr(QStringLiteral("Yes")), Tr(QStringLiteral("No"))))
        return;
    geometrySaving_ = false;
    settings_.DeleteFile();
    QCoreApplication::processEvents();
    Platform::Current().StartNewInstance(QString());
    close();
}

void MainWindow::ShowFind()
{
    find_->show();
    find_->raise();
    find_->activateWindow();
}

void MainWindow::FindNext(const QString& text)
{
    if (tabs_->currentWidget() == urlsTab_) {
        const InternalUrlModel* model = urlsTab_->Model();
        const int current = urlsTab_->View()->currentIndex().row();
        // The Note is searched too: "sitemap" or "encrypted" finds the rows so marked.
        const int row = FindNextRow(text, current, model->rowCount(),
                                    [model](int r) { return model->UrlAt(r) + QLatin1Char('\n') + model->NoteAt(r); });
        if (row >= 0)
            urlsTab_->SelectRow(row);
        find_->ShowFound(row >= 0);
    } else if (wordsTab_->ShowingFindings()) {
        const WordFindingsModel* findings = wordsTab_->Findings();
        const int current = wordsTab_->FindingsView()->currentIndex().row();
        const int row = FindNextRow(text, current, findings->rowCount(),
                                    [findings](int r) { return findings->RowText(r); });
        if (row >= 0)
            wordsTab_->SelectFindingRow(row);
        find_->ShowFound(row >= 0);
    } else {
        const UnknownWordModel* model = wordsTab_->Model();
        const int current = wordsTab_->View()->currentIndex().row();
        const int row = FindNextRow(text, current, model->rowCount(), [model](int r) { return model->WordAt(r); });
        if (row >= 0)
            wordsTab_->SelectRow(row);
        find_->ShowFound(row >= 0);
    }
}

// The verdict against the dictionary chosen now, with what it suggests.
void MainWindow::SpellCheck(const QString& word)
{
    session_->CheckWord(
        word, [this](const WordCheck& check) {
        QMetaObject::invokeMethod(this, [check] {
            QString text = QStringLiteral("Word: ") + check.word + QStringLiteral("\r\r") +
                           Tr(check.known ? QStringLiteral("Correct!") : QStringLiteral("Not Found!"));
            if (!check.known && !check.suggestions.isEmpty())
                text += QStringLiteral("\r\r") +
                        Tr(QStringLiteral("Suggestions: %s"))
                            .replace(QLatin1String("%s"), check.suggestions.join(QStringLiteral(", ")));
            Platform::Current().ShowMessage(text);
        });
    }, projectTextMode_);
}

// Every call makes a new window; several may be open at once.
AnalyzeWindow* MainWindow::AnalyzeUrl(const QString& url)
{
    auto* window = new AnalyzeWindow(url, session_->CurrentFetchSettings(), this);
    window->show();
    return window;
}

void MainWindow::ShowBatch()
{
    (new BatchWindow(*launcher_, this))->show();
}

// A new language is taken by a restart: this instance ends, the next one
// starts a second later.
void MainWindow::ShowLanguage()
{
    LanguageWindow window(environment_.language(), settings_, environment_.LanguagesFolder(), this);
    connect(&window, &LanguageWindow::restartRequested, this, &QWidget::close, Qt::QueuedConnection);
    window.exec();
}

void MainWindow::ShowFeedback()
{
    FeedbackWindow window(QStringLiteral(LEXICRAWL_FEEDBACK_HOST), this);
    window.exec();
}

void MainWindow::ShowAbout()
{
    AboutWindow window(environment_.DataFolder(), environment_.ProgramFolder(), this);
    window.exec();
}

}  // namespace lexicrawl::gui
