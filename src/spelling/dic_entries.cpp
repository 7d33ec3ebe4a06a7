#include "spelling/dic_entries.h"

namespace lexicrawl {

namespace {

bool Blank(char c)
{
    return c == ' ' || c == '\t';
}

// Where the word and its flags end: before the blanks that precede the
// first "xx:" field, or before a tab, whichever comes first.
qsizetype EndOfWordAndFlags(const QByteArray& line)
{
    qsizetype end = line.size();
    for (qsizetype colon = line.indexOf(':'); colon >= 0; colon = line.indexOf(':', colon + 1)) {
        if (colon > 3 && Blank(line[colon - 3])) {
            qsizetype p = colon - 3;
            while (p > 0 && Blank(line[p - 1]))
                --p;
            end = p == 0 ? line.size() : p;
            break;
        }
    }
    const qsizetype tab = line.indexOf('\t');
    return tab >= 0 && tab < end ? tab : end;
}

}  // namespace

QList<QByteArray> DicLines(const QByteArray& words)
{
    QList<QByteArray> lines = words.split('\n');
    for (QByteArray& l : lines) {
        if (l.endsWith('\r'))
            l.chop(1);
    }
    return lines;
}

DicEntry DicEntryOfLine(const QByteArray& line)
{
    DicEntry e;
    const qsizetype end = EndOfWordAndFlags(line);
    qsizetype slash = line.indexOf('/', 1);
    while (slash >= 0 && slash < end && line[slash - 1] == '\\')
        slash = line.indexOf('/', slash + 1);
    e.wordEnd = slash >= 0 && slash < end ? slash : end;
    e.root = line.left(e.wordEnd);
    e.root.replace("\\/", "/");
    if (e.wordEnd < end)
        e.flags = line.mid(e.wordEnd + 1, end - e.wordEnd - 1);
    return e;
}

QList<DicEntry> DicEntries(const QByteArray& words)
{
    QList<DicEntry> entries;
    const QList<QByteArray> lines = DicLines(words);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        DicEntry e = DicEntryOfLine(lines[i]);
        e.line = i;
        if (!e.root.isEmpty())
            entries.append(std::move(e));
    }
    return entries;
}

}  // namespace lexicrawl
