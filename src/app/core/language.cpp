#include "app/core/language.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/core/settings.h"
#include "platform/text.h"

namespace lexicrawl {

namespace {

const QString kSuffix = QStringLiteral(".lang.txt");


// The file name in the folder as named; else a listed name equal to it but
// for letter case (the file systems the language files come from ignore case).
QString ResolveFile(const QString& folder, const QStringList& listed, const QString& wanted)
{
    if (wanted.isEmpty())
        return QString();
    if (QFileInfo(folder + wanted).isFile())
        return wanted;
    for (const QString& name : listed)
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return name;
    return QString();
}

QString CodesFileChoice(const QString& folder, int uiLanguageId)
{
    const QString wantedId = QString::number(uiLanguageId);
    for (const QString& line : Language::ReadLines(folder + QStringLiteral("LanguageCodes.csv"))) {
        const qsizetype comma = line.indexOf(QLatin1Char(','));
        if (comma < 0)
            continue;
        if (TrimCtl(line.left(comma)) == wantedId)
            return TrimCtl(line.mid(comma + 1));
    }
    return QString();
}

}  // namespace

QStringList Language::ReadLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return SplitLines(text);
}

void Language::Load(const QString& languagesFolder, const QString& languageFileSetting, int uiLanguageId)
{
    name_.clear();
    files_.clear();
    lines_.clear();
    first_.clear();
    const QString folder = WithTrailingSlash(languagesFolder);
    QDir dir(folder);
    if (!dir.exists())
        return;
    files_ = dir.entryList({QStringLiteral("*lang.txt")}, QDir::Files | QDir::Hidden, QDir::Name);

    QString chosen = TrimCtl(languageFileSetting).isEmpty() ? QString() : languageFileSetting;
    if (chosen.isEmpty() && QFileInfo::exists(folder + QStringLiteral("LanguageCodes.csv"))) {
        const QString wanted = CodesFileChoice(folder, uiLanguageId);
        for (const QString& name : files_)
            if (!wanted.isEmpty() && name.compare(wanted, Qt::CaseInsensitive) == 0) {
                chosen = name;
                break;
            }
    }
    chosen = ResolveFile(folder, files_, chosen);
    if (chosen.isEmpty())
        return;

    const qsizetype cut = chosen.indexOf(kSuffix);
    name_ = cut >= 0 ? chosen.left(cut) : chosen;
    lines_ = ReadLines(folder + chosen);
    // The first line of a key wins. A key without "}" can only match a line
    // whose first "}" closes it, so the hash answers exactly as a scan would.
    for (const QString& line : lines_) {
        if (!line.startsWith(QLatin1Char('{')))
            continue;
        const qsizetype close = line.indexOf(QLatin1Char('}'));
        if (close < 0)
            continue;
        const QString key = line.mid(1, close - 1);
        if (!first_.contains(key))
            first_.insert(key, line.mid(close + 1));
    }
}

QString Language::Translate(const QString& english) const
{
    QString found;
    if (!english.contains(QLatin1Char('}'))) {
        found = first_.value(english);
    } else {
        const QString head = QLatin1Char('{') + english + QLatin1Char('}');
        for (const QString& line : lines_)
            if (line.startsWith(head)) {
                found = line.mid(line.indexOf(QLatin1Char('}')) + 1);
                break;
            }
    }
    return found.isEmpty() ? english : found;
}

QString Language::CreditLookup(const QStringList& lines, const QString& key)
{
    const QString head = QLatin1Char('{') + key + QLatin1Char('}');
    for (const QString& line : lines)
        if (line.startsWith(head))
            return line.mid(line.indexOf(QLatin1Char('}')) + 1);
    return key;
}

bool SetLanguageFile(Settings& settings, const QString& fileName)
{
    return settings.SetLanguageFile(fileName);
}

}  // namespace lexicrawl
