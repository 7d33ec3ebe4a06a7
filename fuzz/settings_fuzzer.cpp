// Reads an arbitrary settings.ini, reads every key with its rules, changes
// one key and reads the rewritten file again: the key must come back as it
// was set, and every other key as it was read (a rewrite loses nothing).
//
// Input: the file's bytes; the last line of the decoded text is also the
// value that is set, on a key chosen by the first byte.
#include "app/core/settings.h"
#include "fuzz_input.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace lexicrawl;

namespace {

const QSize kScreen(1920, 1080);

QStringList AllValues(const Settings& s)
{
    return {s.LanguageFile(), QString::number(s.HasPosition()), QString::number(s.Left()), QString::number(s.Top()),
            QString::number(s.Width(kScreen)), QString::number(s.Height(kScreen)), QString::number(s.Maximized()),
            QString::number(s.SubdomainScope()), s.StartUrl(), QString::number(s.ShowOptions()),
            QString::number(s.RemoveAnchors()), QString::number(s.RemoveQueryString()), s.ConnectionTimeout(),
            s.ResponseTimeout(), s.Agent(), s.IgnoreExtensions(), s.IgnoreUrls(), QString::number(s.PageLimit()),
            QString::number(s.MemoryDatabase()), QString::number(s.DisplayUnfinishedResults()),
            QString::number(s.StripHtmlMarkup()), s.DictionaryLanguage()};
}

const char* const kKeys[] = {"StartURL", "Agent", "IgnoreExtensions", "DictionaryLanguage", "LanguageFile"};
// The position of each key's getter in AllValues.
const int kGetter[] = {8, 14, 15, 21, 0};

// Values that a line of the file can hold: valid UTF-16 (the file is UTF-8).
bool Storable(const QString& value)
{
    return value.isValidUtf16();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/settings-fuzz-XXXXXX"));
    const QString path = folder.filePath(QStringLiteral("settings.ini"));
    QFile::remove(path);
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 0;
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    Settings first(folder.path());
    const QStringList before = AllValues(first);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    // A value holding a line break is written as it is and read back as
    // several lines, so that it can set other keys (reported; the window's
    // boxes hold one line). The value set here has no line break.
    QString value = text.mid(text.lastIndexOf(u'\n') + 1);
    value.remove(u'\r');
    const int key = size > 0 ? data[0] % 5 : 0;
    if (!first.SetRaw(QString::fromLatin1(kKeys[key]), value))
        return 0;

    Settings second(folder.path());
    const QStringList after = AllValues(second);
    FUZZ_CHECK(after.size() == before.size());
    for (qsizetype i = 0; i < after.size(); ++i) {
        if (i != kGetter[key])
            FUZZ_CHECK(after[i] == before[i]);
    }
    if (Storable(value))
        FUZZ_CHECK(second.Raw(QString::fromLatin1(kKeys[key])) == value);
    return 0;
}
