// Loads an arbitrary language file (and language codes file) and checks the
// lookup against a plain scan of the lines: the first line that starts with
// "{key}" gives the translation, an empty one leaves the English text.
//
// Input: the language file; after a NUL byte, the language codes file.
#include "app/core/language.h"
#include "fuzz_input.h"
#include "platform/text.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace lexicrawl;

namespace {

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QString ScanTranslation(const QStringList& lines, const QString& key)
{
    const QString head = QLatin1Char('{') + key + QLatin1Char('}');
    for (const QString& line : lines) {
        if (line.startsWith(head)) {
            const QString found = line.mid(line.indexOf(u'}') + 1);
            return found.isEmpty() ? key : found;
        }
    }
    return key;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/language-fuzz-XXXXXX"));
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype nul = input.indexOf('\0');
    const QByteArray languageFile = nul < 0 ? input : input.left(nul);
    const QByteArray codesFile = nul < 0 ? QByteArray() : input.mid(nul + 1);
    WriteFile(folder.filePath(QStringLiteral("Fuzz.lang.txt")), languageFile);
    if (nul >= 0)
        WriteFile(folder.filePath(QStringLiteral("LanguageCodes.csv")), codesFile);
    else
        QFile::remove(folder.filePath(QStringLiteral("LanguageCodes.csv")));

    Language language;
    language.Load(folder.path(), nul < 0 ? QStringLiteral("Fuzz.lang.txt") : QString(), 1031);
    const QStringList lines = language.Lines();
    QStringList keys = {QStringLiteral("Start"), QStringLiteral("Total URLs: %s"), QString(), QStringLiteral("}")};
    for (const QString& line : lines) {
        if (line.startsWith(u'{') && keys.size() < 64) {
            const qsizetype close = line.indexOf(u'}');
            keys << (close < 0 ? line.mid(1) : line.mid(1, close - 1)) << line.mid(1);
        }
    }
    for (const QString& key : keys) {
        FUZZ_CHECK(language.Translate(key) == ScanTranslation(lines, key));
        const QString credit = Language::CreditLookup(lines, key);
        FUZZ_CHECK(credit == key || lines.join(u'\n').contains(credit));
    }
    FUZZ_CHECK(language.LanguageName().isEmpty() == lines.isEmpty() || language.LanguageName() == u"Fuzz");
    return 0;
}
