// The windows around the main window, on the offscreen platform, against
// servers on 127.0.0.1: page analysis, the batch, the Language window,
// feedback and About; and the translation of every caption.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QMutex>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <httplib.h>

#include <thread>

#include "analysis/readable_text.h"
#include "app/core/about_info.h"
#include "app/core/app_environment.h"
#include "app/core/feedback.h"
#include "app/core/language.h"
#include "app/gui/about_window.h"
#include "app/gui/analyze_window.h"
#include "app/gui/batch_window.h"
#include "app/gui/feedback_window.h"
#include "app/gui/gui_platform.h"
#include "app/gui/language_window.h"
#include "app/gui/main_window.h"
#include "platform/translation.h"
#include "support/loopback_server.h"
#include "support/qt_printers.h"

using namespace lexicrawl;
using namespace lexicrawl::gui;

namespace {

class TestPlatform : public GuiPlatform {
public:
    TestPlatform() { Platform::SetCurrent(this); }
    ~TestPlatform() override { Platform::SetCurrent(nullptr); }
    void ShowMessage(const QString& text) override { Keep(text); }
    void MessageBox(const QString& title, const QString& text, MessageIcon) override { Keep(title + ": " + text); }
    bool Confirm(const QString&, const QString& text, const QString&, const QString&) override
    {
        Keep(text);
        return true;
    }
    bool OpenDocument(const QString& target) override { return Keep("open " + target); }
    bool StartNewInstance(const QString& commandLine) override { return Keep("start " + commandLine); }
    bool RestartWhenEnded() override { return Keep(QStringLiteral("restart")); }
    void Beep() override { Keep(QStringLiteral("beep")); }
    QString ProgramFolder() const override { return QStringLiteral(LEXICRAWL_BIN_DIR "/"); }
    QChar DecimalSeparator() const override { return u','; }

    QStringList Said()
    {
        QMutexLocker lock(&mutex_);
        return said_;
    }

private:
    bool Keep(const QString& text)
    {
        QMutexLocker lock(&mutex_);
        said_ << text;
        return true;
    }
    QMutex mutex_;
    QStringList said_;
};

// A server on 127.0.0.1 with the routes a test gives it.
class Server {
public:
    explicit Server(const std::function<void(httplib::Server&)>& routes)
    {
        routes(server_.Routes());
        server_.Start();
    }
    ~Server()
    {
        server_.Stop();
    }
    QString Base() const { return server_.Url(); }
    QString Host() const { return QStringLiteral("127.0.0.1:%1").arg(server_.Port()); }

private:
    lexicrawl::testing::LoopbackServer server_;
};

const char* const kPage =
    "<html><head><title>Fixture &amp; page</title><meta name=\"description\" content=\"Two\nlines\"></head>"
    "<body><h1>Hello</h1><h1>Worlds!</h1><h3></h3>"
    "<img src=\"a.png\" alt=\"A\" title=\"T\"><IMG SRC='b.png' ALT='x'><img src=c.png>"
    "<p>Don't stop, don't!</p></body></html>";

// Contents is the page's readable text as the crawl renders it: the page is
// the one request the window makes.
TEST(AnalyzeWindowTest, FillsItsTabsFromThePageAlone)
{
    TestPlatform platform;
    QStringList asked;
    QMutex askedMutex;
    Server server([&](httplib::Server& s) {
        s.set_logger([&](const httplib::Request& req, const httplib::Response&) {
            QMutexLocker lock(&askedMutex);
            asked << QString::fromStdString(req.path);
        });
        s.Get("/page.html", [](const httplib::Request&, httplib::Response& res) { res.set_content(kPage, "text/html"); });
    });
    const QString url = server.Base() + QStringLiteral("/page.html");
    auto* window = new AnalyzeWindow(url, FetchSettings{});
    QSignalSpy page(window, &AnalyzeWindow::pageFilled);
    QSignalSpy contents(window, &AnalyzeWindow::contentsFilled);
    window->show();  // at once, before any answer
    ASSERT_TRUE(page.wait(10000));
    ASSERT_TRUE(contents.count() > 0 || contents.wait(10000));

    EXPECT_EQ(window->findChild<QLineEdit*>("title")->text(), QStringLiteral("Fixture & page"));
    EXPECT_EQ(window->Counter("url"), QString::number(url.size()));
    EXPECT_EQ(window->Counter("title"), QStringLiteral("14"));
    EXPECT_EQ(window->Counter("description"), QStringLiteral("10"));  // a line break counts as two
    EXPECT_EQ(window->Counter("h1"), QStringLiteral("16"));           // 5 + 2 and 7 + 2
    EXPECT_EQ(window->Counter("h2"), QStringLiteral("0"));
    EXPECT_EQ(window->Counter("h3"), QStringLiteral("2"));            // an empty heading is an entry
    const QTreeWidget* images = window->findChild<QTreeWidget*>("images");
    ASSERT_EQ(images->topLevelItemCount(), 2);  // an unquoted src gives no row
    EXPECT_EQ(images->topLevelItem(0)->text(0) + "|" + images->topLevelItem(0)->text(1) + "|" +
                  images->topLevelItem(0)->text(2),
              QStringLiteral("a.png|A|T"));
    EXPECT_EQ(images->topLevelItem(1)->text(0) + "|" + images->topLevelItem(1)->text(1), QStringLiteral("b.png|x"));
    const QString shown = window->findChild<QPlainTextEdit*>("contents")->toPlainText();
    EXPECT_EQ(shown, QString(ExtractReadableText(QString::fromUtf8(kPage))).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    EXPECT_TRUE(shown.contains(QStringLiteral("Don't stop, don't!"))) << shown.toStdString();
    EXPECT_EQ(window->Counter("contents"), QString::number(ExtractReadableText(QString::fromUtf8(kPage)).size()));
    {
        QMutexLocker lock(&askedMutex);
        EXPECT_EQ(asked, QStringList{QStringLiteral("/page.html")});
    }
    // A window of its own to assistive technology.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(window)->role(), QAccessible::Window);

    // The word list reads the readable text only, so it comes after "Strip HTML Source".
    QSignalSpy words(window, &AnalyzeWindow::wordListFilled);
    window->GenerateWordList();
    ASSERT_TRUE(words.wait(5000));
    EXPECT_EQ(window->findChild<QLabel*>("status")->text(), QStringLiteral("Total: 0 words"));
    QSignalSpy stripped(window, &AnalyzeWindow::readableTextFilled);
    window->StripHtmlSource();
    ASSERT_TRUE(stripped.wait(5000));
    EXPECT_TRUE(window->findChild<QLabel*>("status")->text().startsWith(QStringLiteral("Strip Time: 0,")));
    EXPECT_FALSE(window->findChild<QPushButton*>("strip")->isVisible());
    struct Case {
        const char* characters;
        const char* words;
    } cases[] = {
        // «Don't stop, don't!» gives «don't» and «stop»; capitals are word characters too.
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789'", "don't\nhello\nstop\nworlds"},
        // Characters outside the set split words.
        {"abcdefghijklmnopqrstuvwxyz", "don\nello\non\norlds\nstop\nt"},
    };
    for (const Case& c : cases) {
        window->findChild<QLineEdit*>("wordCharacters")->setText(QString::fromLatin1(c.characters));
        window->GenerateWordList();
        ASSERT_TRUE(words.wait(5000));
        EXPECT_EQ(window->findChild<QPlainTextEdit*>("words")->toPlainText(), QString::fromLatin1(c.words))
            << window->findChild<QPlainTextEdit*>("readable")->toPlainText().toStdString();
    }
    delete window;
    EXPECT_TRUE(platform.Said().isEmpty());
}

TEST(AnalyzeWindowTest, APageThatCannotBeFetchedStillGivesAWindow)
{
    TestPlatform platform;
    auto* window = new AnalyzeWindow(QStringLiteral("http://127.0.0.1:1/none.html"), FetchSettings{"", 2000, 2000});
    QSignalSpy page(window, &AnalyzeWindow::pageFilled);
    QSignalSpy contents(window, &AnalyzeWindow::contentsFilled);
    ASSERT_TRUE(page.wait(10000));
    ASSERT_TRUE(contents.count() > 0 || contents.wait(10000));
    EXPECT_EQ(window->findChild<QPlainTextEdit*>("source")->toPlainText(), QString());
    EXPECT_EQ(window->Counter("title"), QStringLiteral("0"));
    // Why the page could not be read stands where its text would.
    EXPECT_TRUE(window->findChild<QPlainTextEdit*>("contents")->toPlainText().contains(QStringLiteral("onnect")))
        << window->findChild<QPlainTextEdit*>("contents")->toPlainText().toStdString();
    delete window;
}

TEST(BatchWindowTest, StartsOneInstancePerNonEmptyLineALittleApart)
{
    TestPlatform platform;
    InstanceLauncher launcher(50);
    auto* window = new BatchWindow(launcher);
    window->Lines()->setPlainText(QStringLiteral("http://a.test/\n\n  https://b.test/  \nsome project.db\n"));
    window->Accept();
    EXPECT_EQ(platform.Said(), QStringList{"start http://a.test/"});  // the first at once, the others later
    ASSERT_TRUE(QTest::qWaitFor([&] { return launcher.Idle() && platform.Said().size() == 3; }, 5000));
    EXPECT_EQ(platform.Said(),
              (QStringList{"start http://a.test/", "start   https://b.test/  ", "start some project.db"}));
}

class LanguageWindowTest : public ::testing::Test {
protected:
    TestPlatform platform;
    QTemporaryDir data;
};

TEST_F(LanguageWindowTest, ChoosingAnotherLanguageWritesItAndArrangesTheRestart)
{
    AppEnvironment environment(platform, data.path());
    LanguageWindow window(environment.language(), environment.settings(), environment.LanguagesFolder());
    QStringList names;
    for (int i = 0; i < window.Languages()->count(); ++i)
        names << window.Languages()->itemText(i);
    EXPECT_EQ(names, (QStringList{"English", "German", "Turkish"}));
    EXPECT_FALSE(window.Languages()->itemIcon(1).isNull());
    EXPECT_EQ(window.Credits(), QStringLiteral("Norvane"));

    // The language in use: OK only closes.
    EXPECT_FALSE(window.Confirm());
    EXPECT_TRUE(platform.Said().isEmpty());

    window.Languages()->setCurrentText(QStringLiteral("German"));
    EXPECT_EQ(window.Credits(), QStringLiteral("Lexicrawl Team"));
    QSignalSpy restart(&window, &LanguageWindow::restartRequested);
    window.findChild<QPushButton*>("ok")->click();
    EXPECT_EQ(restart.count(), 1);
    EXPECT_EQ(platform.Said(), (QStringList{"Restart Application?", "restart"}));
    EXPECT_EQ(Settings(data.path()).LanguageFile(), QStringLiteral("German.lang.txt"));
}

TEST(FeedbackTest, EmailAddressesAndTheFieldsSent)
{
    struct Case {
        const char* address;
        bool valid;
    } cases[] = {
        {"user+tag@mail.example.co.uk", true}, {"a_b.c-d@host.de", true}, {"user@localhost", false},
        {"user@@host.de", false},              {"user@host.", false},     {" user@host.de", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsValidEmail(QString::fromLatin1(c.address)), c.valid) << c.address;

    FeedbackForm form;
    form.choice = FeedbackChoice::Like;
    form.likeCaption = QStringLiteral("Gefällt mir!");
    form.message = QStringLiteral("  Nice tool.  ");
    const FormFields fields = FeedbackFields(form);
    ASSERT_EQ(fields.size(), 4u);  // no e-mail, no email field
    EXPECT_EQ(fields[0].first + fields[1].first + fields[2].first + fields[3].first,
              QStringLiteral("cmdappnameversionfeedback"));
    EXPECT_EQ(fields[3].second, QStringLiteral("I like it! (Gefällt mir!)\rNice tool."));
    form.email = QStringLiteral(" me@mail.test ");
    EXPECT_EQ(FeedbackFields(form).back(), (std::pair<QString, QString>{"email", "me@mail.test"}));
    form.message = QStringLiteral(" \t ");
    EXPECT_EQ(CheckFeedback(form), FeedbackProblem::EmptyMessage);
}

TEST(FeedbackTest, TheWindowValidatesSendsAndClosesOnOk)
{
    TestPlatform platform;
    QStringList bodies;
    QString answer = QStringLiteral("OK\r\n");
    Server server([&](httplib::Server& s) {
        s.Post("/php/feedback.php", [&](const httplib::Request& req, httplib::Response& res) {
            bodies << QString::fromStdString(req.body);
            res.set_content(answer.toStdString(), "text/plain");
        });
    });
    FeedbackWindow window(QStringLiteral("http://") + server.Host());  // a test server's own scheme
    window.Send();  // an empty message: a beep, nothing sent
    EXPECT_EQ(platform.Said(), QStringList{"beep"});
    window.Message()->setPlainText(QStringLiteral("Works well"));
    window.Email()->setText(QStringLiteral("not an address"));
    window.Send();
    EXPECT_EQ(platform.Said().last(), QStringLiteral("Failure: Invalid e-mail address!"));
    EXPECT_TRUE(bodies.isEmpty());

    // "ok" is not "OK": the window stays open with what was typed.
    answer = QStringLiteral("ok");
    window.Email()->clear();
    window.LikePanel()->click();
    QSignalSpy sent(&window, &FeedbackWindow::sent);
    window.Send();
    ASSERT_TRUE(sent.wait(15000));
    EXPECT_FALSE(sent.last().at(0).toBool());
    EXPECT_TRUE(platform.Said().last().startsWith(QStringLiteral("Failure: Something went wrong.")));
    EXPECT_EQ(window.Message()->toPlainText(), QStringLiteral("Works well"));
    ASSERT_EQ(bodies.size(), 1);
    EXPECT_TRUE(bodies[0].startsWith(QStringLiteral("cmd=feedback&appname=NORVANE+-+Lexicrawl&version=")));
    EXPECT_TRUE(bodies[0].endsWith(QStringLiteral("&feedback=I+like+it!%0DWorks+well")));

    answer = QStringLiteral("OK\r\n");
    window.Send();
    ASSERT_TRUE(sent.wait(15000));
    EXPECT_TRUE(sent.last().at(0).toBool());
    EXPECT_EQ(platform.Said().last(), QStringLiteral("Success: Your feedback is received.\r\rThank you!"));
}

// A server that answers only in plain text never gets the message: the
// https attempt fails and nothing is sent again without it.
TEST(FeedbackTest, NothingIsSentOverPlainHttpWhenHttpsFails)
{
    TestPlatform platform;
    QStringList bodies;
    Server server([&](httplib::Server& s) {
        s.Post("/php/feedback.php", [&](const httplib::Request& req, httplib::Response& res) {
            bodies << QString::fromStdString(req.body);
            res.set_content("OK", "text/plain");
        });
    });
    FeedbackWindow window(server.Host());
    window.Message()->setPlainText(QStringLiteral("My address is in here"));
    QSignalSpy sent(&window, &FeedbackWindow::sent);
    window.Send();
    ASSERT_TRUE(sent.wait(15000));
    EXPECT_FALSE(sent.last().at(0).toBool());
    EXPECT_TRUE(bodies.isEmpty());
    EXPECT_EQ(window.Message()->toPlainText(), QStringLiteral("My address is in here"));
}

TEST(AboutWindowTest, NamesTheLibrariesAndTheDataFolder)
{
    TestPlatform platform;
    AboutWindow window(QStringLiteral("/data/folder/"), QStringLiteral("/program/"));
    for (const char* library : {"Qt", "libcurl", "SQLite", "Hunspell", "gumbo", "zlib"})
        EXPECT_TRUE(window.Text().contains(QStringLiteral("<td>%1</td>").arg(QString::fromLatin1(library)))) << library;
    for (const LibraryInfo& library : LibrariesInUse())
        EXPECT_FALSE(library.version.isEmpty()) << library.name.toStdString();
    EXPECT_TRUE(window.Text().contains(QStringLiteral("/data/folder/")));
}

// Every key the program looks up is in every shipped language file (a
// missing one would fall back to English).
TEST(Translation, EveryKeyIsInEveryShippedLanguageFile)
{
    QSet<QString> keys;
    const QRegularExpression lookup(QStringLiteral("Tr\\(QStringLiteral\\(\"((?:[^\"\\\\]|\\\\.)*)\"\\)"));
    QDirIterator sources(QStringLiteral(LEXICRAWL_SOURCE_DIR "/src"), {"*.cpp", "*.h"}, QDir::Files,
                         QDirIterator::Subdirectories);
    while (sources.hasNext()) {
        QFile file(sources.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        for (auto match = lookup.globalMatch(text); match.hasNext();)
            keys.insert(match.next().captured(1));
    }
    EXPECT_GT(keys.size(), 80);
    QDirIterator languages(QStringLiteral(LEXICRAWL_BIN_DIR "/Languages"), {"*.lang.txt"}, QDir::Files);
    int files = 0;
    while (languages.hasNext()) {
        const QString path = languages.next();
        ++files;
        const QStringList lines = Language::ReadLines(path);
        QStringList missing;
        for (const QString& key : keys)
            if (std::none_of(lines.begin(), lines.end(), [&key](const QString& line) {
                    return line.startsWith(QLatin1Char('{') + key + QLatin1Char('}'));
                }))
                missing << key;
        missing.sort();
        EXPECT_TRUE(missing.isEmpty()) << path.toStdString() << " lacks: " << missing.join(", ").toStdString();
    }
    EXPECT_GE(files, 2);
}

// Every caption of every window goes through the lookup: with a language
// that marks each translation, no unmarked caption is left.
TEST(Translation, EveryCaptionOfEveryWindowIsLookedUp)
{
    struct Marking : Translator {
        QString Translate(const QString& english) const override { return QStringLiteral("«") + english + "»"; }
    } marking;
    TestPlatform platform;
    QTemporaryDir data;
    AppEnvironment environment(platform, data.path());
    SetTranslator(&marking);
    InstanceLauncher launcher;
    std::vector<std::unique_ptr<QWidget>> windows;
    windows.emplace_back(new MainWindow(environment));
    windows.emplace_back(new BatchWindow(launcher));
    windows.emplace_back(new LanguageWindow(environment.language(), environment.settings(), environment.LanguagesFolder()));
    windows.emplace_back(new FeedbackWindow(QStringLiteral("host.test")));
    windows.emplace_back(new AboutWindow(QString(), QString()));
    // Texts that are data, or the Start drop-down's web tools, which stay English.
    const QRegularExpression exempt(QStringLiteral(
        "^(|\\d+|https?://.*|NORVANE - Lexicrawl.*|English.*|German.*|Turkish|Norvane|Check Index|All|Google.*|Yahoo|Bing|Yandex|Wayback "
        "Machine|Domain IP List|Check HTML with W3C Validator|Alexa Data|AMP Validator|Robots\\.txt|Go to URL)$"));
    QStringList plain;
    for (const auto& window : windows) {
        auto check = [&](const QString& text, const QString& where) {
            const QString shown = QString(text).remove(QLatin1Char('&'));
            if (!shown.contains(QStringLiteral("«")) && !exempt.match(shown).hasMatch())
                plain << where + ": " + shown;
        };
        check(window->windowTitle(), QStringLiteral("title"));
        for (const QLabel* label : window->findChildren<QLabel*>())
            if (label->objectName() != QLatin1String("about") && !label->objectName().startsWith(QLatin1String("status")))
                check(label->text(), QStringLiteral("label"));
        for (const QAbstractButton* button : window->findChildren<QAbstractButton*>())
            if (!button->text().isEmpty() && !button->objectName().startsWith(QLatin1String("qt_")))
                check(button->text(), QStringLiteral("button"));
        for (const QAction* action : window->findChildren<QAction*>())
            if (!action->isSeparator() && !action->text().isEmpty())
                check(action->text(), QStringLiteral("menu"));
    }
    windows.clear();
    SetTranslator(&environment.language());
    EXPECT_TRUE(plain.isEmpty()) << plain.join('\n').toStdString();
}

}  // namespace
