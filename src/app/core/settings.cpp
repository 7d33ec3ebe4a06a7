#include "app/core/settings.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <cmath>

#include "crawl/crawl_options.h"
#include "crawl/fetcher.h"
#include "platform/text.h"
#include "platform/user_message.h"
#include "spelling/dictionary_choice.h"

namespace lexicrawl {

namespace {

const QString kSection = QStringLiteral("Settings");
const QString kLineBreakToken = QStringLiteral("#13#10");

}  // namespace

QString Settings::DefaultStartUrl() { return QStringLiteral("http://example.com/"); }

QStringList Settings::AgentPresets()
{
    return {
        ClientLibraryAgent(),
        QStringLiteral("Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
                       "Chrome/87.0.4280.88 Safari/537.36"),
        QStringLiteral("Mozilla/5.0 (Windows NT 6.1) AppleWebKit/537.36 (KHTML, like Gecko) "
                       "Chrome/41.0.2228.0 Safari/537.36"),
        QStringLiteral("Mozilla/5.0 (compatible; Googlebot/2.1; +http://www.google.com/bot.html)"),
        QStringLiteral("Mozilla/5.0 (compatible; bingbot/2.0; +http://www.bing.com/bingbot.htm)"),
        QStringLiteral("Mozilla/5.0 (compatible; Yahoo! Slurp; http://help.yahoo.com/help/us/ysearch/slurp)"),
    };
}

QString Settings::DefaultAgent() { return AgentPresets().at(1); }

QString Settings::DefaultIgnoreExtensions()
{
    return QStringLiteral("ico jpg jpeg png gif bmp svg css js exe zip rar 7z apk pdf doc docx xls xlsx ppt pptx");
}

QString Settings::DefaultIgnoreUrls() { return QStringLiteral("https://example.com/unwanted/*"); }

QString Settings::DefaultDictionaryLanguage() { return kDefaultDictionaryLanguage; }

Settings::Settings(const QString& dataFolder)
{
    path_ = dataFolder;
    if (!path_.isEmpty() && !path_.endsWith(QLatin1Char('/')))
        path_ += QLatin1Char('/');
    path_ += QStringLiteral("settings.ini");
    Read();
}

void Settings::Read()
{
    sections_.clear();
    QFile file(path_);
    if (!file.exists())
        return;
    bool readable = file.open(QIODevice::ReadOnly);
    QString text;
    if (readable) {
        const QByteArray bytes = file.readAll();
        readable = file.error() == QFileDevice::NoError;
        QStringDecoder decode(QStringDecoder::Utf8);
        text = decode(bytes);
        readable = readable && !decode.hasError();
    }
    file.close();
    if (!readable) {
        // Unreadable: start again from an empty file with every default,
        // keeping the damaged one beside it for the user to mend.
        const QString damaged = path_ + QStringLiteral(".damaged");
        QFile::remove(damaged);
        const bool kept = QFile::rename(path_, damaged);
        if (!kept)
            QFile::remove(path_);
        ReportMessage(kept ? QStringLiteral("The settings file %1 could not be read (it is damaged or not UTF-8 text); "
                                            "every setting is back to its default. The damaged file was kept as %2.")
                                 .arg(QDir::toNativeSeparators(path_), QDir::toNativeSeparators(damaged))
                           : QStringLiteral("The settings file %1 could not be read; every setting is back to its "
                                            "default.")
                                 .arg(QDir::toNativeSeparators(path_)));
        QFile empty(path_);
        if (empty.open(QIODevice::WriteOnly))
            empty.write("\xEF\xBB\xBF");
        return;
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    Section* current = nullptr;
    for (const QString& raw : SplitLines(text)) {
        const QString line = TrimCtl(raw);
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString name = line.mid(1, line.size() - 2);
            current = nullptr;
            for (Section& s : sections_)
                if (SameTextAZ(s.name, name))
                    current = &s;
            if (!current) {
                sections_.push_back({name, {}});
                current = &sections_.back();
            }
            continue;
        }
        const qsizetype eq = raw.indexOf(QLatin1Char('='));
        if (!current || eq < 0)
            continue;
        const QString key = TrimCtl(raw.left(eq));
        bool known = false;
        for (const auto& e : current->entries)
            known = known || SameTextAZ(e.first, key);
        if (!known && !key.isEmpty())
            current->entries.emplace_back(key, raw.mid(eq + 1));
    }
}

bool Settings::Write() const
{
    QString text;
    for (const Section& s : sections_) {
        text += QLatin1Char('[') + s.name + QStringLiteral("]\r\n");
        for (const auto& [key, value] : s.entries)
            text += key + QLatin1Char('=') + value + QStringLiteral("\r\n");
        text += QStringLiteral("\r\n");
    }
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("\xEF\xBB\xBF");
    file.write(text.toUtf8());
    return file.commit();
}

const Settings::Section* Settings::FindSettings() const
{
    for (const Section& s : sections_)
        if (SameTextAZ(s.name, kSection))
            return &s;
    return nullptr;
}

Settings::Section& Settings::SettingsSection()
{
    for (Section& s : sections_)
        if (SameTextAZ(s.name, kSection))
            return s;
    sections_.insert(sections_.begin(), Section{kSection, {}});
    return sections_.front();
}

bool Settings::Has(const QString& key) const
{
    if (const Section* s = FindSettings())
        for (const auto& e : s->entries)
            if (SameTextAZ(e.first, key))
                return true;
    return false;
}

QString Settings::Raw(const QString& key) const
{
    if (const Section* s = FindSettings())
        for (const auto& e : s->entries)
            if (SameTextAZ(e.first, key))
                return e.second;
    return QString();
}

// A value is one line of the file: a line break inside it would start keys
// of its own on the next read ("x\rLeft=5" would place the window), so line
// breaks are left out. The Ignore URLs box writes its breaks as "#13#10".
bool Settings::SetRaw(const QString& key, const QString& text)
{
    QString value = text;
    value.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    Section& s = SettingsSection();
    bool found = false;
    for (auto& e : s.entries)
        if (SameTextAZ(e.first, key)) {
            e.second = value;
            found = true;
        }
    if (!found)
        s.entries.emplace_back(key, value);
    return Write();
}

bool Settings::DeleteFile()
{
    sections_.clear();
    return QFile::remove(path_) || !QFile::exists(path_);
}

QString Settings::NonEmptyOr(const QString& key, const QString& fallback) const
{
    const QString v = Raw(key);
    return v.isEmpty() ? fallback : v;
}

bool Settings::SetOnOff(const QString& key, bool on, const char* onText, const char* offText)
{
    return SetRaw(key, QString::fromLatin1(on ? onText : offText));
}

QString Settings::LanguageFile() const { return Raw(QStringLiteral("LanguageFile")); }
bool Settings::SetLanguageFile(const QString& fileName) { return SetRaw(QStringLiteral("LanguageFile"), fileName); }

bool Settings::HasPosition() const { return Has(QStringLiteral("Left")) && Has(QStringLiteral("Top")); }
int Settings::Left() const { return WholeNumber(Raw(QStringLiteral("Left"))).value_or(0); }
int Settings::Top() const { return WholeNumber(Raw(QStringLiteral("Top"))).value_or(0); }

int Settings::Width(QSize screen) const
{
    const int v = WholeNumber(Raw(QStringLiteral("Width"))).value_or(0);
    return (v != 0 && v <= screen.width()) ? v : screen.height();
}

int Settings::Height(QSize screen) const
{
    const int v = WholeNumber(Raw(QStringLiteral("Height"))).value_or(0);
    // The default rounds halves to even, as the default floating-point mode does.
    return (v != 0 && v <= screen.height()) ? v : int(std::nearbyint(screen.width() / 2.3));
}

bool Settings::Maximized() const { return Raw(QStringLiteral("WindowState")) != QLatin1String("Normal"); }

bool Settings::SetPosition(int left, int top)
{
    SettingsSection();
    bool ok = SetRaw(QStringLiteral("Left"), QString::number(left));
    return SetRaw(QStringLiteral("Top"), QString::number(top)) && ok;
}

bool Settings::SetSize(int width, int height)
{
    bool ok = SetRaw(QStringLiteral("Width"), QString::number(width));
    return SetRaw(QStringLiteral("Height"), QString::number(height)) && ok;
}

bool Settings::SetMaximized(bool maximized)
{
    return SetOnOff(QStringLiteral("WindowState"), maximized, "Maximized", "Normal");
}

bool Settings::SubdomainScope() const { return Raw(QStringLiteral("Domain")) == QLatin1String("Subdomain"); }
bool Settings::SetSubdomainScope(bool subdomain)
{
    return SetOnOff(QStringLiteral("Domain"), subdomain, "Subdomain", "Full");
}

QString Settings::StartUrl() const { return NonEmptyOr(QStringLiteral("StartURL"), DefaultStartUrl()); }
bool Settings::SetStartUrl(const QString& url) { return SetRaw(QStringLiteral("StartURL"), url); }

bool Settings::ShowOptions() const { return Raw(QStringLiteral("ShowOptions")) == QLatin1String("1"); }
bool Settings::SetShowOptions(bool show) { return SetOnOff(QStringLiteral("ShowOptions"), show, "1", "0"); }

bool Settings::RemoveAnchors() const { return Raw(QStringLiteral("RemoveAnchors")) != QLatin1String("0"); }
bool Settings::SetRemoveAnchors(bool on) { return SetOnOff(QStringLiteral("RemoveAnchors"), on, "1", "0"); }

bool Settings::RemoveQueryString() const
{
    return Raw(QStringLiteral("RemoveQueryString")) == QLatin1String("1");
}
bool Settings::SetRemoveQueryString(bool on)
{
    return SetOnOff(QStringLiteral("RemoveQueryString"), on, "1", "0");
}

QString Settings::ConnectionTimeout() const { return NonEmptyOr(QStringLiteral("ConnectionTimeout"), QStringLiteral("10000")); }
bool Settings::SetConnectionTimeout(const QString& ms) { return SetRaw(QStringLiteral("ConnectionTimeout"), ms); }
QString Settings::ResponseTimeout() const { return NonEmptyOr(QStringLiteral("ResponseTimeout"), QStringLiteral("10000")); }
bool Settings::SetResponseTimeout(const QString& ms) { return SetRaw(QStringLiteral("ResponseTimeout"), ms); }

QString Settings::Agent() const { return NonEmptyOr(QStringLiteral("Agent"), DefaultAgent()); }
bool Settings::SetAgent(const QString& agent) { return SetRaw(QStringLiteral("Agent"), agent); }

QString Settings::IgnoreExtensions() const
{
    return NonEmptyOr(QStringLiteral("IgnoreExtensions"), DefaultIgnoreExtensions());
}
bool Settings::SetIgnoreExtensions(const QString& extensions)
{
    return SetRaw(QStringLiteral("IgnoreExtensions"), extensions);
}

QString Settings::IgnoreUrls() const
{
    const QString v = Raw(QStringLiteral("IgnoreURLs"));
    if (v.isEmpty())
        return DefaultIgnoreUrls();
    return QString(v).replace(kLineBreakToken, QStringLiteral("\r\n"));
}

bool Settings::SetIgnoreUrls(const QString& boxText)
{
    // The box's lines, each line break written as the six characters "#13#10".
    QString joined = JoinLines(SplitLines(boxText));
    if (!boxText.endsWith(QLatin1Char('\n')) && !boxText.endsWith(QLatin1Char('\r')))
        joined.chop(2);
    return SetRaw(QStringLiteral("IgnoreURLs"), joined.replace(QStringLiteral("\r\n"), kLineBreakToken));
}

int Settings::PageLimit() const
{
    if (!Has(QStringLiteral("PageLimit")))
        return 50;
    const int v = WholeNumber(Raw(QStringLiteral("PageLimit"))).value_or(100);
    return std::clamp(v, 1, 999999999);
}

bool Settings::SetPageLimit(int limit) { return SetRaw(QStringLiteral("PageLimit"), QString::number(limit)); }

// A whole number brought into 1 to 16; anything else gives the default.
int Settings::Connections() const
{
    bool ok = false;
    const int v = Raw(QStringLiteral("Connections")).toInt(&ok);
    return ok ? std::clamp(v, 1, kMaxConnections) : kDefaultConnections;
}

bool Settings::SetConnections(int connections)
{
    return SetRaw(QStringLiteral("Connections"), QString::number(connections));
}

bool Settings::MemoryDatabase() const
{
    return Raw(QStringLiteral("DefaultDatabaseLocation")) == QLatin1String("Memory");
}
bool Settings::SetMemoryDatabase(bool memory)
{
    return SetOnOff(QStringLiteral("DefaultDatabaseLocation"), memory, "Memory", "File");
}

bool Settings::DisplayUnfinishedResults() const
{
    return Raw(QStringLiteral("DisplayUnfinishedResults")) != QLatin1String("OFF");
}
bool Settings::SetDisplayUnfinishedResults(bool on)
{
    return SetOnOff(QStringLiteral("DisplayUnfinishedResults"), on, "ON", "OFF");
}

bool Settings::StripHtmlMarkup() const { return Raw(QStringLiteral("StripHtmlMarkup")) != QLatin1String("OFF"); }
bool Settings::SetStripHtmlMarkup(bool on) { return SetOnOff(QStringLiteral("StripHtmlMarkup"), on, "ON", "OFF"); }

QString Settings::DictionaryLanguage() const
{
    return NonEmptyOr(QStringLiteral("DictionaryLanguage"), DefaultDictionaryLanguage());
}
bool Settings::SetDictionaryLanguage(const QString& name) { return SetRaw(QStringLiteral("DictionaryLanguage"), name); }

TextMode Settings::Text() const { return TextModeFromName(Raw(QStringLiteral("TextMode"))); }
bool Settings::SetText(TextMode mode) { return SetRaw(QStringLiteral("TextMode"), TextModeName(mode)); }

bool Settings::Insecure() const { return Raw(QStringLiteral("Insecure")) == QLatin1String("ON"); }
bool Settings::CheckAltAndTitle() const { return Raw(QStringLiteral("CheckAltAndTitle")) == QLatin1String("ON"); }
bool Settings::SetCheckAltAndTitle(bool on)
{
    return SetOnOff(QStringLiteral("CheckAltAndTitle"), on, "ON", "OFF");
}

bool Settings::Robots() const { return Raw(QStringLiteral("Robots")) == QLatin1String("ON"); }
bool Settings::SetRobots(bool on) { return SetOnOff(QStringLiteral("Robots"), on, "ON", "OFF"); }
bool Settings::Sitemaps() const { return Raw(QStringLiteral("Sitemaps")) == QLatin1String("ON"); }
bool Settings::SetSitemaps(bool on) { return SetOnOff(QStringLiteral("Sitemaps"), on, "ON", "OFF"); }
bool Settings::Documents() const { return Raw(QStringLiteral("Documents")) == QLatin1String("ON"); }
bool Settings::SetDocuments(bool on) { return SetOnOff(QStringLiteral("Documents"), on, "ON", "OFF"); }
bool Settings::SetInsecure(bool on)
{
    return SetOnOff(QStringLiteral("Insecure"), on, "ON", "OFF");
}

bool Settings::Render() const { return Raw(QStringLiteral("Render")) == QLatin1String("ON"); }
bool Settings::SetRender(bool on)
{
    return SetOnOff(QStringLiteral("Render"), on, "ON", "OFF");
}

QStringList Settings::RenderAllowedHosts() const
{
    return Raw(QStringLiteral("RenderAllowHosts")).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

int Settings::RenderTimeoutMs() const
{
    bool ok = false;
    const int ms = Raw(QStringLiteral("RenderTimeout")).toInt(&ok);
    return ok && ms > 0 ? ms : 0;
}

}  // namespace lexicrawl
