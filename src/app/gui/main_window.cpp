#include "app/gui/main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QThread>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/core/app_environment.h"
#include "app/core/app_identity.h"
#include "app/core/crawl_session.h"
#include "app/gui/background.h"
#include "app/gui/batch_window.h"
#include "app/gui/crawl_presenter.h"
#include "app/gui/find_dialog.h"
#include "app/gui/internal_url_model.h"
#include "app/gui/internal_urls_tab.h"
#include "app/gui/keyboard_access.h"
#include "app/gui/options_panel.h"
#include "app/gui/outside_tools.h"
#include "app/gui/split_button.h"
#include "app/gui/unknown_words_tab.h"
#include "platform/platform.h"
#include "platform/translation.h"

namespace lexicrawl::gui {

MainWindow::MainWindow(AppEnvironment& environment, QWidget* parent)
    : QMainWindow(parent), environment_(environment), settings_(environment.settings())
{
    setWindowTitle(ApplicationTitle());
    crawl_ = new CrawlPresenter(this);
    session_ = std::make_unique<CrawlSession>(environment_, crawl_->Host());
    crawl_->Attach(*session_);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(BuildUrlRow());
    options_ = new OptionsPanel(settings_, central);
    layout->addWidget(options_);
    tabs_ = new QTabWidget(central);
    tabs_->setObjectName(QStringLiteral("tabs"));
    urlsTab_ = new InternalUrlsTab(session_->Table(), session_->Database(), tabs_);
    wordsTab_ = new UnknownWordsTab(session_->Database(), tabs_);
    tabs_->addTab(urlsTab_, Tr(QStringLiteral("Internal URLs")));
    tabs_->addTab(wordsTab_, Tr(QStringLiteral("Unknown Words")));
    tabs_->setAccessibleName(Tr(QStringLiteral("Internal URLs")) + QStringLiteral(", ") +
                             Tr(QStringLiteral("Unknown Words")));
    layout->addWidget(tabs_, 1);
    setCentralWidget(central);
    BuildMenus();
    BuildStatusBar();
    showOptions_->setChecked(settings_.ShowOptions());
    options_->SetOptionRowsVisible(settings_.ShowOptions());

    find_ = new FindDialog(this);
    launcher_ = new InstanceLauncher(300, this);
    urlsTab_->SetAnalyzeEnabled(true);
    connect(urlsTab_, &InternalUrlsTab::analyzeRequested, this, [this](const QString& url) { AnalyzeUrl(url); });
    connect(find_, &FindDialog::findNext, this, &MainWindow::FindNext);
    connect(urlsTab_, &InternalUrlsTab::findRequested, this, &MainWindow::ShowFind);
    connect(wordsTab_, &UnknownWordsTab::findRequested, this, &MainWindow::ShowFind);
    connect(urlsTab_, &InternalUrlsTab::exportRequested, this, &MainWindow::ExportInternalUrls);
    connect(wordsTab_, &UnknownWordsTab::exportRequested, this, &MainWindow::ExportWords);
    connect(wordsTab_, &UnknownWordsTab::spellCheckRequested, this, &MainWindow::SpellCheck);
    connect(wordsTab_, &UnknownWordsTab::approveRequested, this, &MainWindow::ApproveWords);
    connect(urlsTab_, &InternalUrlsTab::viewSourceRequested, this, [this](const QString& url) { ViewPage(url, false); });
    connect(urlsTab_, &InternalUrlsTab::viewReadableTextRequested, this,
            [this](const QString& url) { ViewPage(url, true); });
    connect(urlsTab_, &InternalUrlsTab::marksShown, this, &MainWindow::ShowLeftOutPages);

    connect(crawl_, &CrawlPresenter::startUrlChanged, url_, &QLineEdit::setText);
    connect(crawl_, &CrawlPresenter::crawlError, this, [](const QString& text) {
        Platform::Current().MessageBox(QStringLiteral("ERROR"), text, MessageIcon::Error);
    });
    connect(crawl_, &CrawlPresenter::message, this, &MainWindow::ShowMessage);
    connect(crawl_, &CrawlPresenter::phaseChanged, this, &MainWindow::ShowPhase);
    connect(crawl_, &CrawlPresenter::progressDue, this, &MainWindow::ShowProgress);
    connect(crawl_, &CrawlPresenter::elapsedDue, this, &MainWindow::ShowElapsed);
    connect(crawl_, &CrawlPresenter::refreshDue, this, &MainWindow::RefreshUnknownWords);
    connect(crawl_, &CrawlPresenter::finished, this, &MainWindow::OnFinished);
    RestoreGeometry();
}

MainWindow::~MainWindow()
{
    geometrySaving_ = false;
    // A crawl still running (the window went without being closed) is stopped;
    // its messages still reach the UI thread while it winds down.
    session_->Stop();
    while (Phase() != CrawlPhase::Idle) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    // Queries and copies in the background use the session: let them end first.
    WaitForBackgroundWork();
    session_.reset();
}

QWidget* MainWindow::BuildUrlRow()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    url_ = new QLineEdit(row);
    url_->setObjectName(QStringLiteral("url"));
    QFont large = url_->font();
    large.setPointSizeF(large.pointSizeF() * 1.3);
    url_->setFont(large);
    url_->setText(settings_.StartUrl());
    auto* label = new QLabel(Tr(QStringLiteral("URL:")), row);
    label->setBuddy(url_);
    url_->setAccessibleName(label->text());
    connect(url_, &QLineEdit::textChanged, this, [this](const QString& text) { settings_.SetStartUrl(text); });
    connect(url_, &QLineEdit::returnPressed, this, &MainWindow::StartStop);

    dictionaries_ = new QComboBox(row);
    dictionaries_->setObjectName(QStringLiteral("dictionary"));
    auto* dictionaryLabel = new QLabel(Tr(QStringLiteral("Dictionary:")), row);
    dictionaryLabel->setBuddy(dictionaries_);
    dictionaries_->setAccessibleName(dictionaryLabel->text());
    NameComboParts(dictionaries_);
    dictionaries_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(dictionaries_, &QComboBox::activated, this, &MainWindow::SelectDictionary);

    start_ = new SplitButton(row);
    start_->setObjectName(QStringLiteral("start"));
    start_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    start_->setMinimumWidth(110);
    start_->setMenu(BuildStartMenu());
    AddMnemonics(start_->menu());
    connect(start_, &QToolButton::clicked, this, &MainWindow::StartStop);
    ShowPhase(CrawlPhase::Idle);

    showOptions_ = new QCheckBox(Tr(QStringLiteral("Show Options")), row);
    showOptions_->setObjectName(QStringLiteral("showOptions"));
    showOptions_->setAccessibleName(showOptions_->text());
    connect(showOptions_, &QCheckBox::toggled, this, [this](bool on) {
        options_->SetOptionRowsVisible(on);
        settings_.SetShowOptions(on);
    });

    layout->addWidget(label);
    layout->addWidget(url_, 1);
    layout->addWidget(dictionaryLabel);
    layout->addWidget(dictionaries_);
    layout->addWidget(start_);
    layout->addWidget(showOptions_);
    return row;
}

QMenu* MainWindow::BuildStartMenu()
{
    auto* menu = new QMenu(this);
    QAction* start = menu->addAction(Tr(QStringLiteral("Start")), this, &MainWindow::StartStop);
    menu->setDefaultAction(start);
    menu->addAction(Tr(QStringLiteral("Copy URL")), this,
                    [this] { Platform::Current().SetClipboardText(url_->text()); });
    menu->addAction(Tr(QStringLiteral("Go to URL")), this, [this] { OpenOutside(url_->text()); });
    QAction* analyze = menu->addAction(Tr(QStringLiteral("Analyze URL...")), this, [this] {
        if (!url_->text().isEmpty())
            AnalyzeUrl(url_->text());
    });
    analyze->setObjectName(QStringLiteral("analyzeUrl"));
    menu->addSeparator();
    QMenu* index = menu->addMenu(QStringLiteral("Check Index"));
    for (OutsideTool tool : IndexSearches())
        index->addAction(OutsideToolCaption(tool), this,
                         [this, tool] { OpenOutside(OutsideToolAddress(tool, url_->text())); });
    index->addAction(QStringLiteral("All"), this, [this] {
        for (OutsideTool tool : IndexSearches())
            OpenOutside(OutsideToolAddress(tool, url_->text()));
    });
    for (OutsideTool tool : WebTools())
        menu->addAction(OutsideToolCaption(tool), this,
                        [this, tool] { OpenOutside(OutsideToolAddress(tool, url_->text())); });
    return menu;
}

QAction* MainWindow::AddCheck(QMenu* menu, const QString& name, const QString& caption, bool checked,
                              std::function<void(bool)> onToggle)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    action->setCheckable(true);
    action->setChecked(checked);
    connect(action, &QAction::toggled, this, std::move(onToggle));
    return action;
}

void MainWindow::BuildMenus()
{
    QMenu* file = menuBar()->addMenu(Tr(QStringLiteral("File")));
    file->addAction(Tr(QStringLiteral("New Project")), this, &MainWindow::NewProject)
        ->setShortcut(QKeySequence::New);
    QAction* load = file->addAction(Tr(QStringLiteral("Load Project...")), this, &MainWindow::LoadProject);
    load->setObjectName(QStringLiteral("loadProject"));
    load->setShortcut(QKeySequence::Open);
    QAction* save = file->addAction(Tr(QStringLiteral("Save Project As...")), this, &MainWindow::SaveProjectAs);
    save->setObjectName(QStringLiteral("saveProject"));
    save->setShortcut(QKeySequence::Save);
    file->addSeparator();
    file->addAction(Tr(QStringLiteral("Check Multiple Websites...")), this, &MainWindow::ShowBatch)
        ->setObjectName(QStringLiteral("checkMultiple"));
    file->addSeparator();
    file->addAction(Tr(QStringLiteral("Export Internal URLs...")), this, &MainWindow::ExportInternalUrls);
    file->addAction(Tr(QStringLiteral("Export Words...")), this, &MainWindow::ExportWords);
    file->addAction(Tr(QStringLiteral("Export Report...")), this, &MainWindow::ExportReport)
        ->setObjectName(QStringLiteral("exportReport"));
    file->addSeparator();
    QAction* exit = file->addAction(Tr(QStringLiteral("Exit")), this, &QWidget::close);
    exit->setObjectName(QStringLiteral("exit"));
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    Settings& s = settings_;
    QMenu* settings = menuBar()->addMenu(Tr(QStringLiteral("Settings")));
    QMenu* location = settings->addMenu(Tr(QStringLiteral("Database Location")));
    auto* locations = new QActionGroup(this);
    QAction* fileLocation = AddCheck(location, QStringLiteral("locationFile"), Tr(QStringLiteral("File")),
                                     !s.MemoryDatabase(), [&s](bool on) {
                                         if (on)
                                             s.SetMemoryDatabase(false);
                                     });
    memoryLocation_ = AddCheck(location, QStringLiteral("locationMemory"), Tr(QStringLiteral("Memory")),
                               s.MemoryDatabase(), [&s](bool on) {
                                   if (on)
                                       s.SetMemoryDatabase(true);
                               });
    locations->addAction(fileLocation);
    locations->addAction(memoryLocation_);
    CrawlSession* session = session_.get();
    displayUnfinished_ =
        AddCheck(settings, QStringLiteral("displayUnfinished"), Tr(QStringLiteral("Display Unfinished Results")),
                 s.DisplayUnfinishedResults(), [&s](bool on) { s.SetDisplayUnfinishedResults(on); });
    followRedirects_ = AddCheck(settings, QStringLiteral("followRedirects"), Tr(QStringLiteral("Follow Redirects")),
                                true, [](bool) {});
    // Link processing reads these afresh for every link, so a change applies during a crawl.
    removeAnchors_ = AddCheck(settings, QStringLiteral("removeAnchors"), Tr(QStringLiteral("Remove Anchor Links")),
                              s.RemoveAnchors(), [&s, session](bool on) {
                                  s.SetRemoveAnchors(on);
                                  session->SetRemoveAnchors(on);
                              });
    removeQueryString_ = AddCheck(settings, QStringLiteral("removeQueryString"),
                                  Tr(QStringLiteral("Remove Query String Links")), s.RemoveQueryString(),
                                  [&s, session](bool on) {
                                      s.SetRemoveQueryString(on);
                                      session->SetRemoveQueryString(on);
                                  });
    stripMarkup_ = AddCheck(settings, QStringLiteral("stripMarkup"), Tr(QStringLiteral("Strip HTML Markup")),
                            s.StripHtmlMarkup(), [&s, session](bool on) {
                                s.SetStripHtmlMarkup(on);
                                session->SetStripHtmlMarkup(on);
                            });
    settings->addSeparator();
    settings->addAction(Tr(QStringLiteral("Reset to Defaults")), this, &MainWindow::ResetToDefaults);

    QMenu* help = menuBar()->addMenu(Tr(QStringLiteral("Help")));
    QAction* online = help->addAction(Tr(QStringLiteral("Online Help")), this,
                                      [this] { OpenOutside(OnlineHelpAddress(ProductName())); });
    online->setShortcut(QKeySequence(Qt::Key_F1));
    // No update service exists.
    help->addAction(Tr(QStringLiteral("Update Notifications")))->setEnabled(false);
    help->addAction(Tr(QStringLiteral("Language")) + QStringLiteral("..."), this, &MainWindow::ShowLanguage)
        ->setObjectName(QStringLiteral("language"));
    help->addAction(Tr(QStringLiteral("Send Feedback")) + QStringLiteral("..."), this, &MainWindow::ShowFeedback)
        ->setObjectName(QStringLiteral("feedback"));
    help->addAction(Tr(QStringLiteral("About")) + QStringLiteral("..."), this, &MainWindow::ShowAbout)
        ->setObjectName(QStringLiteral("about"));
    AddMnemonics(menuBar());
    AddWindowShortcuts();
}

// Commands of the window that no menu holds: they act on the current tab's
// list or on the crawl, wherever the focus is.
void MainWindow::AddWindowShortcuts()
{
    auto add = [this](const char* name, const QKeySequence& keys, auto slot) {
        auto* action = new QAction(this);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
    };
    add("startStop", QKeySequence(Qt::Key_F5), [this] { StartStop(); });
    add("stop", QKeySequence(Qt::SHIFT | Qt::Key_F5), [this] {
        if (Phase() == CrawlPhase::Running)
            Stop();
    });
    add("find", QKeySequence::Find, [this] { ShowFind(); });
    add("exportList", QKeySequence(Qt::CTRL | Qt::Key_E), [this] {
        if (tabs_->currentWidget() == urlsTab_)
            ExportInternalUrls();
        else
            ExportWords();
    });
}

void MainWindow::BuildStatusBar()
{
    static const char* const names[] = {"URL count", "Position", "Elapsed time", "State"};
    const int widths[] = {200, 100, 100, 50};
    for (int i = 0; i < 4; ++i) {
        status_[i] = new QLabel(this);
        status_[i]->setObjectName(QStringLiteral("status%1").arg(i));
        // A screen reader reads a label's name in place of its text: the
        // panel's role goes into the description, so that the progress is read.
        status_[i]->setAccessibleDescription(Tr(QString::fromLatin1(names[i])));
        status_[i]->setMinimumWidth(widths[i]);
        status_[i]->setTextFormat(Qt::PlainText);  // it shows URLs a page wrote
        if (i == 1 || i == 2)
            status_[i]->setAlignment(Qt::AlignCenter);
        statusBar()->addWidget(status_[i], i == 3 ? 1 : 0);
    }
}

QString MainWindow::StatusText(int panel) const
{
    return panel >= 0 && panel < 4 ? status_[panel]->text() : QString();
}

QAction* MainWindow::Action(const QString& objectName) const
{
    return findChild<QAction*>(objectName);
}

// The stored geometry by the reading rules: position only with both Left and
// Top, a zero or oversized size replaced by the default, maximized unless
// "Normal" is stored.
void MainWindow::RestoreGeometry()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->size() : QSize(1280, 1024);
    resize(settings_.Width(screenSize), settings_.Height(screenSize));
    if (settings_.HasPosition()) {
        move(settings_.Left(), settings_.Top());
    } else if (screen) {
        QRect frame = geometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void MainWindow::ShowRestored()
{
    if (settings_.Maximized())
        showMaximized();
    else
        show();
    geometrySaving_ = true;
    SaveGeometry();  // the first resize, also into the maximized state, is kept
}

void MainWindow::SaveGeometry()
{
    if (!geometrySaving_)
        return;
    if (isMaximized()) {
        settings_.SetMaximized(true);
    } else if (!isMinimized()) {
        settings_.SetPosition(x(), y());
        settings_.SetSize(width(), height());
        settings_.SetMaximized(false);
    }
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    SaveGeometry();
}

void MainWindow::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    if (geometrySaving_ && !isMaximized() && !isMinimized())
        settings_.SetPosition(x(), y());
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        SaveGeometry();
}

void MainWindow::SetCommandLine(const QStringList& arguments)
{
    commandLine_ = arguments;
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!firstShow_)
        return;
    firstShow_ = false;
    UpdateCaption();
    // Once the window is up: the URL selected, the command line handled. The
    // dictionaries are asked for first, so that the recording worker has the
    // chosen one loaded before a crawl from the command line checks a word.
    LoadDictionaries();
    QTimer::singleShot(1, this, [this] { url_->selectAll(); });
    QTimer::singleShot(0, this, &MainWindow::HandleCommandLine);
}

// The arguments joined with single spaces (a path that arrived split at its
// spaces is whole again): an address starts a crawl, anything else is opened
// as a project.
void MainWindow::HandleCommandLine()
{
    QString text;
    for (const QString& argument : commandLine_)
        text += QLatin1Char(' ') + argument;
    text = text.trimmed();
    if (text.isEmpty())
        return;
    if (text.toLower().startsWith(QLatin1String("http"))) {
        url_->setText(text);
        QCoreApplication::processEvents();
        StartStop();
    } else {
        OpenProject(text);
    }
}

// An opened project is named by the file the user opened, not by the
// working copy the window reads.
void MainWindow::UpdateCaption()
{
    if (!openedProject_.isEmpty())
        setWindowTitle(ApplicationTitle() + QStringLiteral(" (Database: ") +
                       QDir::toNativeSeparators(QFileInfo(openedProject_).absoluteFilePath()) + QLatin1Char(')'));
    else
        setWindowTitle(ApplicationTitle() + session_->CaptionSuffix());
}

// A crawl is stopped first; the window closes once it has finished, so that
// nothing of it is left writing to a database that is being closed.
void MainWindow::closeEvent(QCloseEvent* event)
{
    if (Phase() != CrawlPhase::Idle) {
        closeWhenFinished_ = true;
        Stop();
        event->ignore();
        return;
    }
    geometrySaving_ = false;
    find_->close();
    event->accept();
}

}  // namespace lexicrawl::gui
